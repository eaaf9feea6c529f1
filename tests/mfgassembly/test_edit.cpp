// The double-click editor of assemblies, the content selection and the type command.
#include "MfgAssyPlant.h"
#include "OrvAssyTypesCmd.h"
#include "OrvMASelectContentCmd.h"
#include "OrvMfgAssyEdit.h"
#include "OrvMfgKitCmd.h"

namespace {

struct AssemblyEdit : MfgAssyPlant {
  HRESULT DoubleClick(const std::string& id) {
    auto editor = query<TavIEditExtension>(Obj(id));
    return editor ? editor->Activate(doc->PathOf(Obj(id))) : E_NOINTERFACE;
  }
};

TEST_F(AssemblyEdit, ANotDirectlyChangeableAssemblyExplainsItselfAndOpensNothing) {
  MA("kit")->SetNotDirectlyChangeable(true);
  EXPECT_EQ(DoubleClick("kit"), S_FALSE);
  EXPECT_FALSE(engine.RunningCommand());
  ASSERT_EQ(MessageNames(), std::vector<std::string>{"ASTErrorWindow"});
  const auto& m = engine.Messages()[0];
  EXPECT_EQ(m.kind, "error");
  EXPECT_EQ(m.title, "Error");
  EXPECT_NE(m.text.find("manufacturing kit DoorKit is not directly changeable"), std::string::npos) << m.text;
  // The type chooses the word.
  MA("ma")->SetNotDirectlyChangeable(true);
  MA("ma")->SetType(4);
  DoubleClick("ma");
  EXPECT_NE(engine.Messages().back().text.find("AST DoorAssy"), std::string::npos);
}

TEST_F(AssemblyEdit, AKitOpensTheKitCommandAndAnyOtherAssemblyTheAssemblyCommand) {
  ASSERT_EQ(DoubleClick("kit"), S_OK);
  auto* kit = dynamic_cast<OrvMfgKitCmd*>(engine.RunningCommand());
  ASSERT_TRUE(kit);
  EXPECT_TRUE(kit->IsEditMode());
  EXPECT_EQ(Rows(kit->Dialog()), "P|Roof.1");
  EXPECT_EQ(kit->Dialog()->GetMAPartNumber().utf8(), "K-1");
  ASSERT_EQ(DoubleClick("ma"), S_OK);
  auto* cmd = engine.RunningCommand();
  ASSERT_TRUE(cmd);
  EXPECT_EQ(cmd->GetName(), "OrvMfgAssyCmd");
  EXPECT_EQ(Rows(static_cast<OrvMfgAssyCmd*>(cmd)->Dialog()), "|Door.1 |HingeAssy");
}

TEST_F(AssemblyEdit, SelectContentPutsEachPartInItsProductContext) {
  MA("ma")->AddPart(Obj("robot"));
  Start(std::make_unique<OrvMASelectContentCmd>());
  auto& cso = TavFrmEditor::GetCurrentEditor()->GetCSO();
  cso.AddElement(doc->PathOf(Obj("kit")));
  ASSERT_TRUE(Pick("ma"));
  EXPECT_EQ(Running(), "ended");
  ASSERT_EQ(cso.GetSize(), 3);
  EXPECT_EQ(cso.Items()[0], doc->PathOf(Obj("door")));
  EXPECT_EQ(cso.Items()[0].GetSize(), 2);  // Body/Door.1
  EXPECT_EQ(cso.Items()[1], doc->PathOf(Obj("inner")));
  EXPECT_EQ(cso.Items()[2], doc->PathOf(Obj("robot")));
}

TEST_F(AssemblyEdit, TheTypeCommandShowsTheTypeAndOKSetsTheChosenOne) {
  auto* cmd = Start(std::make_unique<OrvAssyTypesCmd>());
  ASSERT_TRUE(Pick("kit"));
  EXPECT_EQ(Running(), "DialogState");
  auto* d = cmd->Dialog();
  EXPECT_TRUE(d->IsVisible());
  EXPECT_EQ(d->GetType(), 2);
  d->Radio(4)->SetState(true, true);
  EXPECT_FALSE(d->Radio(2)->GetState());
  d->Notify(TavDlgNotification::OK);
  EXPECT_EQ(Running(), "ended");
  EXPECT_EQ(MA("kit")->GetType(), 4);
  // Cancel changes nothing.
  cmd = Start(std::make_unique<OrvAssyTypesCmd>());
  ASSERT_TRUE(Pick("ma"));
  cmd->Dialog()->Radio(3)->SetState(true, true);
  cmd->Dialog()->Notify(TavDlgNotification::Cancel);
  EXPECT_EQ(MA("ma")->GetType(), 1);
}

}  // namespace
