#pragma once
// The findings of the activities-of-product command: consuming activities,
// unconsumed parts and engineering-requirement states on three tab pages, the
// highlight check box and the XML export.
#include <memory>

#include "OrvVekEIConsumption.h"
#include "OrvVekExpPartConsResulttoXMLDlg.h"
#include "OrvVekGenPartConsumptionXML.h"

class OrvVekListActAssOfProdDlg : public TavDlgDialog, public OrvIPartConsumptionEIInfo {
public:
  static constexpr const char* kCatalog = "OrvVekListActAssOfProdDlg";
  static constexpr int kStyle = 0x10000000;
  static constexpr int kWarningStyle = 0x8100200;

  // Created hidden; `father` is the command's (null: the main window).
  explicit OrvVekListActAssOfProdDlg(bool hub, TavDlgWidget* father = nullptr);
  ~OrvVekListActAssOfProdDlg() override;

  void Build() override;
  // Keeps copies and refills the three lists (rows numbered from 1). `states`
  // and `products` pair by position.
  void InitDisplay(const OrvPartConsumptionRecords& results, const std::vector<Ref<TavBaseUnknown>>& unassigned,
                   const std::vector<TavUnicodeString>& states, const std::vector<Ref<TavBaseUnknown>>& products);
  void AddRowAssocActList(int row, const Ref<OrvPartConsumptionAnalysisResult>& record);
  void AddRowUnassignList(int row, const Ref<TavBaseUnknown>& product);
  void AddRowEIConsumptionList(int row, const Ref<TavBaseUnknown>& product, const TavUnicodeString& state);

  int GetEIInfoListSize() const override;
  HRESULT GetEIInfo(int index, int& number, TavUnicodeString& productName, TavUnicodeString& consumptionState) const override;

  void OnExport();
  void OnXmlDlgOk();
  void OnXmlDlgCancel();
  HRESULT CreateXMLFile(const TavUnicodeString& path);
  // Centres the activity of the selected record row in the process tree; warns
  // when it is not loaded.
  void OnDoubleClick();
  static void ShowWarning(TavDlgWidget* parent, const std::string& messageKey, const std::string& titleKey,
                          const TavUnicodeString& extraText, int style);
  bool GetHiLightUnasignedCheck() const;

  bool IsHub() const { return hub_; }
  int GetEffectivityMode() const { return effectivityMode_; }
  bool HasChildColumns() const { return childColumns_; }
  TavDlgCheckButton* HighlightCheck() const { return highlight_; }
  TavDlgMultiList* AssocActList() const { return assocList_; }
  TavDlgMultiList* UnassignedList() const { return unassignedList_; }
  TavDlgMultiList* EIList() const { return eiList_; }
  OrvVekExpPartConsResulttoXMLDlg* ExportDialog() const { return export_.get(); }
  const OrvPartConsumptionRecords& Records() const { return results_; }
  const std::vector<OrvVekEIState>& EIRows() const { return eiRows_.Rows(); }

private:
  TavUnicodeString Text(const char* key, const char* fallback) const;

  bool hub_;
  bool childColumns_ = false;
  int effectivityMode_ = 0;
  TavDlgTabContainer* tabs_ = nullptr;
  TavDlgMultiList *assocList_ = nullptr, *unassignedList_ = nullptr, *eiList_ = nullptr;
  TavDlgCheckButton* highlight_ = nullptr;
  TavDlgPushButton* exportButton_ = nullptr;
  std::unique_ptr<OrvVekExpPartConsResulttoXMLDlg> export_;
  OrvPartConsumptionRecords results_;
  std::vector<Ref<TavBaseUnknown>> unassigned_;
  OrvVekEIRows eiRows_{{}};
};
