#include "OrvEInsertActivityDlgServices.h"

#include "TavOrvAddActivityCmd.h"

HRESULT OrvEInsertActivityDlgServices::GetInsertActivityIdentifier(TavUnicodeString& identifier) {
  identifier = identifier_;
  return S_OK;
}
HRESULT OrvEInsertActivityDlgServices::SetInsertActivityIdentifier(TavUnicodeString& identifier) {
  identifier_ = identifier;
  return S_OK;
}
HRESULT OrvEInsertActivityDlgServices::SetFlagForInsertAcitivityOnOK(bool flag) {
  createOnOK_ = flag;
  return S_OK;
}
HRESULT OrvEInsertActivityDlgServices::SetFlagForAddSuccessorActivityOption(bool flag) {
  showSuccessor_ = flag;
  return S_OK;
}
HRESULT OrvEInsertActivityDlgServices::SetFlagForQuickAssignmentOption(bool flag) {
  showQuick_ = flag;
  return S_OK;
}
HRESULT OrvEInsertActivityDlgServices::StartInsertActivityCmdInShareMode() {
  TavOrvAddActivityCmd::SetStartMode(TavOrvAddActivityCmd::kSharedMode);
  return S_OK;
}
HRESULT OrvEInsertActivityDlgServices::ResetSharedStartModeOfInsertActivityCmd() {
  TavOrvAddActivityCmd::SetStartMode(0);
  return S_OK;
}

namespace {
// The command's client: one object for the run, whose data extension is made once
// and kept, so what one command sets the next one reads.
class InsertActivityClient final : public TavBaseUnknown {
public:
  std::string LateType() const override { return "TavOrvAddActivityCmdClient"; }
  Ref<OrvEInsertActivityDlgServices> data = std::make_shared<OrvEInsertActivityDlgServices>();
};
}  // namespace

Ref<TavBaseUnknown> OrvInsertActivityClient() {
  static Ref<InsertActivityClient> client = std::make_shared<InsertActivityClient>();
  return client;
}

void RegisterInsertActivityDlgServices() {
  TavExtensionRegistry::Get().Register("TavOrvAddActivityCmdClient", OrvIInsertActivityDlgServices::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                         auto c = std::dynamic_pointer_cast<InsertActivityClient>(o);
                                         return c ? c->data : nullptr;
                                       });
}
