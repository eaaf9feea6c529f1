#pragma once
// The compare tool: the user picks the original root, then the modified root of the
// same kind (possibly in another open plant); when the engine finds them
// comparable, the filter dialog asks what to compare, and the results dialog shows
// the outcome until it is closed.
#include <memory>

#include "OrvVekCompareDlgBase.h"
#include "OrvVekComparePPRFilterDlg.h"
#include "TavCommand.h"

class OrvProcessCompareToolCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvProcessCompareToolCmd";
  enum Kind { IsProduct, IsMA, IsResource, IsActivity, IsFastener, IsWrong };

  OrvProcessCompareToolCmd();
  ~OrvProcessCompareToolCmd() override;
  void BuildGraph() override;
  bool Cancel() override;

  // The kind of an object: a manufactured assembly before a product, a product or
  // resource by the list it lives in.
  static Kind KindOf(const Ref<TavBaseUnknown>& o);
  // The kind of the first pick, remembered.
  Kind CheckKindOfObject();
  static int ObjectTypeOf(Kind k);
  bool IsValidFirstProduct(const Ref<TavBaseUnknown>& o) const;
  bool IsValidFirstResource(const Ref<TavBaseUnknown>& o) const;
  // The second pick must be of the first pick's kind.
  bool IsValidObject(TavAcquisitionAgent* agent);
  bool InitializeWrong();
  // Creates the engine, sets the mode, kind and lists, and asks it; 0: comparable.
  int CheckProcessComparability();
  bool SetProcessFilterDlg();
  bool CompareProcesses();
  void ShowError(int error);

  OrvVekCompareDlgBase* Engine() const { return engine_.get(); }
  OrvVekComparePPRFilterDlg* FilterDialog() const { return filter_.get(); }
  Kind FirstKind() const { return kind_; }

private:
  bool TakeFirst();
  bool TakeSecond();
  std::unique_ptr<TavPathElementAgent> first_;
  std::unique_ptr<TavOtherDocumentAgent> second_;
  std::unique_ptr<TavDialogAgent> filterOK_, filterCancel_, resultsClosed_;
  std::unique_ptr<OrvVekComparePPRFilterDlg> filter_;
  std::unique_ptr<OrvVekCompareDlgBase> engine_;
  Ref<TavBaseUnknown> firstObject_, secondObject_;
  Ref<TavDocument> firstDoc_, secondDoc_;
  Kind kind_ = IsWrong;
  int comparability_ = -1;
};

std::unique_ptr<TavStateCommand> fctCreateOrvProcessCompareToolCmd();
