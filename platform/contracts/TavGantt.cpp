#include "TavGantt.h"

namespace {
TavFrmLayoutWindows* g_windows = nullptr;
}  // namespace

TavFrmLayoutWindows* TavFrmLayoutWindows::Get() { return g_windows; }
void TavFrmLayoutWindows::Install(TavFrmLayoutWindows* windows) { g_windows = windows; }

std::unique_ptr<OrvIVEKGanttSettingAtt> OrvIVEKGanttSettingAtt::Instantiate(const std::string& name) {
  if (name != kControllerName) return nullptr;
  return std::unique_ptr<OrvIVEKGanttSettingAtt>(new OrvIVEKGanttSettingAtt(TavSettingRepository::GetRepository(name)));
}

HRESULT OrvIVEKGanttSettingAtt::GetColumnVisibility(TavUnicodeString& value) const {
  value = repo_.ReadString(kColumnVisibilityKey, {});
  return S_OK;
}

HRESULT OrvIVEKGanttSettingAtt::SetColumnVisibility(const TavUnicodeString& value) {
  repo_.Write(kColumnVisibilityKey, value);
  return S_OK;
}

HRESULT OrvIVEKGanttSettingAtt::Save(std::string* error) { return repo_.Save(error) ? S_OK : E_FAIL; }

void TavDeclareGanttInterfaces() {
  TavInterfaceNames::Declare<TavFrmWindow>();
  TavInterfaceNames::Declare<OrvIGanttTableDataAccessor>();
  TavInterfaceNames::Declare<OrvIGanttAddRemoveColumn>();
  TavInterfaceNames::Declare<OrvISearchUtility>();
  TavInterfaceNames::Declare<OrvGanttChartWindow>();
  TavInterfaceNames::Declare<TavIActivityTypeAttributes>();
  TavInterfaceNames::Declare<TavICkeParm>();
  TavInterfaceNames::Declare<TavIPrdProperties>();
}
