// The export dialog of the part consumption report and the warning window of a
// failed export, driven through a recording dialog host.
#include <gtest/gtest.h>

#include <deque>

#include "OrvVekExpPartConsResulttoXMLDlg.h"
#include "OrvVekGenPartConsumptionXML.h"
#include "PcPlant.h"

using namespace pctest;
using Dlg = OrvVekExpPartConsResulttoXMLDlg;

namespace {

struct Answer {
  bool ok;
  TavUnicodeString path;
};

class RecordingHost final : public TavDialogHost {
public:
  RecordingHost() : previous_(TavDialogHost::Get()) { TavDialogHost::Install(this); }
  ~RecordingHost() override { TavDialogHost::Install(previous_); }
  void OnNotification(TavDlgWidget*, const std::string&) override {}
  std::string OnNotifyBlocked(TavDlgNotify& box) override {
    boxes.push_back({box.GetName(), box.GetNotifyKind(), box.GetStyle(), box.GetTitle(), box.GetText()});
    return "OK";
  }
  bool OnFileShown(TavDlgFile&, bool& ok, TavUnicodeString& path) override {
    if (answers.empty()) return false;
    ok = answers.front().ok;
    path = answers.front().path;
    answers.pop_front();
    return true;
  }
  struct Box {
    std::string name;
    TavDlgNotify::Kind kind;
    int style;
    TavUnicodeString title, text;
  };
  std::vector<Box> boxes;
  std::deque<Answer> answers;

private:
  TavDialogHost* previous_;
};

struct ExportDialog : ::testing::Test {
  Plant p;
  RecordingHost host;
  Dlg dlg;
  ExportDialog() { dlg.Build(); }
  void Browse() { dlg.Find("Browse")->Notify(TavDlgNotification::Activate); }
};

TEST_F(ExportDialog, StartsHiddenWithTheTemporaryReportPath) {
  EXPECT_EQ(dlg.GetName(), "OrvVekExpPartConsResulttoXMLDlg");
  EXPECT_EQ(dlg.GetStyle(), 0x40C01);
  EXPECT_FALSE(dlg.IsVisible());
  EXPECT_EQ(dlg.GetXmlTextBox(), TavUnicodeString(TavApplicationFrame::GetTemporaryDirectory()) + "/PartConsumptionResults.xml");
  auto* editor = dynamic_cast<TavDlgEditor*>(dlg.Find("XmlStyleSheetTextBox"));
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->GetVisibleTextWidth(), 25);
  EXPECT_EQ(editor->GetFather()->GetName(), "Frame");
  EXPECT_TRUE(dlg.Find("XMLSelected"));
  EXPECT_EQ(dlg.Find("Blank")->GetTitle(), "     ");
}

TEST_F(ExportDialog, ChosenFileGetsTheXmlExtensionOnlyWhenItLacksIt) {
  host.answers = {{true, "/out/Report.XML"}, {true, "/out/r.xml.bak"}, {true, "/out/plain"}};
  Browse();
  EXPECT_EQ(dlg.GetXmlTextBox(), "/out/Report.XML");
  EXPECT_EQ(dlg.GetFileBox(), nullptr);
  Browse();
  EXPECT_EQ(dlg.GetXmlTextBox(), "/out/r.xml.bak.xml");
  Browse();
  EXPECT_EQ(dlg.GetXmlTextBox(), "/out/plain.xml");
  // Cancel leaves the path alone.
  host.answers = {{false, {}}};
  Browse();
  EXPECT_EQ(dlg.GetXmlTextBox(), "/out/plain.xml");
  EXPECT_EQ(dlg.GetFileBox(), nullptr);
}

TEST_F(ExportDialog, FileBoxAnsweredLaterClosesSafely) {
  Browse();  // no answer queued: the box stays open
  TavDlgFile* box = dlg.GetFileBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->GetName(), "FileBrowse");
  EXPECT_EQ(box->GetStyle(), 0x200);
  EXPECT_EQ(box->GetFilterLabels(), (std::vector<TavUnicodeString>{"XML Document(*.xml)"}));
  EXPECT_EQ(box->GetFilterPatterns(), (std::vector<TavUnicodeString>{"*.xml"}));
  Browse();  // a second Browse while open opens no second box
  EXPECT_EQ(dlg.GetFileBox(), box);
  box->SetSelection("/out/later");
  box->Notify(TavDlgNotification::OK);  // the box must survive its own notification
  EXPECT_EQ(dlg.GetXmlTextBox(), "/out/later.xml");
  EXPECT_EQ(dlg.GetFileBox(), nullptr);
  EXPECT_EQ(box->CallbackCount(), 0);
}

TEST_F(ExportDialog, FailedExportShowsOneWarningWindow) {
  OrvVekXMLExportStatus st;
  EXPECT_EQ(OrvVekGenPartConsumptionXML::CreateXMLFile("/nonexistent-dir/r.xml", {}, {}, 0, nullptr, false, &st), E_FAIL);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].name, "Warning");
  EXPECT_EQ(host.boxes[0].kind, TavDlgNotify::Warning);
  EXPECT_EQ(host.boxes[0].style, 0x8100200);
  EXPECT_NE(host.boxes[0].text.utf8().find("/nonexistent-dir/r.xml"), std::string::npos);
  EXPECT_FALSE(host.boxes[0].title.IsEmpty());
}

}  // namespace
