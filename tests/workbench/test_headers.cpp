// The header class, the host's header list, header texts by resource level, and
// the workbench as the user sees it.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "WbFixture.h"
#include "WexDDPHeader.h"

namespace fs = std::filesystem;

namespace {

struct TempResources {
  fs::path path;
  TempResources() {
    path = fs::temp_directory_path() / ("mirt-wb-" + std::to_string(::getpid()) + "-" +
                                        std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(path / "catalogs");
  }
  ~TempResources() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  void Write(const std::string& catalog, const std::string& text) const {
    std::ofstream(path / "catalogs" / (catalog + ".msg")) << text;
  }
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(Header, ConstructorsAndCloneKeepEveryField) {
  int arg = 0;
  WexDDPHeader full("Id1", "Mod", "Cls", &arg, 1);
  EXPECT_EQ(full.GetArgument(), &arg);
  WexDDPHeader noArg("Id2", "Mod", "Cls", 0);
  EXPECT_EQ(noArg.GetArgument(), nullptr);
  EXPECT_FALSE(noArg.IsAvailable());  // initial state other than 1
  WexDDPHeader classOnly("Id3", "Cls", 1);
  EXPECT_EQ(classOnly.GetModuleName(), "");
  EXPECT_EQ(classOnly.GetClassName(), "Cls");
  EXPECT_TRUE(classOnly.IsAvailable());

  full.BecomeUnavailable();
  std::unique_ptr<TavCommandHeader> c = full.Clone();
  auto* clone = dynamic_cast<WexDDPHeader*>(c.get());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetID(), "Id1");
  EXPECT_EQ(clone->GetModuleName(), "Mod");
  EXPECT_EQ(clone->GetClassName(), "Cls");
  EXPECT_EQ(clone->GetArgument(), &arg);
  EXPECT_EQ(clone->GetInitialState(), 1);
  EXPECT_FALSE(clone->IsAvailable());
  WexDDPHeader copy(noArg);
  EXPECT_EQ(copy.GetID(), "Id2");
}

TEST(Header, ResourceFilesGoFromOwnToBaseLevelByLevel) {
  WexDDPHeader a("A", "M", "C", 1), b("B", "M", "C", 1);
  EXPECT_EQ(a.GetResourceFile(0), "WexDDPHeader");
  EXPECT_EQ(a.GetResourceFile(-5), "WexDDPHeader");
  EXPECT_EQ(a.GetResourceFile(1), "TavCommandHeader");
  EXPECT_EQ(a.GetResourceFile(2), "");
  EXPECT_EQ(a.GetResourceFile(100), "");
  EXPECT_EQ(&a.GetResourceFile(0), &b.GetResourceFile(0));  // one shared name
  EXPECT_EQ(a.GetFW(), "OrvVekPlanner");
  TavCommandHeader base("A", "M", "C", 1);
  EXPECT_EQ(base.GetResourceFile(0), "TavCommandHeader");
  EXPECT_EQ(base.GetResourceFile(1), "");
}

TEST(Header, TextsAreFoundAtTheFirstLevelHavingThem) {
  TempResources r;
  r.Write("WexDDPHeader", "A.Title = Own title\n");
  r.Write("TavCommandHeader", "A.Title = Base title\nA.Help = Base help\nB.Title = B from base\n");
  host::HostSession s;
  s.Catalogs() = host::MessageCatalogs(r.path);
  WexDDPHeader a("A", "M", "C", 1), b("B", "M", "C", 1), c("C", "M", "C", 1);
  auto t = host::HeaderTitle(a);
  EXPECT_EQ(t.text, "Own title");
  EXPECT_EQ(t.level, 0);
  EXPECT_EQ(t.framework, "OrvVekPlanner");
  auto h = host::HeaderHelp(a);
  EXPECT_EQ(h.text, "Base help");
  EXPECT_EQ(h.level, 1);
  EXPECT_EQ(h.file, "TavCommandHeader");
  EXPECT_EQ(host::HeaderTitle(b).text, "B from base");
  // Nothing anywhere: the title falls back to the identifier, the help stays empty.
  EXPECT_FALSE(host::HeaderTitle(c).Found());
  EXPECT_EQ(host::HeaderTitle(c).text, "C");
  EXPECT_EQ(host::HeaderHelp(c).text, "");
  // A plain host header never reads the workbench's file.
  TavCommandHeader plain("A", "M", "C", 1);
  EXPECT_EQ(host::HeaderTitle(plain).text, "Base title");
}

TEST(HeaderList, OneHeaderPerIdentifierAndTheFirstStays) {
  TavCommandHeader::ClearList();
  TavCommandHeader* first = TavCommandHeader::AddToList(std::make_unique<TavCommandHeader>("X", "M", "C1", 1));
  TavCommandHeader* again = TavCommandHeader::AddToList(std::make_unique<TavCommandHeader>("X", "M", "C2", 1));
  EXPECT_EQ(first, again);
  EXPECT_EQ(TavCommandHeader::GetHeaderFromList("X", 0)->GetClassName(), "C1");
  EXPECT_EQ(TavCommandHeader::AddToList(nullptr), nullptr);
  EXPECT_EQ(TavCommandHeader::GetHeaderFromList("x", 0), nullptr);  // identifiers are case-sensitive
  EXPECT_EQ(TavCommandHeader::GetList().size(), 1u);
  TavCommandHeader::ClearList();
  EXPECT_EQ(TavCommandHeader::GetHeaderFromList("X", 0), nullptr);
}

TEST(Adapter, PlacementsOnMissingToolbarsOrMenusAreDroppedAndReported) {
  OrvEProcessWkbAdapter wb("T", 2);
  wb.CreateCommands();
  EXPECT_EQ(wb.AppendToolbar("Tlb", "", 1, 3), S_OK);
  EXPECT_EQ(wb.AppendToolbar("Tlb", "", 1, 3), E_FAIL);
  EXPECT_EQ(wb.AppendMenubar("Sub", "NOPE"), E_FAIL);
  EXPECT_EQ(wb.AppendMenubar("Sub", "TOOLS"), S_OK);
  EXPECT_EQ(wb.AppendMenubar("Sub", "TOOLS"), E_FAIL);
  EXPECT_EQ(wb.AppendCmdHdr("H", "Missing", "Sub", 0), E_FAIL);  // the menu half still happens
  EXPECT_EQ(wb.AppendCmdHdr("H", "Tlb", "", 0), S_OK);
  EXPECT_EQ(wb.AppendCmdHdr("", "Tlb", "", 0), E_FAIL);
  const auto& l = wb.GetLayout();
  EXPECT_EQ(l.FindToolbar("Tlb")->headers, std::vector<TavUnicodeString>{"H"});
  EXPECT_EQ(l.FindMenu("Sub")->entries.size(), 1u);
  ASSERT_EQ(l.dropped.size(), 2u);
  EXPECT_EQ(l.dropped[0].item, "Sub");
  EXPECT_FALSE(l.dropped[0].toolbar);
  EXPECT_EQ(l.dropped[1].container, "Missing");
  EXPECT_TRUE(l.dropped[1].toolbar);
  TavCommandHeader::ClearList();
}

TEST_F(WorkbenchTest, EveryHeaderHasATitleAndHelpInTheResources) {
  for (const char* v : {"VEK_ENABLE_KWFENN_TOOLBAR", "VEK_VERSION_REPORT_CMD", "VEK_STATIC_VERIFICATION_CMD",
                        "VEK_MfgAssy_ODT_CMD", "WexVEK_ACTIVITY_INCRLOAD"})
    env.Set(v, "1");
  Enter();
  const auto list = TavCommandHeader::GetList();
  ASSERT_EQ(list.size(), 36u);
  for (auto* h : list) {
    SCOPED_TRACE(h->GetID().utf8());
    auto title = host::HeaderTitle(*h);
    EXPECT_TRUE(title.Found());
    EXPECT_EQ(title.level, 0);
    EXPECT_NE(title.text, h->GetID().utf8());
    EXPECT_TRUE(host::HeaderHelp(*h).Found());
  }
}

TEST_F(WorkbenchTest, DescriptionOfTheDefaultWorkbenchMatchesTheGolden) {
  env.Set("ADL_ODT_IN", "1");
  const std::string got = host::DescribeWorkbench(Enter());
  const fs::path golden = fs::path(WB_GOLDEN_DIR) / "default_local.txt";
  if (std::getenv("MIRT_UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << got;
  EXPECT_EQ(got, Slurp(golden));
}
