// The assembly dialog on its own: its layouts, the type column, select-all, the
// part-number box and the preview; and that every text it asks for is catalogued.
#include <gtest/gtest.h>

#include "MfgAssyPlant.h"
#include "OrvAssyTypesDlg.h"

namespace {

struct FakePreview : VEKPreviewWindow {
  std::vector<Ref<TavBaseUnknown>> items;
  bool visible = false, closed = false;
  void SetItems(const std::vector<Ref<TavBaseUnknown>>& i) override { items = i; }
  std::vector<Ref<TavBaseUnknown>> GetItems() const override { return items; }
  void SetVisible(bool v) override { visible = v; }
  bool IsVisible() const override { return visible; }
  bool IsClosed() const override { return closed; }
  void Close() override { closed = true; }
};

TEST(MfgAssyDialog, TheModeChoosesTitleAndPlanTypeCombo) {
  OrvMfgAssyDialog assembly("ASSEMBLY");
  assembly.Build();
  EXPECT_EQ(assembly.GetTitle().utf8(), "Manufactured Assembly");
  for (const char* w : {"MainFrame", "NameLabel", "Name", "PartNumLabel", "PartNumber", "GenerateBtn",
                        "PartsResourcesFrame", "PartsListFrame", "PartsList", "SelectAllChkBx", "OptionsFrame",
                        "PreviewChkBx", "RemovePartsBtn", "OK", "Apply", "Cancel"})
    EXPECT_TRUE(assembly.Find(w)) << w;
  EXPECT_FALSE(assembly.Find("Combo"));
  EXPECT_FALSE(assembly.Find("PlanTypeLabel"));
  EXPECT_EQ(assembly.GetHxPlanType().utf8(), "");

  OrvMfgAssyDialog kit("KIT");
  kit.Build();
  EXPECT_EQ(kit.GetTitle().utf8(), "Manufacturing Kit");
  EXPECT_FALSE(kit.Find("Combo"));

  OrvMfgAssyDialog planned("KITPLUSPLANTYPES");
  planned.Build();
  ASSERT_TRUE(planned.PlanTypeCombo());
  EXPECT_TRUE(planned.Find("PlanTypeLabel"));
  planned.SetPlanTypeList({"Line kit", "Station kit"});
  EXPECT_EQ(planned.GetHxPlanType().utf8(), "");  // none chosen yet
  planned.SelectPlanType("Station kit");
  EXPECT_EQ(planned.GetHxPlanType().utf8(), "Station kit");
  planned.SelectPlanType("Unknown");
  EXPECT_EQ(planned.GetHxPlanType().utf8(), "");
  std::string why;
  ASSERT_TRUE(planned.PlanTypeCombo()->SetValueFromText("0", &why)) << why;
  EXPECT_EQ(planned.GetHxPlanType().utf8(), "Line kit");
  EXPECT_TRUE(planned.ApplyButton()->IsSensitive());
}

TEST(MfgAssyDialog, TypeTextsGiveLettersAndIconsAndTheDumpShowsThem) {
  OrvMfgAssyDialog d("KIT");
  d.Build();
  d.SetPartsList({"Door.1", "Robot.1", "DoorAssy", "DoorKit", "Odd"});
  d.SetPartTypeList({"Produkt", "Resource", "Assembly", "ManufacturingKit", "Other"});
  EXPECT_EQ(MfgAssyPlant::Rows(&d), "P|Door.1 R|Robot.1 A|DoorAssy K|DoorKit |Odd");
  EXPECT_EQ(d.PartsList()->GetRowIcon(2), "I_OrvMfgAssyCmd.bmp");
  EXPECT_EQ(d.PartsList()->GetRowIcon(4), "");
  const std::string dump = d.DumpText();
  EXPECT_NE(dump.find("multilist PartsList (10 lines)"), std::string::npos) << dump;
  EXPECT_NE(dump.find("- 1: | R | Robot.1 [icon I_KitResourceSmall.bmp]"), std::string::npos) << dump;
  EXPECT_EQ(d.PartsList()->GetColumnTextWidth(1), 21);
  // A new list drops the old icons.
  d.SetPartsList({"Door.1"});
  EXPECT_EQ(d.PartsList()->GetRowIcon(0), "");
}

TEST(MfgAssyDialog, ThePartNumberBoxHandsOverWhatWasTypedAndForgetsIt) {
  OrvMfgAssyDialog d("ASSEMBLY");
  d.Build();
  auto* box = d.PartNumberBox();
  EXPECT_FALSE(box->IsVisible());
  d.GenerateButton()->Notify(TavDlgNotification::Activate);
  EXPECT_TRUE(box->IsVisible());
  EXPECT_FALSE(d.ApplyButton()->IsSensitive());
  box->Editor()->SetText("PN-7");
  box->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(d.GetMAPartNumber().utf8(), "PN-7");
  EXPECT_FALSE(box->IsVisible());
  EXPECT_EQ(box->Editor()->GetText().utf8(), "");
  EXPECT_TRUE(d.ApplyButton()->IsSensitive());
  // Closing drops the text and keeps the part number.
  d.SetAPPLYSensitive(false);
  d.GenerateButton()->Notify(TavDlgNotification::Activate);
  box->Editor()->SetText("unused");
  box->Notify(TavDlgNotification::Close);
  EXPECT_FALSE(box->IsVisible());
  EXPECT_EQ(box->Editor()->GetText().utf8(), "");
  EXPECT_EQ(d.GetMAPartNumber().utf8(), "PN-7");
  EXPECT_TRUE(d.ApplyButton()->IsSensitive());
}

struct AssemblyPreview : MfgAssyPlant {
  Ref<FakePreview> window = std::make_shared<FakePreview>();
  int opened = 0;
  void SetUp() override {
    MfgAssyPlant::SetUp();
    VEKPreviewWindow::InstallFactory([this](const Ref<TavFrmEditor>&) -> Ref<VEKPreviewWindow> {
      ++opened;
      window->closed = false;
      return window;
    });
  }
  void TearDown() override { VEKPreviewWindow::InstallFactory({}); }
  static std::string Names(const std::vector<Ref<TavBaseUnknown>>& items) {
    std::string s;
    for (auto& i : items) s += (s.empty() ? "" : " ") + query<TavIProduct>(i)->GetName().utf8();
    return s;
  }
};

TEST_F(AssemblyPreview, ShowsThePickedProductsWithAssembliesExpandedWhileChecked) {
  auto* cmd = Start(std::make_unique<OrvMfgAssyCmd>());
  auto* d = cmd->Dialog();
  Pick("roof");
  EXPECT_EQ(opened, 0);  // nothing opens before the box is checked
  d->PreviewCheck()->SetState(true, true);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(Names(window->items), "Roof.1");
  Pick("ma");  // DoorAssy: the door and, through HingeAssy, the hood
  EXPECT_EQ(Names(window->items), "Roof.1 Door.1 Hood.1");
  d->PreviewCheck()->SetState(false, true);
  EXPECT_FALSE(window->visible);
  // Closed by its own button: checking again opens a new one.
  window->closed = true;
  d->PreviewCheck()->SetState(true, true);
  EXPECT_EQ(opened, 2);
  Push(d->CancelButton());
  EXPECT_TRUE(window->closed);  // it goes with the command
}

TEST(MfgAssyCatalogs, EveryTextTheCommandsAskForIsCatalogued) {
  host::HostSession session;  // the catalogues are the session's
  OrvMfgAssyDialog d("KITPLUSPLANTYPES");
  d.Build();
  std::vector<std::pair<std::string, std::string>> keys;
  std::function<void(const TavDlgWidget&)> titled = [&](const TavDlgWidget& w) {
    if (w.GetKind() != "editor" && w.GetKind() != "combo" && w.GetKind() != "multilist" && w.GetKind() != "dialog" &&
        w.GetName() != "PartsListFrame" && w.GetName() != "MainFrame")
      keys.emplace_back(OrvMfgAssyDialog::kCatalog, w.GetName() + ".Title");
    for (const auto& c : w.Children()) titled(*c);
  };
  titled(d);
  for (const char* k : {"AssemblyTitle", "KitTitle", "HeaderType", "HeaderName"})
    keys.emplace_back(OrvMfgAssyDialog::kCatalog, k);
  for (const char* k : {"OrvMfgAssembly", "OrvMfgKit", "OrvMfgAssyCmd.ErrorTitle", "OrvMfgAssyCmd.NotAPart",
                        "OrvMfgAssyCmd.ResourceRefused", "OrvMfgAssyCmd.ResourceRootRefused", "OrvMfgAssyCmd.NoPLMID",
                        "OrvMfgAssyCmd.WSCRefused", "OrvMfgAssyCmd.CycleRefused", "OrvMfgAssyCmd.FatherRefused",
                        "OrvMfgAssyCmd.KitCycleRefused", "OrvMfgAssyCmd.CreateFailed", "OrvMfgAssyCmd.UpdateFailed",
                        "ASTErrorWindow.Title", "ASTErrorWindow.mAssembly", "ASTErrorWindow.mKit", "ASTErrorWindow.mOutput",
                        "ASTErrorWindow.mAST", "ASTErrorWindow.default", "ASTErrorWindow.Message1",
                        "ASTErrorWindow.Message2", "ASTErrorWindow.Message3"})
    keys.emplace_back(OrvMfgAssyCmd::kCatalog, k);
  for (const char* k : {"Title", "PartNumber.Title", "OK.Title"})
    keys.emplace_back(OrvMfgAssyPartNumGenerator::kCatalog, k);
  for (const char* k : {"Title", "TypeFrame.Title", "optAssembly.Title", "optMK.Title", "optMAoutput.Title",
                        "optAST.Title", "OK.Title", "Cancel.Title"})
    keys.emplace_back(OrvAssyTypesDlg::kCatalog, k);
  for (const auto& [catalog, key] : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(catalog, key)) << catalog << ": " << key;
}

}  // namespace
