#pragma once
// Asks where to save the impacted components list, and writes it there as a
// comma-separated file (".csv" appended to a name without that extension).
#include <functional>
#include <memory>

#include "TavDialog.h"

class OrvVekReplaceProductSaveDlg : public TavDlgDialog {
public:
  // The list's text, built when OK is pressed.
  using TextSource = std::function<void(std::string& text)>;

  OrvVekReplaceProductSaveDlg(TavDlgWidget* father, TextSource text, std::function<void()> closed);
  ~OrvVekReplaceProductSaveDlg() override;
  void Build() override;

  void OnXMLBrowse();
  // Writes the list; a failure says why and keeps the dialog open, success closes it.
  void OnXMLOK();
  void OnXMLCancel();
  // Writes `text` to the editor's file; false with an error message naming the file.
  bool SaveResultsInTextFile(const std::string& text, std::string* error = nullptr);
  // The file the editor names, ".csv" appended unless the name's own extension is
  // "csv" (any case); empty when no name was given.
  TavUnicodeString GetXMLFile() const;
  static TavUnicodeString WithCsvExtension(const TavUnicodeString& path);

  TavDlgEditor* FileEditor() const { return editor_; }
  TavDlgFile* FileBox() const { return fileBox_.get(); }

private:
  void CloseFileBox();

  TextSource text_;
  std::function<void()> closed_;
  TavDlgEditor* editor_ = nullptr;
  std::unique_ptr<TavDlgFile> fileBox_, closedBox_;
};
