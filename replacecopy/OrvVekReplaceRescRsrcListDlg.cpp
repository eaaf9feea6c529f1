#include "OrvVekReplaceRescRsrcListDlg.h"

#include "TavActivityLib.h"
#include "TavServices.h"

OrvVekReplaceRescRsrcListDlg::OrvVekReplaceRescRsrcListDlg(TavDlgWidget* father, std::vector<Ref<TavIProduct>> resources,
                                                           std::function<void(const Ref<TavIProduct>&)> chosen)
    : TavDlgDialog(father, "OrvVekReplaceRescRsrcListDlg", 0, kCatalog), resources_(std::move(resources)), chosen_(std::move(chosen)) {
  SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "CompatibleResources", {}, "Compatible Resources"));
}

OrvVekReplaceRescRsrcListDlg::~OrvVekReplaceRescRsrcListDlg() = default;

void OrvVekReplaceRescRsrcListDlg::Build() {
  list_ = Add<TavDlgSelectorList>("ResourceList");
  for (const auto& r : resources_) list_->SetLine(r->GetName());
  AddAnalyseNotificationCB(list_, TavDlgNotification::Activate, [this] { OnActivate(); });
  auto* close = Add<TavDlgPushButton>("Close");
  close->SetTitle(TavMsgCatalog::BuildMessage(kCatalog, "Close.Title", {}, "Close"));
  AddAnalyseNotificationCB(close, TavDlgNotification::Activate, [this] { SetVisibility(false); });
}

void OrvVekReplaceRescRsrcListDlg::OnActivate() {
  auto sel = list_->GetSelect();
  if (sel.empty() || sel.front() >= static_cast<int>(resources_.size())) return;
  // The callback may close this dialog: keep what it needs.
  auto chosen = chosen_;
  auto resource = resources_[static_cast<std::size_t>(sel.front())];
  chosen(resource);
}

std::vector<Ref<TavIProduct>> OrvVekReplaceRescRsrcListDlg::CompatibleResources(const Ref<TavDocument>& doc,
                                                                              const TavUnicodeString& planType) {
  std::vector<Ref<TavIProduct>> out;
  auto list = doc ? query<TavIPPRResourceList>(doc->GetRootContainer(TavIPPRResourceList::kInterfaceName)) : nullptr;
  if (!list || planType.IsEmpty()) return out;
  auto matches = [&](const Ref<TavIProduct>& r) {
    auto object = query<OrvIMHIPlanTypeObject>(r);
    auto type = object ? object->GetPlanType() : nullptr;
    if (type && type->GetName() == planType) out.push_back(r);
  };
  for (const auto& root : list->GetRoots()) {
    matches(root);
    for (const auto& r : root->GetAllDescendants()) matches(r);
  }
  return out;
}
