// The product replacement's dialog: the impacted components list, the names that
// follow a replacement, and the comma-separated file it saves, byte for byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "HostEngine.h"
#include "OrvIReplaceImpactedProduct.h"
#include "OrvVekReplaceProductDlg.h"
#include "ReplacePlant.h"
#include "TavPointing.h"

namespace fs = std::filesystem;

namespace {

// A component as another application makes it: named, typed, listed or not.
class Component final : public virtual OrvIReplaceImpactedProduct {
public:
  Component(TavUnicodeString name, TavUnicodeString type, bool listed = true)
      : name_(std::move(name)), type_(std::move(type)), listed_(listed) {}
  HRESULT DoPreReplaceAction(Ref<TavBaseUnknown>&) override { return S_OK; }
  HRESULT DoPostReplaceAction(Ref<TavBaseUnknown>&) override { return S_OK; }
  HRESULT Replace(Ref<TavBaseUnknown>&, Ref<TavBaseUnknown>&) override { return S_OK; }
  HRESULT IsReplaceable() override { return listed_ ? S_OK : E_FAIL; }
  HRESULT GetNameofComponent(TavUnicodeString& name) override {
    name = name_;
    return S_OK;
  }
  HRESULT GetNLSTypeOfComponent(TavUnicodeString& type) override {
    type = type_;
    return S_OK;
  }

private:
  TavUnicodeString name_, type_;
  bool listed_;
};

class Aliased final : public virtual TavIAlias {
public:
  TavUnicodeString GetAlias() const override { return "Kit.7"; }
};

struct ProductDialog : ::testing::Test, ReplacePlant {
  std::ostringstream log;
  host::HostEngine engine{&log};
  OrvVekReplaceProductDlg dlg;
  Ref<host::HostProduct> door1, door10;
  fs::path dir = fs::temp_directory_path() / ("replace-product-" + std::to_string(::getpid()));
  ProductDialog() {
    dlg.Build();
    door1 = doc->CreateProduct(body, "d1", "Door.1");
    door10 = doc->CreateProduct(body, "d10", "Door.10");
    fs::create_directories(dir);
  }
  ~ProductDialog() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::vector<std::string> Row(int r) {
    std::vector<std::string> out;
    for (int c = 0; c < 4; ++c) out.push_back(dlg.ImpactedList()->GetColumnItem(c, r).utf8());
    return out;
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST(ReplaceProductCsv, FieldsKeepThreeColumnsAndOneLinePerRecord) {
  using D = OrvVekReplaceProductDlg;
  EXPECT_EQ(D::CsvField("Door.2"), "Door.2");
  EXPECT_EQ(D::CsvField("Weld, left"), "Weld;  left");  // the comma alone becomes "; "
  EXPECT_EQ(D::CsvField("a,b,,c"), "a; b; ; c");
  EXPECT_EQ(D::CsvField("two\r\nlines\n"), "two  lines ");
  EXPECT_EQ(D::CsvField("\"quoted\" one"), "\"\"\"quoted\"\" one\"");
  EXPECT_EQ(D::CsvField("T\xc3\xbcr \xe2\x82\xac"), "T\xc3\xbcr \xe2\x82\xac");
  EXPECT_EQ(D::CsvField("bad \xff byte"), "bad \xef\xbf\xbd byte");
  EXPECT_EQ(D::CsvField(""), "");
}

TEST_F(ProductDialog, ComponentsOfThePickedProductThenOfItsDescendants) {
  dlg.Set1stPrd(door1);
  EXPECT_EQ(dynamic_cast<TavDlgEditor*>(dlg.Find("edNameSelectedProduct"))->GetText(), "Door.1");
  auto named = std::make_shared<Component>("DoorAssy.1", "Manufacturing Assembly");
  auto hidden = std::make_shared<Component>("Hidden", "X", false);
  auto silent = std::make_shared<OrvEExtReplaceImpactedProduct>(nullptr);  // names nothing
  auto plain = std::make_shared<TavBaseUnknown>();                        // no component at all
  dlg.AddImpactedComponentNames(door1, {named, hidden, plain}, true);
  dlg.AddImpactedComponentNames(door10, {silent}, false);
  ASSERT_EQ(dlg.ImpactedList()->GetLineCount(), 2);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"Door.1", "DoorAssy.1", "Manufacturing Assembly", "Yes"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"Door.10", "", "", "No"})) << "never the line before's name";

  // After a replacement only the old name's own cells change: Door.10 stays.
  dlg.ReplaceProductName_For_OK_Items("Door.1", "FrontDoor.1");
  EXPECT_EQ(Row(0)[0], "FrontDoor.1");
  EXPECT_EQ(Row(1)[0], "Door.10");

  std::string text;
  dlg.RetriveResultsForSave(text);
  EXPECT_EQ(text, "Product,Component,Type\nFrontDoor.1,DoorAssy.1,Manufacturing Assembly\nDoor.10,,\n");
  dlg.CleanImpactedList();
  dlg.RetriveResultsForSave(text);
  EXPECT_EQ(text, "Product,Component,Type\n");
}

