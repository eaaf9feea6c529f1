// Creating and firing the catalogue's commands: placeholders for classes not
// built yet, real classes preferred, unknown classes and refused headers.
#include "HostEngine.h"
#include "MirtCommands.h"
#include "TavModules.h"
#include "WbFixture.h"

namespace {

class CommandsTest : public WorkbenchTest {
protected:
  host::HostEngine engine;
};

// A stand-in for a class some library builds for real.
class RealCommand : public TavStateCommand {
public:
  RealCommand() : TavStateCommand("Real") {}
  void BuildGraph() override { End(); }
};

}  // namespace

TEST_F(CommandsTest, EveryCatalogueClassIsCreatableUnderBothModuleNames) {
  ASSERT_EQ(MirtCommandClasses().size(), 63u);
  auto& r = TavModuleRegistry::Get();
  for (const auto& cls : MirtCommandClasses())
    for (const char* module : kMirtModules) {
      std::string error;
      EXPECT_NE(r.Create(module, cls, &error), nullptr) << module << "/" << cls << ": " << error;
    }
}

TEST_F(CommandsTest, PlaceholderTellsTheUserAndEnds) {
  auto& r = TavModuleRegistry::Get();
  ASSERT_TRUE(r.IsPlaceholder("Mirtcommands", "OrvVekModificationTableCmd"));
  std::string error;
  ASSERT_TRUE(engine.Start("Mirtcommands", "OrvVekModificationTableCmd", &error)) << error;
  EXPECT_EQ(engine.RunningCommand(), nullptr);  // ended at once
  EXPECT_EQ(engine.LastEndedCommand(), "OrvVekModificationTableCmd");
  ASSERT_EQ(engine.Messages().size(), 1u);
  const auto& m = engine.Messages()[0];
  EXPECT_EQ(m.kind, "information");
  EXPECT_EQ(m.title, "Command not available");
  EXPECT_EQ(m.text, "The command OrvVekModificationTableCmd is not available in this build.");
}

TEST_F(CommandsTest, RealClassesWinOverPlaceholdersWhicheverRegistersFirst) {
  auto& r = TavModuleRegistry::Get();
  auto real = []() -> std::unique_ptr<TavStateCommand> { return std::make_unique<RealCommand>(); };
  // Registered later than the placeholders, under one module name only.
  r.Register("OrvVekPlanner", "OrvVekHideShowCmd", real);
  EXPECT_FALSE(r.IsPlaceholder("OrvVekPlanner", "OrvVekHideShowCmd"));
  EXPECT_EQ(r.Create("OrvVekPlanner", "OrvVekHideShowCmd")->GetName(), "Real");
  // The other name's placeholder hands over to it.
  EXPECT_TRUE(r.IsPlaceholder("Mirtcommands", "OrvVekHideShowCmd"));
  EXPECT_EQ(r.Create("Mirtcommands", "OrvVekHideShowCmd")->GetName(), "Real");
  // Registered before: a placeholder never replaces a real class.
  r.RegisterPlaceholder("OrvVekPlanner", "OrvVekHideShowCmd",
                        [] { return std::make_unique<TavUnavailableCommand>("OrvVekHideShowCmd"); });
  EXPECT_EQ(r.Create("OrvVekPlanner", "OrvVekHideShowCmd")->GetName(), "Real");
}

TEST_F(CommandsTest, FiringAHeaderRunsItsCommandClass) {
  Enter();
  std::string error;
  ASSERT_TRUE(workbenches.Fire("WexDDPCrossHighlight", &error)) << error;
  ASSERT_TRUE(engine.RunningCommand());
  EXPECT_EQ(engine.RunningCommand()->GetName(), "OrvVekCrossHighlightCmd");
  EXPECT_TRUE(engine.Messages().empty());
  // A class not built yet tells the user so and ends.
  ASSERT_TRUE(workbenches.Fire("WexDDPFeedByAnotherProc", &error)) << error;
  EXPECT_EQ(engine.Messages().back().text, "The command TavSPPFeedByProcessAct is not available in this build.");
  EXPECT_EQ(engine.RunningCommand(), nullptr);
}

TEST_F(CommandsTest, UnknownClassUnavailableOrMissingHeaderIsRefusedClearly) {
  env.Set("WexVEK_ACTIVITY_INCRLOAD", "1");
  Enter();  // local document: the hub headers are unavailable
  std::string error;
  EXPECT_FALSE(workbenches.Fire("OrvVekLoadActivitiesFromHub", &error));
  EXPECT_EQ(error,
            "header 'OrvVekLoadActivitiesFromHub' cannot be fired: no command class 'OrvVekLoadActivitiesFromHub' "
            "in module 'Mirtcommands'");
  EXPECT_FALSE(workbenches.Fire("WexAutoReplanHdr", &error));
  EXPECT_EQ(error, "header 'WexAutoReplanHdr' (Automatic Replan) is unavailable");
  EXPECT_FALSE(workbenches.Fire("NoSuchHdr", &error));
  EXPECT_EQ(error, "no header 'NoSuchHdr' in workbench Mirt");
  EXPECT_TRUE(engine.Messages().empty());
}

TEST_F(CommandsTest, HeaderWithoutModuleFindsTheModuleDeclaringItsClass) {
  Enter();
  TavCommandHeader::AddToList(std::make_unique<TavCommandHeader>("NoModuleHdr", "OrvMfgKitCmd", 1));
  std::string error;
  ASSERT_TRUE(workbenches.Fire("NoModuleHdr", &error)) << error;
  // The kit command is built: it runs, waiting for picks.
  ASSERT_TRUE(engine.RunningCommand());
  EXPECT_EQ(engine.RunningCommand()->GetName(), "OrvMfgKitCmd");
}

TEST(Fire, WithoutAnEngineIsRefused) {
  RegisterWorkbenchModule();
  host::HostSession session;
  host::HostWorkbenches wbs;
  session.OpenDocument(host::HostDocument::Create(false));
  std::string error;
  ASSERT_TRUE(wbs.Enter("Mirt", &error)) << error;
  EXPECT_FALSE(wbs.Fire("WexDDPReplaceParts", &error));
  EXPECT_EQ(error, "header 'WexDDPReplaceParts' cannot be fired: no command engine is running");
}
