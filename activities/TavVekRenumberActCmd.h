#pragma once
// Gives every physical activity of the process a hierarchical number:
// the n-th physical child of an activity numbered ".2" becomes "<base>.2.n".
#include <memory>

#include "TavCommand.h"

class TavVekRenumberActCmd : public TavStateCommand {
public:
  TavVekRenumberActCmd();
  void BuildGraph() override;
  bool Cancel() override;

  // Strips every label, then numbers from the root process.
  static void SetUniqueLabel();
  // Removes everything from the first "." unless the label has none or looks like a web address.
  static void LabelWithoutNumber(TavUnicodeString& label);
  // False for labels containing "http", "www." or ".com" (case-sensitive).
  static bool IsLabelChangable(const TavUnicodeString& label);
  // Numbers the physical children of the activity, depth first.
  static void RenameAct(const Ref<TavISPPActivity>& activity);
};

std::unique_ptr<TavStateCommand> fctCreateTavVekRenumberActCmd();
