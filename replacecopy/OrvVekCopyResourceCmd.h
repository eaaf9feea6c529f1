#pragma once
// Copies a resource below a chosen parent resource under a new name: pick the
// resource, pick the parent, confirm the proposed name.
#include <memory>

#include "OrvVekCopyResourceDlg.h"
#include "TavCommand.h"
#include "TavCopy.h"

class OrvVekCopyResourceCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekCopyResourceCmd";

  OrvVekCopyResourceCmd();
  ~OrvVekCopyResourceCmd() override;
  void BuildGraph() override;

  // which: 1 the resource to copy, 2 the parent.
  bool FilterResource(TavAcquisitionAgent* agent, int which);
  bool SetResourceName();
  bool SetParent();
  bool ShowDialog();
  bool HideDialog();
  bool CreateResources();
  bool CancelDlg();
  bool Cancel() override;
  void ShowErrorDlg();

  // Batch jobs: the picks' tests and the copy without picks. False with the reason.
  bool AcceptsResource(const TavPathElement& path, TavUnicodeString* why = nullptr);
  bool AcceptsParent(const TavPathElement& path, TavUnicodeString* why = nullptr);
  bool CopyInBatch(const TavPathElement& resource, const TavPathElement& parent, const TavUnicodeString& name,
                   TavUnicodeString* why);

  OrvVekCopyResourceDlg* Dialog() const { return dialog_.get(); }
  const Ref<TavIProduct>& Copy() const { return copy_; }

private:
  std::unique_ptr<TavPathElementAgent> resourceAgent_, parentAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvVekCopyResourceDlg> dialog_;
  Ref<TavIProduct> resource_, parent_, copy_;
  TavUnicodeString resourceType_, planType_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekCopyResourceCmd();
