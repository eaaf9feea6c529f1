// What the assembly commands see of the session: redraws recorded among the
// notifications, the preview window in the layout, and the script statements
// `expect refused` and `print tree` of an assembly.
#include <sstream>

#include "AssemblyPlant.h"
#include "HostProducts.h"
#include "HostScript.h"
#include "HostWindows.h"
#include "PreviewWindow.h"
#include "TavPlanner.h"

using namespace host;

namespace {

struct Session : ::testing::Test {
  std::ostringstream out;
  ScriptRunner r{out};
  Ref<HostDocument> doc = LoadPlantText(kAssemblyPlant);
  Ref<HostEditor> ed = r.Session().OpenDocument(doc);
  ~Session() override {
    for (auto& w : HostWindows::Get().Windows()) HostWindows::Get().Close(w);
  }
  bool Run(const std::string& text) { return r.RunText(text, "s.mirt"); }
};

TEST_F(Session, RedrawsAreRecorded) {
  NotificationsOf(*doc)->Take();
  auto target = AssemblyOf(*doc, "target");
  auto redraw = query<TavIRedrawEvent>(target);
  ASSERT_TRUE(redraw);
  redraw->Redraw();
  auto container = query<TavIRedrawEvent>(doc->GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName));
  ASSERT_TRUE(container);
  container->Redraw();
  target->SetName("FrontDoorAssy");  // the line names it as it is when read
  EXPECT_EQ(NotificationsOf(*doc)->Take(),
            (std::vector<std::string>{"assembly redrawn: Assemblies/FrontDoorAssy", "assemblies redrawn"}));
}

TEST_F(Session, PreviewWindowsAreWindowsOfTheLayout) {
  auto first = VEKPreviewWindow::Open(ed);
  auto second = VEKPreviewWindow::Open(ed);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(std::dynamic_pointer_cast<HostWindow>(first)->GetBaseName(), "Preview.1");
  EXPECT_EQ(std::dynamic_pointer_cast<HostWindow>(second)->GetBaseName(), "Preview.2");
  EXPECT_TRUE(first->IsVisible());
  first->SetItems({ProductOf(*doc, "door"), ProductOf(*doc, "rb")});
  first->SetVisible(false);
  ASSERT_TRUE(Run("print window Preview.1\n")) << r.Error();
  EXPECT_EQ(out.str(), "window Preview.1\n  hidden\n  item Products/Body.1/Door.1\n  item Resources/Station.1/Robot.1\n");

  // The user's close ends it: it shows nothing, takes nothing, and the name is gone.
  ASSERT_TRUE(Run("window close Preview.1\n")) << r.Error();
  EXPECT_TRUE(first->IsClosed());
  EXPECT_FALSE(first->IsVisible());
  EXPECT_TRUE(first->GetItems().empty());
  first->SetItems({ProductOf(*doc, "door")});
  first->SetVisible(true);
  EXPECT_TRUE(first->GetItems().empty());
  EXPECT_FALSE(first->IsVisible());
  EXPECT_FALSE(HostWindows::Get().Find("Preview.1"));

  // Closed by the program, and with its plant.
  second->Close();
  EXPECT_TRUE(second->IsClosed());
  auto third = VEKPreviewWindow::Open(ed);
  EXPECT_EQ(std::dynamic_pointer_cast<HostWindow>(third)->GetBaseName(), "Preview.3");
  ASSERT_TRUE(Run("close --discard\n")) << r.Error();
  EXPECT_TRUE(third->IsClosed());
  EXPECT_FALSE(VEKPreviewWindow::Open(nullptr));
}

// A command taking assemblies other than DoorAssy.
class TakesAssemblies : public TavStateCommand {
public:
  TavPathElementAgent pick{"SelectMa"};
  TakesAssemblies() : TavStateCommand("TakesAssemblies") {}
  void BuildGraph() override {
    pick.AddElementType("OrvIMfgAssembly");
    pick.SetFilter([this](TavAcquisitionAgent*) {
      auto ma = query<OrvIMfgAssembly>(pick.GetValueObject());
      return ma && ma->GetName() != "DoorAssy";
    });
    auto* s = GetInitialState("initialState");
    s->AddDialogAgent(&pick);
    auto* done = AddDialogState("Done");
    AddTransition(s, done, IsOutputSetCondition(&pick));
  }
};

TEST_F(Session, ExpectRefusedNeedsARefusal) {
  EXPECT_FALSE(Run("expect refused Assemblies/DoorAssy\n"));
  EXPECT_EQ(r.Error(), "s.mirt:1: expectation failed: no command is running to refuse Assemblies/DoorAssy");
  std::string err;
  ASSERT_TRUE(r.Engine().StartCommand(std::make_unique<TakesAssemblies>(), &err)) << err;
  // Refused by the filter, and by kind: the script goes on, the command still waits.
  ASSERT_TRUE(Run("expect refused Assemblies/DoorAssy\nexpect refused Products/Body.1\nexpect running initialState\n"))
      << r.Error();
  EXPECT_FALSE(Run("expect refused Assemblies/BodyAssy\n"));
  EXPECT_EQ(r.Error(), "s.mirt:1: expectation failed: the pick of Assemblies/BodyAssy was taken");
}

TEST_F(Session, AnAssemblyPrintsWithItsFieldsAndContent) {
  auto kit = AssemblyOf(*doc, "kit");
  kit->SetNotDirectlyChangeable(true);
  ASSERT_TRUE(Run("print tree Assemblies/StationKit\nprint tree Assemblies/StationKit --depth 1\nprint tree Assemblies\n"))
      << r.Error();
  EXPECT_EQ(out.str(),
            "StationKit (type 2 ManufacturingKit, plan type StationKit, not directly changeable)\n"
            "  DoorAssy [MA-1] (type 1 Assembly)\n"
            "    Products/Body.1/Door.1\n"
            "    Products/Body.1/Hinge.1\n"
            "  Resources/Station.1/Robot.1\n"
            "StationKit (type 2 ManufacturingKit, plan type StationKit, not directly changeable)\n"
            "  DoorAssy [MA-1] (type 1 Assembly)\n"
            "  Resources/Station.1/Robot.1\n"
            "Assemblies\n"
            "  DoorAssy (type 1)\n"
            "  BodyAssy (type 1)\n"
            "  StationKit (type 2, plan type StationKit, not directly changeable)\n");
}

}  // namespace
