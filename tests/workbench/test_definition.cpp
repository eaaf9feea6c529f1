// The workbench definition: toolbars, submenus and headers in order under every
// combination of the environment switches.
#include <bitset>

#include "WbFixture.h"

namespace {

using Ids = std::vector<std::string>;

const Ids kToolsTlb = {"WexDDPFromScopesQm",   "WexDDPConstVerification", "WexDDPModificationTable",
                       "WexDDPReplaceParts",   "WexDDPCrossHighlight",    "WexDDPExportAsTavProductHdr"};
const Ids kFennTlb = {"WexDDPToFenn",           "WexDDPDailyShift",          "WexDDPMultiDaySchedule",
                      "WexDDPDailyShiftAssociate", "WexDDPDisAssociateShift", "WexDDPDeleteObject",
                      "WexDDPDailyShiftDelete", "WexDDPLearningCurve",       "WexDDPVaryingLaborQty",
                      "WexDDPRequireNRelLabor", "WexDDPZoneConsumption",     "WexDDPActivityLogReport",
                      "WexDDPSimulationRunStats", "WexDDPChartsNGraphReports", "WexDDPPartTraceReport"};
const Ids kMAOdtTlb = {"WexDDPMfgAssyAsChild", "OrvMfgAssyNotDirectChangeabl", "OrvAssyTypes", "OrvMARefEbom",
                       "OrvMADeleteRefEbom"};
const Ids kEKP = {"OrvEKPLoadEngIntentHdr", "WexAssignEngIntentHdr", "OrvEKPReconcileEIHdr", "WexAutoReplanHdr"};

// What one definition produced, captured before its host goes away.
struct Defined {
  std::vector<std::pair<std::string, Ids>> toolbars;
  std::map<std::string, Ids> menus;  // submenus shown as "> name"
  Ids headers;                       // the host's list, in creation order
  Ids droppedFenn;                   // placements dropped for the missing Fenn toolbar
  std::vector<std::pair<std::string, int>> toolbarArgs;  // flag * 10 + position
};

Defined Define(const std::map<std::string, std::string>& vars) {
  EnvGuard env;
  for (auto& [k, v] : vars) env.Set(k, v);
  RegisterWorkbenchModule();
  host::HostSession session;
  session.OpenDocument(host::HostDocument::Create(false));
  host::HostWorkbenches wbs;
  std::string error;
  EXPECT_TRUE(wbs.Enter("Mirt", &error)) << error;
  Defined d;
  const TavWorkbenchLayout* l = wbs.CurrentLayout();
  if (!l) return d;
  for (auto& t : l->toolbars) {
    Ids ids;
    for (auto& h : t.headers) ids.push_back(h.utf8());
    d.toolbars.emplace_back(t.name.utf8(), ids);
    d.toolbarArgs.emplace_back(t.secondName.utf8(), t.flag * 10 + t.position);
  }
  for (auto& m : l->menus) {
    Ids ids;
    for (auto& e : m.entries) ids.push_back((e.submenu ? "> " : "") + e.name.utf8());
    d.menus[m.name.utf8() + (m.parent.IsEmpty() ? "" : " < " + m.parent.utf8())] = ids;
  }
  for (auto* h : TavCommandHeader::GetList()) d.headers.push_back(h->GetID().utf8());
  for (auto& x : l->dropped)
    if (x.toolbar && x.container == "WexDDPFennTlb") d.droppedFenn.push_back(x.item.utf8());
  return d;
}

Ids Cat(std::initializer_list<Ids> parts) {
  Ids out;
  for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace

TEST(Definition, EverySwitchOffGivesTheAlwaysContent) {
  Defined d = Define({});
  const std::vector<std::pair<std::string, Ids>> toolbars = {
      {"WexDDPVEKToolsTlb", kToolsTlb},
      {"WexDDPUserDefinedActTlb", {"AddChildPhysicalActivity"}},
      {"OrvEKPCommandsTlb", kEKP}};
  EXPECT_EQ(d.toolbars, toolbars);
  EXPECT_EQ(d.menus["INSERT"], (Ids{"> WexDDPUserDefinedActMenu", "WexDDPFeedByAnotherProc"}));
  EXPECT_EQ(d.menus["TOOLS"], Cat({kToolsTlb, {"> OrvEKPCommandsMnu"}}));
  EXPECT_EQ(d.menus["WexDDPUserDefinedActMenu < INSERT"], Ids{"AddChildPhysicalActivity"});
  EXPECT_EQ(d.menus["OrvEKPCommandsMnu < TOOLS"], kEKP);
  EXPECT_EQ(d.menus.size(), 4u);
  // Headers 10 to 24 exist although their toolbar does not; their placements are dropped.
  EXPECT_EQ(d.headers, Cat({{"AddChildPhysicalActivity", "WexDDPFeedByAnotherProc", "OrvMASelectContentCmdHdr",
                             "WexDDPStaticVerif"},
                            kToolsTlb, kFennTlb, kEKP}));
  EXPECT_EQ(d.droppedFenn, kFennTlb);
  for (auto& [second, code] : d.toolbarArgs) {
    EXPECT_EQ(second, "");
    EXPECT_EQ(code, 13);
  }
}

TEST(Definition, EverySwitchOnGivesEveryToolbarAndHeaderInOrder) {
  Defined d = Define({{"VEK_ENABLE_KWFENN_TOOLBAR", "TRUE"},
                      {"VEK_VERSION_REPORT_CMD", "1"},
                      {"VEK_STATIC_VERIFICATION_CMD", "true"},
                      {"VEK_MfgAssy_ODT_CMD", "True"},
                      {"WexVEK_ACTIVITY_INCRLOAD", "1"}});
  const std::vector<std::pair<std::string, Ids>> toolbars = {
      {"WexDDPVEKToolsTlb", kToolsTlb},
      {"WexDDPFennTlb", kFennTlb},
      {"WexDDPUserDefinedActTlb", {"AddChildPhysicalActivity"}},
      {"WexVEKMAOdt", kMAOdtTlb},
      {"WexVEKActivitySpecial", {"OrvVekLoadActivitiesFromHub"}},
      {"OrvEKPCommandsTlb", kEKP}};
  EXPECT_EQ(d.toolbars, toolbars);
  EXPECT_EQ(d.menus["TOOLS"],
            Cat({kToolsTlb, {"WexDDPVersionReport", "WexDDPStaticVerif", "> OrvEKPCommandsMnu"}}));
  EXPECT_EQ(d.headers, Cat({{"AddChildPhysicalActivity", "WexDDPFeedByAnotherProc", "OrvMASelectContentCmdHdr",
                             "WexDDPStaticVerif"},
                            kToolsTlb, kFennTlb, {"WexDDPVersionReport"}, kMAOdtTlb,
                            {"OrvVekLoadActivitiesFromHub"}, kEKP}));
  EXPECT_EQ(d.headers.size(), 36u);  // the 35 of the catalogue and the host's own
  EXPECT_TRUE(d.droppedFenn.empty());
}

// Every combination of the five layout switches: each adds exactly its own part,
// in its place, whatever the others do.
TEST(Definition, SwitchCombinationsEachAddOnlyTheirOwnPart) {
  const char* vars[] = {"VEK_ENABLE_KWFENN_TOOLBAR", "VEK_VERSION_REPORT_CMD", "VEK_STATIC_VERIFICATION_CMD",
                        "VEK_MfgAssy_ODT_CMD", "WexVEK_ACTIVITY_INCRLOAD"};
  for (unsigned mask = 0; mask < 32; ++mask) {
    std::bitset<5> on(mask);
    std::map<std::string, std::string> set;
    for (int i = 0; i < 5; ++i) set[vars[i]] = on[i] ? "1" : "0";
    SCOPED_TRACE("switch mask " + on.to_string());
    Defined d = Define(set);

    Ids names;
    for (auto& [n, ids] : d.toolbars) names.push_back(n);
    Ids expected = {"WexDDPVEKToolsTlb"};
    if (on[0]) expected.push_back("WexDDPFennTlb");
    expected.push_back("WexDDPUserDefinedActTlb");
    if (on[3]) expected.push_back("WexVEKMAOdt");
    if (on[4]) expected.push_back("WexVEKActivitySpecial");
    expected.push_back("OrvEKPCommandsTlb");
    EXPECT_EQ(names, expected);

    Ids tools = kToolsTlb;
    if (on[1]) tools.push_back("WexDDPVersionReport");
    if (on[2]) tools.push_back("WexDDPStaticVerif");
    tools.push_back("> OrvEKPCommandsMnu");
    EXPECT_EQ(d.menus["TOOLS"], tools);

    const auto has = [&](const char* id) { return std::find(d.headers.begin(), d.headers.end(), id) != d.headers.end(); };
    EXPECT_EQ(has("WexDDPVersionReport"), on[1]);
    EXPECT_TRUE(has("WexDDPStaticVerif"));
    EXPECT_EQ(has("OrvAssyTypes"), on[3]);
    EXPECT_EQ(has("OrvVekLoadActivitiesFromHub"), on[4]);
    EXPECT_EQ(d.droppedFenn.size(), on[0] ? 0u : kFennTlb.size());
    EXPECT_EQ(d.headers.size(), 29u + (on[1] ? 1 : 0) + (on[3] ? 5 : 0) + (on[4] ? 1 : 0));
  }
}

TEST(Definition, SwitchIsOnOnlyForTrueOrOneInAnyCase) {
  struct Case {
    const char* value;
    bool on;
  };
  const Case cases[] = {{"true", true},  {"TRUE", true},  {"tRuE", true},   {"1", true},
                        {"yes", false},  {"0", false},    {"", false},      {" true", false},
                        {"1 ", false},   {"11", false},   {"truex", false}, {"on", false}};
  for (auto& c : cases) {
    SCOPED_TRACE(std::string("value '") + c.value + "'");
    Defined d = Define({{"VEK_ENABLE_KWFENN_TOOLBAR", c.value}});
    const bool fenn = std::any_of(d.toolbars.begin(), d.toolbars.end(), [](auto& t) { return t.first == "WexDDPFennTlb"; });
    EXPECT_EQ(fenn, c.on);
  }
}

TEST_F(WorkbenchTest, StaticVerificationHeaderExistsButIsInNoMenuWhenOff) {
  const TavWorkbenchLayout& l = Enter();
  TavCommandHeader* h = TavCommandHeader::GetHeaderFromList("WexDDPStaticVerif", 0);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->GetClassName(), "OrvStaticPVCommand");
  const auto placed = l.PlacedHeaders();
  EXPECT_EQ(std::find(placed.begin(), placed.end(), TavUnicodeString("WexDDPStaticVerif")), placed.end());
  // Header 2 is never placed either.
  EXPECT_EQ(std::find(placed.begin(), placed.end(), TavUnicodeString("OrvMASelectContentCmdHdr")), placed.end());
}

TEST_F(WorkbenchTest, HeadersCarryTheirModuleClassAndInitialState) {
  env.Set("VEK_MfgAssy_ODT_CMD", "1");
  Enter();
  struct Expect {
    const char* id;
    const char* module;
    const char* cls;
  };
  const Expect expects[] = {
      {"WexDDPFeedByAnotherProc", kTavHostCommandModule, "TavSPPFeedByProcessAct"},
      {"OrvMASelectContentCmdHdr", "OrvVekPlanner", "OrvMASelectContentCmd"},
      {"WexDDPFromScopesQm", "OrvVekPlanner", "TavMirtParseProcessFile"},
      {"WexDDPExportAsTavProductHdr", kTavHostCommandModule, "TavSPPExportProductCmd"},
      {"WexDDPPartTraceReport", kTavHostCommandModule, "WexKwtoFENNPartTraceStatsXmlCmd"},
      {"OrvMfgAssyNotDirectChangeabl", "Mirtcommands", "OrvMfgAssyNotDirectChangeableCmd"},
      {"OrvMADeleteRefEbom", "Mirtcommands", "OrvMADeleteRefEbomCmd"},
      {"WexAutoReplanHdr", kTavHostCommandModule, "WexAutoReplanCmd"},
  };
  for (auto& e : expects) {
    SCOPED_TRACE(e.id);
    TavCommandHeader* h = TavCommandHeader::GetHeaderFromList(e.id, 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->GetModuleName(), e.module);
    EXPECT_EQ(h->GetClassName(), e.cls);
    EXPECT_EQ(h->GetArgument(), nullptr);
    EXPECT_EQ(h->GetInitialState(), 1);
    EXPECT_EQ(h->GetFW(), "OrvVekPlanner");
  }
}

TEST_F(WorkbenchTest, Header27IsKeyedByItsCutIdentifier) {
  env.Set("VEK_MfgAssy_ODT_CMD", "1");
  Enter();
  TavCommandHeader* h = TavCommandHeader::GetHeaderFromList("OrvMfgAssyNotDirectChangeabl", 0);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->GetID().size(), 28u);
  EXPECT_EQ(TavCommandHeader::GetHeaderFromList("OrvMfgAssyNotDirectChangeable", 0), nullptr);
  host::HeaderText title = host::HeaderTitle(*h);
  EXPECT_TRUE(title.Found());
  EXPECT_EQ(title.file, "WexDDPHeader");
}

