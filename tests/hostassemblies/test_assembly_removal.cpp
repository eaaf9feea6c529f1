// An assembly taken out of its document leaves nothing naming it: other assemblies'
// content, activity relations and outputs, behaviours, fasteners, the states it owns
// and the editors' selection sets. Undo puts the model back (not the selections),
// redo takes it out again; nothing is kept alive once the document goes.
#include "AssemblyPlant.h"
#include "HostAssignment.h"
#include "HostCompare.h"
#include "HostRelationIndex.h"
#include "HostRuntime.h"
#include "HostStates.h"
#include "HostUndo.h"
#include "TavFlow.h"

using namespace host;

namespace {

struct Removal : ::testing::Test {
  HostSession session;
  Ref<HostDocument> doc = LoadPlantText(kAssemblyPlant);
  Ref<HostEditor> ed = session.OpenDocument(doc);
  Ref<HostAssembly> target = AssemblyOf(*doc, "target");

  Ref<HostBehavior> Behavior() const { return AssignmentOf(*doc, false)->BehaviorOf(*ProductOf(*doc, "rb")); }
  Ref<HostState> State(const std::string& id) const { return std::dynamic_pointer_cast<HostState>(doc->FindById(id)); }
  bool Remove() {
    UndoJournal& j = doc->Journal();
    j.Begin();
    const bool removed = doc->Assemblies().RemoveAssembly(target) == S_OK;
    EXPECT_TRUE(j.Commit("remove assembly"));
    return removed;
  }
  // Everything the model keeps that could name the assembly.
  void ExpectNothingNamesIt() {
    for (auto& a : doc->Assemblies().assemblies_) EXPECT_FALSE(a->HasPart(target.get())) << a->Name().utf8();
    EXPECT_TRUE(RelationIndex::Of(*doc)->Naming(target.get()).empty());
    for (auto& r : std::dynamic_pointer_cast<HostActivity>(doc->FindById("a1"))->Relations())
      EXPECT_NE(r->GetTarget(), target) << r->GetRelationType().utf8();
    EXPECT_EQ(Behavior()->IsItemAssigned(target), S_FALSE);
    EXPECT_EQ(Behavior()->GetInputItems().size(), 1u);  // the door stays
    auto* fasteners = FastenersOf(*doc, false);
    std::vector<Ref<TavBaseUnknown>> of;
    EXPECT_EQ(fasteners->GetFastenersOfPart(target, of), S_OK);
    EXPECT_TRUE(of.empty());
    for (auto& f : fasteners->Fasteners())
      for (auto& o : fasteners->RelatedTo(*f)) EXPECT_NE(o, target) << f->GetName().utf8();
    EXPECT_FALSE(State("s_ready"));  // gone with its owner, and from the definition using it
    EXPECT_TRUE(State("s_line")->Definition().empty());
    for (TavSelectionSet* set : {&ed->GetCSO(), &ed->GetHSO(), &ed->GetPSO()})
      for (auto& p : set->Items())
        for (auto& o : p.Objects()) EXPECT_NE(o, target) << set->GetName();
    EXPECT_FALSE(doc->FindById("target"));
    EXPECT_TRUE(doc->Resolve("Assemblies/DoorAssy").IsEmpty());
    // And the file, which writes every reference the plant keeps.
    const std::string saved = SerializePlant(*doc);
    EXPECT_EQ(saved.find("\"target\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("s_ready"), std::string::npos) << saved;
  }
};

TEST_F(Removal, NothingNamesItAfterwardsAndUndoPutsItAllBack) {
  const TavPathElement path = doc->PathOf(target), door = doc->Resolve("Products/Body.1/Door.1");
  ASSERT_FALSE(path.IsEmpty());
  ed->GetCSO().AddElement(path);
  ed->GetCSO().AddElement(door);
  ed->GetHSO().AddElement(path);
  ed->GetPSO().AddElement(path);
  ed->SetActivePath(path);
  const std::string before = SerializePlant(*doc);

  ASSERT_TRUE(Remove());
  ExpectNothingNamesIt();
  EXPECT_EQ(ed->GetCSO().GetSize(), 1);
  EXPECT_TRUE(ed->GetCSO().Contains(door));
  EXPECT_TRUE(ed->GetActivePath().IsEmpty());
  const std::string after = SerializePlant(*doc);

  std::string err;
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
  EXPECT_EQ(doc->FindById("target"), target);
  EXPECT_TRUE(AssemblyOf(*doc, "outer")->HasPart(target.get()));
  EXPECT_EQ(Behavior()->GetOutputItems(), std::vector<Ref<TavBaseUnknown>>{target});
  std::vector<Ref<TavBaseUnknown>> of;
  FastenersOf(*doc, false)->GetFastenersOfPart(target, of);
  EXPECT_EQ(of.size(), 2u);
  EXPECT_EQ(State("s_ready")->Owner(), target);
  EXPECT_EQ(ed->GetHSO().GetSize(), 0);  // a selection is no model data

  ASSERT_TRUE(doc->Journal().Redo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), after);
  ExpectNothingNamesIt();
  ASSERT_TRUE(doc->Journal().Undo(&err)) << err;
  EXPECT_EQ(SerializePlant(*doc), before);
}

TEST_F(Removal, OnlyAnAssemblyOfTheContainerGoes) {
  ASSERT_TRUE(Remove());
  EXPECT_EQ(doc->Assemblies().RemoveAssembly(target), E_FAIL);  // gone already
  auto other = LoadPlantText(kAssemblyPlant);
  EXPECT_EQ(doc->Assemblies().RemoveAssembly(AssemblyOf(*other, "outer")), E_FAIL);
  EXPECT_EQ(doc->Assemblies().RemoveAssembly(nullptr), E_FAIL);
  EXPECT_TRUE(AssemblyOf(*other, "outer")->HasPart(AssemblyOf(*other, "target").get()));
}

TEST_F(Removal, AnAssemblyHoldingOthersGoesAlone) {
  // outer holds target: target stays, and keeps its own content and everything naming it.
  auto outer = AssemblyOf(*doc, "outer");
  const std::size_t states = StatesOf(*doc)->States().size();
  target = outer;
  ASSERT_TRUE(Remove());
  auto kept = AssemblyOf(*doc, "target");
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Parts().size(), 2u);
  EXPECT_EQ(Behavior()->IsItemAssigned(kept), S_OK);
  EXPECT_EQ(StatesOf(*doc)->States().size(), states);
  EXPECT_TRUE(State("s_ready"));
}

TEST(RemovalRefused, AStateHeldUnderAnotherUsersLockKeepsItsAssembly) {
  // The state DoorAssy owns is a condition of an activity alice locked: the state
  // cannot go, so neither can the assembly; nothing changes.
  std::string text = ReplaceOnce(kAssemblyPlant, R"(environment="local")", R"(environment="hub")");
  text = ReplaceOnce(text, "  <plmTypes>", "  <hubSession>\n    <lock object=\"a1\" user=\"alice\"/>\n  </hubSession>\n  <plmTypes>");
  auto doc = LoadPlantText(text);
  ASSERT_TRUE(doc);
  const std::string before = SerializePlant(*doc);
  TavError::TavCleanLastError();
  EXPECT_EQ(doc->Assemblies().RemoveAssembly(AssemblyOf(*doc, "target")), E_FAIL);
  EXPECT_EQ(SerializePlant(*doc), before);
  auto why = TavError::TavGetLastError(E_FAIL);
  ASSERT_TRUE(why);
  EXPECT_NE(why->GetNLSMessage().utf8().find("locked by alice"), std::string::npos) << why->GetNLSMessage().utf8();
}

TEST(RemovalLifetime, ClosingADocumentFreesItsNestedAssemblies) {
  std::weak_ptr<HostAssembly> target, sub, removed;
  std::weak_ptr<HostDocument> gone;
  {
    auto doc = LoadPlantText(kAssemblyPlant);
    ASSERT_TRUE(doc);
    target = AssemblyOf(*doc, "target");
    Ref<OrvIMfgAssembly> made;
    ASSERT_EQ(doc->Assemblies().CreateChildAssembly("Sub", target.lock(), {AssemblyOf(*doc, "kit")}, made), E_FAIL);
    ASSERT_EQ(doc->Assemblies().CreateChildAssembly("Sub", AssemblyOf(*doc, "kit"), {ProductOf(*doc, "door")}, made), S_OK);
    sub = std::dynamic_pointer_cast<HostAssembly>(made);
    // One removed and kept by the journal for undo.
    removed = AssemblyOf(*doc, "outer");
    UndoJournal& j = doc->Journal();
    j.Begin();
    ASSERT_EQ(doc->Assemblies().RemoveAssembly(removed.lock()), S_OK);
    ASSERT_TRUE(j.Commit("remove"));
    gone = doc;
  }
  EXPECT_TRUE(gone.expired());
  EXPECT_TRUE(target.expired());
  EXPECT_TRUE(sub.expired());
  EXPECT_TRUE(removed.expired());
}

}  // namespace
