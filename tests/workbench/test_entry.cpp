// Entering the workbench: factory, header availability by document kind and
// environment, marker, transitions and the host's refusals.
#include "Mirt.h"
#include "MirtFactory.h"
#include "TavMarkerWB.h"
#include "WbFixture.h"

namespace {

class LateTyped final : public virtual TavBaseUnknown {
public:
  explicit LateTyped(std::string t) : t_(std::move(t)) {}
  std::string LateType() const override { return t_; }

private:
  std::string t_;
};

std::string MarkerWorkbench() {
  auto marker = query<TavIMarkerWorkbench>(std::make_shared<LateTyped>("Mirt_mark"));
  EXPECT_NE(marker, nullptr);
  return marker ? marker->GetWorkbenchName().utf8() : "?";
}

const char* const kSwitched[] = {"WexDDPFeedByAnotherProc", "OrvEKPLoadEngIntentHdr", "WexAssignEngIntentHdr",
                                 "OrvEKPReconcileEIHdr",    "WexAutoReplanHdr",       "WexDDPModificationTable"};

}  // namespace

TEST_F(WorkbenchTest, AvailabilityFollowsDocumentKindAndVariables) {
  struct Case {
    bool hub;
    const char* adl;     // null: undefined
    const char* zarnet;  // null: undefined
    std::string expected;  // one digit per header of kSwitched
  };
  const Case cases[] = {
      {true, nullptr, nullptr, "011111"}, {true, "0", nullptr, "011111"},  {true, nullptr, "", "011111"},
      {false, nullptr, nullptr, "100000"}, {false, "0", nullptr, "100000"}, {false, "1", nullptr, "101100"},
      {false, "0abc", nullptr, "100000"}, {false, "10", nullptr, "101100"}, {false, "no", nullptr, "101100"},
      {false, "", nullptr, "101100"},     {false, nullptr, "", "100001"},   {false, nullptr, "0", "100001"},
      {false, "1", "yes", "101101"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(std::string(c.hub ? "hub" : "local") + " ADL_ODT_IN=" + (c.adl ? c.adl : "(undefined)") +
                 " VEK_ENABLE_ZARNET=" + (c.zarnet ? c.zarnet : "(undefined)"));
    c.adl ? env.Set("ADL_ODT_IN", c.adl) : env.Unset("ADL_ODT_IN");
    c.zarnet ? env.Set("VEK_ENABLE_ZARNET", c.zarnet) : env.Unset("VEK_ENABLE_ZARNET");
    Open(c.hub);
    Enter();  // each entry switches again, whatever the previous one left
    std::string got;
    for (const char* id : kSwitched) got += Available(id) ? '1' : '0';
    EXPECT_EQ(got, c.expected);
  }
}

TEST_F(WorkbenchTest, HubDocumentFromCreateTrueMakesHubHeadersAvailable) {
  Open(true);
  Enter();
  EXPECT_FALSE(Available("WexDDPFeedByAnotherProc"));
  EXPECT_TRUE(Available("WexAutoReplanHdr"));
  // Back in a local document the next entry switches them back.
  Open(false);
  Enter();
  EXPECT_TRUE(Available("WexDDPFeedByAnotherProc"));
  EXPECT_FALSE(Available("WexAutoReplanHdr"));
  // Headers outside the switched set keep their initial state.
  EXPECT_TRUE(Available("WexDDPCrossHighlight"));
}

TEST_F(WorkbenchTest, WithoutADocumentEntryLeavesTheInitialStates) {
  std::string error;
  ASSERT_TRUE(workbenches.Enter("Mirt", &error)) << error;  // no editor is open
  for (const char* id : kSwitched) EXPECT_TRUE(Available(id)) << id;
}

TEST_F(WorkbenchTest, MarkerNamesTheCurrentWorkbenchOfWSPROC) {
  auto marker = query<TavIMarkerWorkbench>(std::make_shared<LateTyped>("Mirt_mark"));
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->GetWorkshopName(), "WSPROC");
  EXPECT_EQ(MarkerWorkbench(), "");
  Enter();
  EXPECT_EQ(MarkerWorkbench(), "Mirt");
  EXPECT_EQ(workbenches.CurrentWorkbenchName(), "Mirt");
  workbenches.Leave();
  EXPECT_EQ(MarkerWorkbench(), "");
  EXPECT_EQ(workbenches.CurrentLayout(), nullptr);
}

TEST(Marker, WalksTheWorkshopListToWSPROC) {
  TavCmdWorkshop::ClearGlobal();
  TavMarkerWB m;
  EXPECT_EQ(m.GetWorkbenchName(), "");
  // A workshop listed before WSPROC, with a current workbench of its own, is passed over.
  TavCmdWorkshop* res = TavCmdWorkshop::AddGlobal(std::make_unique<TavCmdWorkshop>("WSRES"));
  res->SetCurrentWorkbench(res->AddWorkbench("Layout"));
  EXPECT_EQ(m.GetWorkbenchName(), "");
  TavCmdWorkshop* proc = TavCmdWorkshop::AddGlobal(std::make_unique<TavCmdWorkshop>("WSPROC"));
  EXPECT_EQ(TavCmdWorkshop::AddGlobal(std::make_unique<TavCmdWorkshop>("WSPROC")), proc);  // one per name
  EXPECT_EQ(m.GetWorkbenchName(), "");
  proc->SetCurrentWorkbench(proc->AddWorkbench("Mirt"));
  EXPECT_EQ(m.GetWorkbenchName(), "Mirt");
  TavCmdWorkshop::ClearGlobal();
  EXPECT_EQ(m.GetWorkbenchName(), "");
  // A workshop entry that names a workbench of another workshop is refused.
  TavCmdWorkshop a("A"), b("B");
  EXPECT_FALSE(a.SetCurrentWorkbench(b.AddWorkbench("X")));
  EXPECT_EQ(a.GetCurrentWorkbench(), nullptr);
}

