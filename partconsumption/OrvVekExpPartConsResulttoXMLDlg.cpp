#include "OrvVekExpPartConsResulttoXMLDlg.h"

#include "TavServices.h"

namespace {
TavUnicodeString Text(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekExpPartConsResulttoXMLDlg::kCatalog, key, {}, fallback);
}
}  // namespace

OrvVekExpPartConsResulttoXMLDlg::OrvVekExpPartConsResulttoXMLDlg(TavDlgWidget* father)
    : TavDlgDialog(father, "OrvVekExpPartConsResulttoXMLDlg", kStyle, kCatalog) {
  SetTitle(Text("MainFrame.pButtonFrame.pExpXml.Title", "Export to XML"));
}

OrvVekExpPartConsResulttoXMLDlg::~OrvVekExpPartConsResulttoXMLDlg() = default;

void OrvVekExpPartConsResulttoXMLDlg::Build() {
  auto* frame = Add<TavDlgFrame>("Frame");
  frame->Add<TavDlgLabel>("XMLSelected")->SetTitle(Text("PXmlFileLabel.Title", "XML file"));
  editor_ = frame->Add<TavDlgEditor>("XmlStyleSheetTextBox");
  editor_->SetVisibleTextWidth(25);
  editor_->SetText(TavUnicodeString(TavApplicationFrame::GetTemporaryDirectory()) + "/" + kDefaultFileName);
  frame->Add<TavDlgLabel>("Blank")->SetTitle("     ");
  auto* browse = frame->Add<TavDlgPushButton>("Browse");
  browse->SetTitle(Text("PXmlFileButton.Title", "Browse..."));
  AddAnalyseNotificationCB(browse, TavDlgNotification::Activate, [this] { OnBrowse(); });
}

void OrvVekExpPartConsResulttoXMLDlg::OnBrowse() {
  closedBox_.reset();
  if (fileBox_) return;  // already open
  fileBox_ = std::make_unique<TavDlgFile>(this, "FileBrowse", kFileBoxStyle);
  fileBox_->SetFilterStrings({"XML Document(*.xml)"}, {"*.xml"});
  fileBox_->SetTitle(Text("PXmlFileBox.Title", "Select the XML file"));
  TavDlgFile* box = fileBox_.get();
  box->AddAnalyseNotificationCB(box, TavDlgNotification::OK, [this] { OnOK(); });
  box->AddAnalyseNotificationCB(box, TavDlgNotification::Cancel, [this] { OnCancel(); });
  box->Show();
  // An answer given while showing closed the box: its notification is over now.
  closedBox_.reset();
}

TavUnicodeString OrvVekExpPartConsResulttoXMLDlg::WithXmlExtension(const TavUnicodeString& selection) {
  const std::string lower = selection.ToLower().utf8();
  const std::size_t at = lower.rfind(".xml");
  if (at != std::string::npos && at + 4 == lower.size()) return selection;
  return selection + ".xml";
}

void OrvVekExpPartConsResulttoXMLDlg::OnOK() {
  if (!fileBox_) return;
  if (editor_) editor_->SetText(WithXmlExtension(fileBox_->GetSelection()));
  CloseFileBox();
}

void OrvVekExpPartConsResulttoXMLDlg::OnCancel() { CloseFileBox(); }

void OrvVekExpPartConsResulttoXMLDlg::CloseFileBox() {
  if (!fileBox_) return;
  fileBox_->RemoveAnalyseNotificationCB(fileBox_.get(), TavDlgNotification::OK);
  fileBox_->RemoveAnalyseNotificationCB(fileBox_.get(), TavDlgNotification::Cancel);
  fileBox_->SetVisibility(false);
  closedBox_ = std::move(fileBox_);
}

TavUnicodeString OrvVekExpPartConsResulttoXMLDlg::GetXmlTextBox() const { return editor_ ? editor_->GetText() : TavUnicodeString(); }
