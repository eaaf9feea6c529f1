#pragma once
// Replaces one part by another throughout the process: every activity (the root
// process too) that consumes or outputs the first part consumes or outputs the
// second instead, each relation keeping its type and attributes. Pick the old part,
// then the new one, and confirm.
#include <memory>
#include <vector>

#include "TavCommand.h"
#include "WexReplacePartsDlg.h"

class WexReplacePartsCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "WexReplacePartsCmd";

  WexReplacePartsCmd();
  ~WexReplacePartsCmd() override;
  void BuildGraph() override;

  // The picks: the old part, the new part; OK replaces, Cancel leaves.
  virtual bool ActionOne();
  virtual bool ActionTwo();
  virtual bool ReplaceParts();
  virtual bool CancelReplaceParts();
  bool IsValidProduct(TavAcquisitionAgent* agent);
  // The picked part: the product nearest the leaf of the pick path.
  static Ref<TavIProduct> DetermineProduct(const TavPathElement& path);

  // The pick test without a pick (batch): false with the reason when the object
  // cannot be the old part, or (second) the new part replacing `oldPart`.
  static bool Accepts(const Ref<TavBaseUnknown>& candidate, const Ref<TavIProduct>& oldPart, TavUnicodeString* why = nullptr);

  // One relation moved from the old part to the new one.
  struct Change {
    Ref<TavISPPActivity> activity;
    TavUnicodeString relation;  // its type
    bool merged = false;        // the activity held the new part so already: the old relation went
  };
  // The replacement itself, over every activity and the root process; the changes
  // in activity order. E_FAIL, nothing changed, when a part is missing or no item.
  static HRESULT Replace(const Ref<TavIProduct>& oldPart, const Ref<TavIProduct>& newPart, std::vector<Change>* changes);

  // State the tests look at.
  WexReplacePartsDlg* Dialog() const { return dialog_.get(); }
  const Ref<TavIProduct>& OldPart() const { return old_; }
  const Ref<TavIProduct>& NewPart() const { return new_; }

private:
  std::unique_ptr<TavPathElementAgent> oneAgent_, twoAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<WexReplacePartsDlg> dialog_;
  Ref<TavIProduct> old_, new_;
};

std::unique_ptr<TavStateCommand> fctCreateWexReplacePartsCmd();
