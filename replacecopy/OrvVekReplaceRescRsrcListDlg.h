#pragma once
// The resources that may replace the first one (in the hub: those of its plan type;
// from a file: the file's resources); activating a line chooses it.
#include <functional>

#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekReplaceRescRsrcListDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekReplaceRescRsrcListDlg";
  OrvVekReplaceRescRsrcListDlg(TavDlgWidget* father, std::vector<Ref<TavIProduct>> resources,
                               std::function<void(const Ref<TavIProduct>&)> chosen);
  ~OrvVekReplaceRescRsrcListDlg() override;
  void Build() override;
  const std::vector<Ref<TavIProduct>>& Resources() const { return resources_; }
  TavDlgSelectorList* List() const { return list_; }

  // The resources of the document whose plan type is the given one, in tree order.
  static std::vector<Ref<TavIProduct>> CompatibleResources(const Ref<TavDocument>& doc, const TavUnicodeString& planType);

private:
  void OnActivate();
  std::vector<Ref<TavIProduct>> resources_;
  std::function<void(const Ref<TavIProduct>&)> chosen_;
  TavDlgSelectorList* list_ = nullptr;
};
