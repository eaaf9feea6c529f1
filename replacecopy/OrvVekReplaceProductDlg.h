#pragma once
// The product replacement's dialog: the product to replace, the product file that
// replaces it, and the manufacturing components that depend on the product or on
// one of its descendants, which can be saved as a comma-separated file.
#include <functional>
#include <memory>

#include "OrvVekReplaceProductSaveDlg.h"
#include "TavDialog.h"
#include "TavPPR.h"

class OrvVekReplaceProductDlg : public TavDlgDialog {
public:
  static constexpr const char* kCatalog = "OrvVekReplaceProductDlg";
  static constexpr const char* kTitleKeys[3] = {"ImpactedItems.MultiListImpactedComponent.ColumnTitle1",
                                                "ImpactedItems.MultiListImpactedComponent.ColumnTitle2",
                                                "ImpactedItems.MultiListImpactedComponent.ColumnTitle3"};

  explicit OrvVekReplaceProductDlg(TavDlgWidget* father = nullptr);
  ~OrvVekReplaceProductDlg() override;
  void Build() override;

  // The product to replace: its name in "edNameSelectedProduct".
  void Set1stPrd(const Ref<TavBaseUnknown>& product);
  void Set1stPrdName(const TavUnicodeString& name);
  // The replacing product's file in "Editor008".
  void Set2ndPrdName(const TavUnicodeString& path);
  TavUnicodeString Get2ndPrdName() const;
  const Ref<TavBaseUnknown>& Get1stPrd() const { return first_; }

  void CleanImpactedList();
  // One line per component whose IsReplaceable succeeds: the product's name, the
  // component's name and type, and "Yes" for the picked product itself, else "No".
  void AddImpactedComponentNames(const Ref<TavBaseUnknown>& product, const std::vector<Ref<TavBaseUnknown>>& components,
                                 bool isPicked);
  // Column 0 cells holding exactly the old name get the new one.
  void ReplaceProductName_For_OK_Items(const TavUnicodeString& oldName, const TavUnicodeString& newName);
  // The list as the comma-separated file holds it (see CsvField).
  void RetriveResultsForSave(std::string& text) const;
  // The product's name as the process tree shows it.
  static void GetPrdNameFromPPRTree(const Ref<TavBaseUnknown>& product, TavUnicodeString& name);
  // One field: "," as "; ", a line break as a blank; a field holding '"' enclosed in
  // double quotes with each '"' doubled. UTF-8, malformed bytes as U+FFFD.
  static std::string CsvField(const TavUnicodeString& text);

  // The buttons: the file box of "BrowseButton", "ClearButton", "BtnSaveList".
  void OnBrowse();
  void OnBrowseOK();
  void OnBrowseCancel();
  void OnClear();
  void OnSaveList();
  // OK and Apply are sensitive with a product to replace and a file to replace it by.
  void UpdateSensitivity();

  TavDlgMultiList* ImpactedList() const { return list_; }
  TavDlgFile* FileBox() const { return fileBox_.get(); }
  OrvVekReplaceProductSaveDlg* SaveDialog() const { return saveDialog_.get(); }

private:
  Ref<TavBaseUnknown> first_;
  TavDlgEditor *firstName_ = nullptr, *file_ = nullptr;
  TavDlgMultiList* list_ = nullptr;
  TavDlgPushButton *ok_ = nullptr, *apply_ = nullptr;
  std::unique_ptr<TavDlgFile> fileBox_, closedBox_;
  std::unique_ptr<OrvVekReplaceProductSaveDlg> saveDialog_, closedSave_;
};
