#pragma once
// The small dialog that asks where to write the part consumption XML report.
// Its owner (the activities-of-product dialog) subscribes to its OK and Cancel
// and reads the path with GetXmlTextBox().
#include <memory>

#include "TavDialog.h"

class OrvVekExpPartConsResulttoXMLDlg : public TavDlgDialog {
public:
  static constexpr int kStyle = 0x40C01;        // OK and Cancel
  static constexpr int kFileBoxStyle = 0x200;
  static constexpr const char* kCatalog = "OrvVekListActAssOfProdDlg";
  static constexpr const char* kDefaultFileName = "PartConsumptionResults.xml";

  // Created hidden; a null father is the application's main window.
  explicit OrvVekExpPartConsResulttoXMLDlg(TavDlgWidget* father = nullptr);
  ~OrvVekExpPartConsResulttoXMLDlg() override;

  void Build() override;
  void OnBrowse();
  // OK and Cancel of the file selection window.
  void OnOK();
  void OnCancel();
  TavUnicodeString GetXmlTextBox() const;

  // The file selection window while it is open, else null.
  TavDlgFile* GetFileBox() const { return fileBox_.get(); }
  // The selection with ".xml" appended unless its lower-case copy ends in ".xml".
  static TavUnicodeString WithXmlExtension(const TavUnicodeString& selection);

private:
  void CloseFileBox();

  TavDlgEditor* editor_ = nullptr;
  std::unique_ptr<TavDlgFile> fileBox_;
  // A closed file box is released at the next safe point, never from within
  // one of its own notifications.
  std::unique_ptr<TavDlgFile> closedBox_;
};
