#include "OrvVekReplaceProductSaveDlg.h"

#include "FileWriter.h"
#include "TavServices.h"

namespace {
constexpr const char* kCatalog = "OrvVekReplaceProductDlg";
TavUnicodeString Text(const char* key, const char* fallback, const std::vector<TavUnicodeString>& params = {}) {
  return TavMsgCatalog::BuildMessage(kCatalog, key, params, fallback);
}
}  // namespace

OrvVekReplaceProductSaveDlg::OrvVekReplaceProductSaveDlg(TavDlgWidget* father, TextSource text, std::function<void()> closed)
    : TavDlgDialog(father, "OrvVekReplaceProductSaveDlg", 0, kCatalog), text_(std::move(text)), closed_(std::move(closed)) {
  SetTitle(Text("ExportToText.Title", "Save the Impacted Components"));
}

OrvVekReplaceProductSaveDlg::~OrvVekReplaceProductSaveDlg() = default;

void OrvVekReplaceProductSaveDlg::Build() {
  auto* frame = Add<TavDlgFrame>("FileFrame");
  frame->Add<TavDlgLabel>("FileLabel")->SetTitle(Text("FileLabel.Title", "File"));
  editor_ = frame->Add<TavDlgEditor>("FileEditor");
  editor_->SetVisibleTextWidth(30);
  auto* browse = frame->Add<TavDlgPushButton>("FileBrowse");
  browse->SetTitle(Text("FileBrowse.Title", "Browse..."));
  AddAnalyseNotificationCB(browse, TavDlgNotification::Activate, [this] { OnXMLBrowse(); });
  AddNotifyingButton("OK", TavDlgNotification::OK, "OK");
  AddNotifyingButton("Cancel", TavDlgNotification::Cancel, "Cancel");
  AddAnalyseNotificationCB(this, TavDlgNotification::OK, [this] { OnXMLOK(); });
  AddAnalyseNotificationCB(this, TavDlgNotification::Cancel, [this] { OnXMLCancel(); });
  AddAnalyseNotificationCB(this, TavDlgNotification::Close, [this] { OnXMLCancel(); });
}

void OrvVekReplaceProductSaveDlg::OnXMLBrowse() {
  closedBox_.reset();
  if (fileBox_) return;  // already open
  fileBox_ = std::make_unique<TavDlgFile>(this, "CsvFileBox", 0x200);  // save mode
  fileBox_->SetFilterStrings({Text("CommaSeperatedMessage.Title", "Comma separated values (*.csv)")}, {"*.csv"});
  fileBox_->SetTitle(Text("XMLBrowse.Title", "Save the list as"));
  TavDlgFile* box = fileBox_.get();
  box->AddAnalyseNotificationCB(box, TavDlgNotification::OK, [this] {
    if (fileBox_ && editor_) editor_->SetText(fileBox_->GetSelection());
    CloseFileBox();
  });
  box->AddAnalyseNotificationCB(box, TavDlgNotification::Cancel, [this] { CloseFileBox(); });
  box->Show();
  closedBox_.reset();  // an answer given while showing closed the box: its notification is over now
}

void OrvVekReplaceProductSaveDlg::CloseFileBox() {
  if (!fileBox_) return;
  fileBox_->SetVisibility(false);
  closedBox_ = std::move(fileBox_);
}

void OrvVekReplaceProductSaveDlg::OnXMLOK() {
  std::string text, error;
  if (text_) text_(text);
  if (!SaveResultsInTextFile(text, &error)) {
    TavDlgNotify box(this, "Error", TavDlgNotify::Error);
    box.DisplayBox(Text("SaveError.Title", "Save the Impacted Components"), Text("NotSaved", "The list was not saved: /P1", {error}));
    box.DisplayBlocked();
    return;  // the planner may correct the name
  }
  SetVisibility(false);
  if (closed_) closed_();
}

void OrvVekReplaceProductSaveDlg::OnXMLCancel() {
  CloseFileBox();
  SetVisibility(false);
  if (closed_) closed_();
}

TavUnicodeString OrvVekReplaceProductSaveDlg::WithCsvExtension(const TavUnicodeString& path) {
  const std::string& p = path.utf8();
  // The name's own extension: a dot in a folder's name does not count.
  const std::size_t slash = p.find_last_of("/\\");
  const std::size_t dot = p.rfind('.');
  const bool own = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (own && TavUnicodeString(p.substr(dot + 1)).ToLower() == "csv") return path;
  return p + ".csv";
}

TavUnicodeString OrvVekReplaceProductSaveDlg::GetXMLFile() const {
  const TavUnicodeString name = editor_ ? editor_->GetText().Strip() : TavUnicodeString();
  if (name.IsEmpty()) return {};
  const std::string& n = name.utf8();
  if (n.back() == '/' || n.back() == '\\') return {};  // a folder is no file name
  return WithCsvExtension(name);
}

bool OrvVekReplaceProductSaveDlg::SaveResultsInTextFile(const std::string& text, std::string* error) {
  const TavUnicodeString path = GetXMLFile();
  if (path.IsEmpty()) {
    if (error) *error = Text("NoFileName", "give the name of the file to write the list to").utf8();
    return false;
  }
  return support::WriteFile(path.utf8(), text, error);
}