TEST_F(ProductDialog, OkAndApplyWaitForAProductAndAFile) {
  auto* ok = dynamic_cast<TavDlgPushButton*>(dlg.Find("OK"));
  auto* apply = dynamic_cast<TavDlgPushButton*>(dlg.Find("Apply"));
  ASSERT_TRUE(ok && apply);
  EXPECT_FALSE(ok->IsSensitive());
  dlg.Set1stPrd(door1);
  EXPECT_FALSE(ok->IsSensitive());
  engine.QueueFileAnswer(true, "/parts/front-door.TavProduct");
  dynamic_cast<TavDlgPushButton*>(dlg.Find("BrowseButton"))->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(dlg.Get2ndPrdName(), "/parts/front-door.TavProduct");
  EXPECT_TRUE(ok->IsSensitive() && apply->IsSensitive());
  dynamic_cast<TavDlgPushButton*>(dlg.Find("ClearButton"))->Notify(TavDlgNotification::Activate);
  EXPECT_TRUE(dlg.Get2ndPrdName().IsEmpty());
  EXPECT_FALSE(ok->IsSensitive());
}

TEST_F(ProductDialog, TheListIsSavedUnderItsOwnCsvNameOrNotAtAll) {
  using S = OrvVekReplaceProductSaveDlg;
  EXPECT_EQ(S::WithCsvExtension("list"), "list.csv");
  EXPECT_EQ(S::WithCsvExtension("list.csv"), "list.csv");
  EXPECT_EQ(S::WithCsvExtension("LIST.CSV"), "LIST.CSV");
  EXPECT_EQ(S::WithCsvExtension("out.csv/list"), "out.csv/list.csv");
  EXPECT_EQ(S::WithCsvExtension("list.txt"), "list.txt.csv");

  dlg.AddImpactedComponentNames(door1, {std::make_shared<Component>("Weld, left", "Manufacturing Assembly")}, true);
  dynamic_cast<TavDlgPushButton*>(dlg.Find("BtnSaveList"))->Notify(TavDlgNotification::Activate);
  OrvVekReplaceProductSaveDlg* save = dlg.SaveDialog();
  ASSERT_TRUE(save && save->IsVisible());
  // No name: an error, no file ".csv", the dialog stays.
  save->Notify(TavDlgNotification::OK);
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_NE(engine.Messages().back().text.find("name of the file"), std::string::npos) << engine.Messages().back().text;
  EXPECT_TRUE(save->IsVisible());
  EXPECT_FALSE(fs::exists(".csv"));
  // A missing folder: the error names it.
  save->FileEditor()->SetText((dir / "missing" / "list").string());
  save->Notify(TavDlgNotification::OK);
  ASSERT_EQ(engine.Messages().size(), 2u);
  EXPECT_NE(engine.Messages().back().text.find("missing"), std::string::npos) << engine.Messages().back().text;
  // Chosen in the file box: written, the dialog closed.
  engine.QueueFileAnswer(true, (dir / "list").string());
  dynamic_cast<TavDlgPushButton*>(save->Find("FileBrowse"))->Notify(TavDlgNotification::Activate);
  save->Notify(TavDlgNotification::OK);
  EXPECT_EQ(Read(dir / "list.csv"), "Product,Component,Type\nDoor.1,Weld;  left,Manufacturing Assembly\n");
  EXPECT_EQ(dlg.SaveDialog(), nullptr);
  EXPECT_EQ(engine.Messages().size(), 2u);
}

TEST(ReplaceImpactedProduct, ComponentsOfTheProcessAreNamedAfterTheirActivity) {
  ReplacePlant plant;
  auto relation = plant.weldA->GetActivitySpecifications(plant.robot);
  ASSERT_FALSE(relation.empty());
  OrvEReplaceImpactedProduct ofRelation(relation[0]);
  TavUnicodeString name, type;
  ASSERT_EQ(ofRelation.GetNameofComponent(name), S_OK);
  EXPECT_EQ(name, "Weld");
  ASSERT_EQ(ofRelation.GetNLSTypeOfComponent(type), S_OK);
  EXPECT_EQ(type, "Manufacturing Assembly");
  EXPECT_EQ(ofRelation.IsReplaceable(), S_OK);
  Ref<TavBaseUnknown> p;
  EXPECT_EQ(ofRelation.DoPreReplaceAction(p), E_NOTIMPL);
  EXPECT_EQ(ofRelation.Replace(p, p), E_NOTIMPL);
  OrvEReplaceImpactedProduct ofAlias(std::make_shared<Aliased>());
  ASSERT_EQ(ofAlias.GetNameofComponent(name), S_OK);
  EXPECT_EQ(name, "Kit.7");
  OrvEReplaceImpactedProduct ofNothing(std::make_shared<TavBaseUnknown>());
  EXPECT_EQ(ofNothing.GetNameofComponent(name), E_FAIL);
  OrvEExtReplaceImpactedProduct other(nullptr);
  TavUnicodeString kept = "kept";
  EXPECT_EQ(other.GetNameofComponent(kept), S_OK);
  EXPECT_EQ(kept, "kept");
  EXPECT_EQ(other.DoPostReplaceAction(p), S_OK);
}

}  // namespace