TEST_F(WorkbenchTest, DefinitionRunsOnceAcrossEntries) {
  const TavWorkbenchLayout& first = Enter();
  const std::size_t headers = TavCommandHeader::GetList().size();
  const std::size_t toolbars = first.toolbars.size();
  workbenches.Leave();
  env.Set("VEK_MfgAssy_ODT_CMD", "1");  // read at definition only
  const TavWorkbenchLayout& again = Enter();
  EXPECT_EQ(&first, &again);
  EXPECT_EQ(again.toolbars.size(), toolbars);
  EXPECT_EQ(TavCommandHeader::GetList().size(), headers);
  EXPECT_EQ(workbenches.EntryCount("Mirt"), 2);
}

TEST_F(WorkbenchTest, AddinsOfTheWorkbenchInterfaceContributeAfterItsContent) {
  struct Addin : TavIWorkbenchAddin {
    void CreateCommands() override {
      TavCommandHeader::AddToList(std::make_unique<TavCommandHeader>("AddinHdr", "AddinModule", "AddinCmd", 1));
    }
    void CreateToolbars(OrvECommonWkbAdapter& wb) override {
      wb.AppendToolbar("AddinTlb", "", 1, 3);
      wb.AppendCmdHdr("AddinHdr", "AddinTlb", "TOOLS", 0);
    }
  };
  const int token = TavWorkbenchAddins::Register("TavIMirtConfigurationAddin", [] { return std::make_shared<Addin>(); });
  const int other = TavWorkbenchAddins::Register("TavIOtherConfigurationAddin", [] { return std::make_shared<Addin>(); });
  const TavWorkbenchLayout& l = Enter();
  TavWorkbenchAddins::Unregister(token);
  TavWorkbenchAddins::Unregister(other);
  ASSERT_FALSE(l.toolbars.empty());
  EXPECT_EQ(l.toolbars.back().name, "AddinTlb");
  EXPECT_EQ(l.FindMenu("TOOLS")->entries.back().name, "AddinHdr");
  // Only the add-in of the workbench's own interface contributed.
  const auto& tools = l.FindMenu("TOOLS")->entries;
  EXPECT_EQ(std::count_if(tools.begin(), tools.end(), [](auto& e) { return e.name == "AddinHdr"; }), 1);
}
