#include "OrvMfgKitCmd.h"

#include "OrvVekMfgAssyUtilities.h"
#include "TavStates.h"

namespace {
using Utils = OrvVekMfgAssyUtilities;
}  // namespace

std::unique_ptr<TavStateCommand> fctCreateOrvMfgKitCmd() { return std::make_unique<OrvMfgKitCmd>(); }

std::vector<TavUnicodeString> OrvMfgKitCmd::KitPlanTypes() {
  std::vector<TavUnicodeString> types;
  auto services = OrvIPLMTypeServices::OfSession();
  Ref<OrvIMHIPTSInfo> info;
  if (!services || FAILED(services->GetPTSInfo(info)) || !info) return types;
  if (FAILED(info->GetSubTypes(kPlanTypeName, types))) types.clear();
  return types;
}

std::string OrvMfgKitCmd::DialogMode() {
  planTypes_ = KitPlanTypes();
  return planTypes_.empty() ? OrvMfgAssyDialog::kKitMode : OrvMfgAssyDialog::kKitPlanTypesMode;
}

void OrvMfgKitCmd::RefreshLists() {
  // The combo is filled once, before an edited kit's plan type is selected in it.
  if (dialog_->PlanTypeCombo() && dialog_->PlanTypeCombo()->GetLineCount() == 0) dialog_->SetPlanTypeList(planTypes_);
  OrvMfgAssyCmd::RefreshLists();
  dialog_->SetPartTypeList(content_.Types());
}

bool OrvMfgKitCmd::AcceptProduct(const Ref<TavIProduct>& product, TavUnicodeString& why) {
  // The root of the resource tree holds every resource; it is no content.
  if (Utils::IsResourceTreeRoot(product)) {
    why = Msg("OrvMfgAssyCmd.ResourceRootRefused", "The resource root cannot be part of a kit.");
    return false;
  }
  bool wsc = false;
  auto attributes = query<TavISpecAttrAccess>(product);
  if (attributes && SUCCEEDED(attributes->GetBooleanAttribute("YorWSC", wsc))) {
    why = Msg("OrvMfgAssyCmd.WSCRefused", "A WSC product cannot be part of a kit.");
    return false;
  }
  return true;
}

bool OrvMfgKitCmd::AcceptAssembly(const Ref<OrvIMfgAssembly>& ma, TavUnicodeString& why) {
  if (!current_) return true;
  // Neither the kit, nor what it holds, nor what holds it (a cycle).
  if (Utils::Reaches(current_, ma) || Utils::Reaches(ma, current_)) {
    why = Msg("OrvMfgAssyCmd.KitCycleRefused", "/P1 cannot be put into /P2: it is, holds or is held by /P2.",
              {ma->GetName(), current_->GetName()});
    return false;
  }
  return true;
}

TavUnicodeString OrvMfgKitCmd::TypeTextOf(const Ref<TavBaseUnknown>& object) { return Utils::GetKitTypeText(object); }

void OrvMfgKitCmd::SetValues(const Ref<OrvIMfgAssembly>& ma, const TavUnicodeString& name) {
  if (ma->GetTypeText() != "ManufacturingKit") ma->SetTypeText("ManufacturingKit");
  OrvMfgAssyCmd::SetValues(ma, name);
  // An edited kit whose plan type the session does not offer (or that has no
  // catalogue) keeps it: nothing was chosen, so nothing is taken away.
  const TavUnicodeString planType = dialog_->GetHxPlanType();
  if (planType.IsEmpty() && edit_) return;
  if (ma->GetPlanType() != planType) ma->SetPlanType(planType);
}