TEST(Factory, SupportIsExactlyMirt) {
  MirtFactory f;
  EXPECT_TRUE(f.Support("Mirt"));
  for (const char* n : {"mirt", "MIRT", "Mirt ", " Mirt", "", "Mirt2", "Mir"}) EXPECT_FALSE(f.Support(n)) << n;
}

TEST(Factory, CreateGivesTheInterfaceOrNull) {
  RegisterWorkbenchModule();
  MirtFactory f;
  std::weak_ptr<TavBaseUnknown> alive;
  {
    Ref<TavBaseUnknown> conf = f.Create("TavIWSPROCConfiguration");
    ASSERT_NE(conf, nullptr);
    auto mirt = std::dynamic_pointer_cast<Mirt>(conf);
    ASSERT_NE(mirt, nullptr);
    EXPECT_EQ(mirt->GetWorkbenchName(), "Mirt");
    EXPECT_EQ(mirt->GetMode(), 2);
    EXPECT_EQ(mirt->GetAddinInterface(), "TavIMirtConfigurationAddin");
    std::vector<std::string> d1, c1, d2, c2;
    mirt->GetCustomInterfaces(d1, c1);
    OrvEProcessWkbAdapter plain("X", 2);
    plain.GetCustomInterfaces(d2, c2);
    EXPECT_EQ(d1, d2);
    EXPECT_EQ(c1, c2);
    alive = conf;
  }
  EXPECT_TRUE(alive.expired());  // the factory kept no reference of its own
  EXPECT_NE(f.Create("TavIWorkbenchConfiguration"), nullptr);
  EXPECT_NE(f.Create("TavBaseUnknown"), nullptr);
  EXPECT_EQ(f.Create("TavIMirtConfigurationAddin"), nullptr);  // its name is returned, not implemented
  EXPECT_EQ(f.Create("TavINoSuchInterface"), nullptr);
  EXPECT_EQ(f.Create(""), nullptr);
}

TEST_F(WorkbenchTest, FactoryIsAnExtensionOfTheApplicationFrame) {
  auto factory = workbenches.ApplicationFrame()->QueryInterface("TavIMirtConfigurationFactory");
  ASSERT_NE(factory, nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<MirtFactory>(factory), nullptr);
  EXPECT_TRUE(SameObject(factory, workbenches.ApplicationFrame()));
}

TEST_F(WorkbenchTest, UnknownWorkbenchOrWorkshopIsRefusedWithAMessage) {
  std::string error;
  EXPECT_FALSE(workbenches.Enter("mirt", &error));
  EXPECT_NE(error.find("no workbench 'mirt'"), std::string::npos) << error;
  EXPECT_NE(error.find("Mirt"), std::string::npos) << error;
  EXPECT_FALSE(workbenches.Enter("Mirt", &error, "WSNONE"));
  EXPECT_EQ(error, "no workshop 'WSNONE'");
  EXPECT_TRUE(TavCommandHeader::GetList().empty());
}

namespace {
// A second process workbench of WSPROC, to switch to and from.
class OtherWorkbench : public OrvEProcessWkbAdapter, public virtual TavIWSPROCConfiguration {
public:
  OtherWorkbench() : OrvEProcessWkbAdapter("Other", 2) {}
};
class OtherFactory : public TavWorkshopConfigurationFactory, public virtual TavIGenericFactory {
public:
  using TavWorkshopConfigurationFactory::TavWorkshopConfigurationFactory;
  bool Support(const TavUnicodeString& n) override { return n == "Other"; }
  Ref<TavBaseUnknown> Create(const TavUnicodeString& i) override {
    Ref<TavBaseUnknown> wb = std::make_shared<OtherWorkbench>();
    return wb->QueryInterface(i.utf8());
  }
};
void DeclareOther() {
  TavWorkbenchDictionary::Declare("WSPROC", "Other", "TavIOtherConfigurationFactory");
  TavExtensionRegistry::Get().Register(kTavApplicationFrameLateType, "TavIOtherConfigurationFactory",
                                       [](const Ref<TavBaseUnknown>& f) -> Ref<TavBaseUnknown> {
                                         return std::make_shared<OtherFactory>(f);
                                       });
}
}  // namespace

TEST_F(WorkbenchTest, SwitchingBackKeepsTheDocumentOnceInitSetTheFlag) {
  DeclareOther();
  Open(false);
  std::string error;
  ASSERT_TRUE(workbenches.Enter("Other", &error)) << error;
  ASSERT_TRUE(workbenches.Enter("Mirt", &error)) << error;
  EXPECT_EQ(workbenches.LastTransition(), S_FALSE);  // Mirt's Init has not run yet
  ASSERT_TRUE(workbenches.Enter("Other", &error)) << error;
  EXPECT_EQ(workbenches.CurrentWorkbenchName(), "Other");
  ASSERT_TRUE(workbenches.Enter("Mirt", &error)) << error;
  EXPECT_EQ(workbenches.LastTransition(), S_OK);
  EXPECT_EQ(workbenches.EntryCount("Mirt"), 2);
  // Both workbenches share the host's headers; the standard one was created once.
  const auto list = TavCommandHeader::GetList();
  EXPECT_EQ(std::count_if(list.begin(), list.end(),
                          [](TavCommandHeader* h) { return h->GetID() == "AddChildPhysicalActivity"; }),
            1);
}
