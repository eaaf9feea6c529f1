#pragma once
// The standard replacement dialog: the activities that use the first resource, the
// ones chosen for the replacement, and where the second resource comes from (a pick
// in the tree, its name, a plant file, a catalogue file, or in the hub the resources
// of the first one's plan type).
#include <functional>
#include <memory>

#include "OrvGenericReplaceRsrcDlg.h"
#include "OrvVekReplaceRescRsrcListDlg.h"
#include "TavServices.h"

class OrvVekReplaceRescDlg : public OrvGenericReplaceRsrcDlg {
public:
  static constexpr const char* kCatalog = "OrvVekReplaceRescDlg";
  static constexpr const char* kErrorCatalog = "err";
  // Whether a product may replace the first resource; false with the reason's key.
  using SecondCheck = std::function<bool(const Ref<TavIProduct>& candidate)>;

  OrvVekReplaceRescDlg(TavDlgWidget* father, bool hub, SecondCheck check);
  ~OrvVekReplaceRescDlg() override;
  void Build() override;

  void SetFirstResource(const Ref<TavIProduct>& first) override;
  void SetSecondResource(const Ref<TavIProduct>& second) override;
  void GetSecondResource(Ref<TavIProduct>& second, unsigned char& fromOutside) override;
  void GetActivitiesForReplacement(std::vector<Ref<TavISPPActivity>>*& activities, unsigned char& removeContext) override;

  // The activities whose resources or "Item" items hold the resource, depth first from the root.
  static std::vector<Ref<TavISPPActivity>> GetAsscActivities(const Ref<TavBaseUnknown>& resource);

  bool IsReplaceInAll() const { return replaceInAll_; }
  bool IsRemoveContext() const { return removeContext_; }
  TavDlgSelectorList* Available() const { return available_; }
  TavDlgSelectorList* Considered() const { return considered_; }
  TavDlgEditor* WithEditor() const { return with_; }
  OrvVekReplaceRescRsrcListDlg* CompatibleList() const { return list_.get(); }

private:
  void OnReplaceInAll();
  void OnRemoveContext();
  void OnListSelect(TavDlgSelectorList* from, TavDlgSelectorList* other, TavDlgPushButton* button);
  void Move(TavDlgSelectorList* from, TavDlgSelectorList* to, TavDlgPushButton* button);
  void OnWithModified();
  void OnBrowseFile(bool catalogue);
  void OnFileChosen();
  void CloseFileBox();
  void OnHub();
  void OfferList(std::vector<Ref<TavIProduct>> resources, bool fromOutside);
  void OnListActivated();
  void TakeSecond(const Ref<TavIProduct>& second, bool fromOutside);
  void RefuseSecond(const char* key, const char* fallback, const TavUnicodeString& detail = {});
  void UpdateOK();
  void Highlight(const TavDlgSelectorList* list);
  void ClearHighlight();

  bool hub_;
  SecondCheck check_;
  Ref<TavIProduct> first_, second_;
  std::vector<Ref<TavISPPActivity>> users_;  // the activities the lists were filled from
  bool fromOutside_ = false, replaceInAll_ = false, removeContext_ = false, settingWith_ = false;

  TavDlgCheckButton *replaceAll_ = nullptr, *removeCtx_ = nullptr;
  TavDlgFrame* assignment_ = nullptr;
  TavDlgSelectorList *available_ = nullptr, *considered_ = nullptr;
  TavDlgPushButton *right_ = nullptr, *left_ = nullptr, *hubButton_ = nullptr, *fileButton_ = nullptr,
                   *catalogButton_ = nullptr;
  TavDlgEditor *resourceEdt_ = nullptr, *with_ = nullptr;
  std::unique_ptr<TavDlgFile> fileBox_, closedBox_;
  bool catalogueBox_ = false;
  std::unique_ptr<OrvVekReplaceRescRsrcListDlg> list_;
  std::vector<TavPathElement> highlighted_;
};
