// Undo through the command engine: a command's changes are one step named after it,
// failures leave no trace, undo and redo are all or nothing, the modified flag and
// the stack's bounds follow, and savepoints put the model back half-way.
#include <sstream>

#include "HostEngine.h"
#include "TavModules.h"
#include "TavUndo.h"
#include "UndoPlant.h"

using namespace undotest;

namespace {

// Runs its body as it starts and ends at once (as renumbering does).
class Body : public TavStateCommand {
public:
  explicit Body(std::function<void()> body, std::string name = "Body") : TavStateCommand(std::move(name)), body_(std::move(body)) {}
  void BuildGraph() override {
    body_();
    AddTransition(AddDialogState("Done"), nullptr, nullptr, nullptr);
  }

private:
  std::function<void()> body_;
};

// Each pick relabels the picked activity at once ("apply"); cancel ends it.
class Relabel : public TavStateCommand {
public:
  Relabel() : TavStateCommand("Relabel") {}
  void BuildGraph() override {
    agent_.AddElementType("TavISPPActivity");
    auto* s = GetInitialState("Pick");
    s->AddDialogAgent(&agent_);
    AddTransition(s, s, IsOutputSetCondition(&agent_), [this] {
      query<TavISPPActivity>(agent_.GetValueObject())->SetLabel("Applied");
      return true;
    }, {&agent_});
  }

private:
  TavPathElementAgent agent_{"Activity"};
};

// Remembers what the model showed when the host called it back.
class Redraw : public TavCommandGlobalUndo {
public:
  Redraw(Ref<HostActivity> a, std::vector<std::string>* log) : a_(std::move(a)), log_(log) {}
  void Undo() override { log_->push_back("undo " + a_->GetLabel().utf8()); }
  void Redo() override { log_->push_back("redo " + a_->GetLabel().utf8()); }

private:
  Ref<HostActivity> a_;
  std::vector<std::string>* log_;
};

struct Session : ::testing::Test {
  std::ostringstream out;
  HostSession session;
  HostEngine engine{&out};
  Ref<HostDocument> doc = Plant();
  UndoJournal& j = doc->Journal();
  std::string err;
  Session() { session.OpenDocument(doc); }

  Ref<HostActivity> A(const std::string& id) { return Activity(*doc, id); }
  bool Run(std::function<void()> body, std::string name = "Body") {
    return engine.StartCommand(std::make_unique<Body>(std::move(body), std::move(name)), &err);
  }
  bool Undo(std::size_t n = 1) { return engine.Undo(*doc, n, nullptr, &err); }
  bool Redo(std::size_t n = 1) { return engine.Redo(*doc, n, nullptr, &err); }
};

TEST_F(Session, EachCommandIsOneNamedStep) {
  ASSERT_TRUE(Run([&] {
    A("a1")->SetLabel("One");
    A("a2")->SetLabel("Two");
  }));
  ASSERT_EQ(j.Size(), 1u);
  EXPECT_EQ(j.StepAt(0).name, "Body");
  TavModuleRegistry::Get().Register("UndoTests", "Touch", [] {
    return std::make_unique<Body>([] { std::dynamic_pointer_cast<HostDocument>(TavFrmEditor::GetCurrentEditor()->GetDocument())->SetDisplayName("Touched"); }, "Touch");
  });
  ASSERT_TRUE(engine.Start("UndoTests", "Touch", &err, "Touch the Plant")) << err;
  ASSERT_TRUE(engine.Start("UndoTests", "Touch", &err)) << err;  // changes nothing the second time
  ASSERT_EQ(j.Size(), 2u);
  EXPECT_EQ(j.StepAt(1).name, "Touch the Plant");
  std::vector<std::string> names;
  ASSERT_TRUE(engine.Undo(*doc, 2, &names, &err)) << err;
  EXPECT_EQ(names, (std::vector<std::string>{"Touch the Plant", "Body"}));
  // A command that reads, or writes what is already there, leaves no step.
  const std::string label = A("a1")->GetLabel().utf8();
  ASSERT_TRUE(Run([&] { A("a1")->SetLabel(label); }));
  EXPECT_EQ(j.Size(), 2u);
  EXPECT_EQ(j.Position(), 0u);
}

TEST_F(Session, AFailingCommandLeavesNoTrace) {
  ASSERT_TRUE(Run([&] { A("a1")->SetLabel("Kept"); }));
  const std::string before = Bytes(*doc);
  EXPECT_FALSE(Run([&] {
    A("a2")->SetLabel("Lost");
    A("a3")->CreateChild("PhysicalActivity", "Lost");
    throw std::runtime_error("disk on fire");
  }));
  EXPECT_NE(err.find("disk on fire"), std::string::npos) << err;
  EXPECT_EQ(Bytes(*doc), before);
  EXPECT_EQ(j.Size(), 1u);
  EXPECT_EQ(engine.RunningCommand(), nullptr);
  ASSERT_TRUE(Undo()) << err;
  EXPECT_NE(A("a1")->GetLabel().utf8(), "Kept");
}

TEST_F(Session, ApplyThenCancelKeepsWhatWasApplied) {
  const std::string before = Bytes(*doc);
  ASSERT_TRUE(engine.StartCommand(std::make_unique<Relabel>(), &err)) << err;
  ASSERT_TRUE(engine.Pick(doc->PathOf(A("a2")), &err)) << err;
  ASSERT_TRUE(engine.Pick(doc->PathOf(A("a3")), &err)) << err;
  EXPECT_FALSE(Undo());  // not while the command runs
  EXPECT_NE(err.find("Relabel is running"), std::string::npos) << err;
  ASSERT_TRUE(engine.Cancel(&err));
  EXPECT_EQ(A("a2")->GetLabel().utf8(), "Applied");
  ASSERT_EQ(j.Size(), 1u);
  EXPECT_EQ(j.StepAt(0).records.size(), 2u);
  ASSERT_TRUE(Undo()) << err;
  EXPECT_EQ(Bytes(*doc), before);
}

TEST_F(Session, ANewCommandDropsTheRedoBranch) {
  const std::string original = Bytes(*doc);
  ASSERT_TRUE(Run([&] { A("a1")->SetLabel("First"); }));
  ASSERT_TRUE(Run([&] { A("a2")->SetLabel("Second"); }));
  ASSERT_TRUE(Undo()) << err;
  ASSERT_TRUE(Run([&] { A("a3")->SetLabel("Third"); }));
  EXPECT_EQ(j.Size(), 2u);
  EXPECT_FALSE(Redo());
  EXPECT_EQ(err, "nothing to redo");
  ASSERT_TRUE(Undo(2)) << err;
  EXPECT_EQ(Bytes(*doc), original);
  ASSERT_TRUE(Redo(2)) << err;
  EXPECT_EQ(A("a3")->GetLabel().utf8(), "Third");
  EXPECT_NE(A("a2")->GetLabel().utf8(), "Second");
}

TEST_F(Session, BadUndoAndRedoChangeNothing) {
  EXPECT_FALSE(Undo());
  EXPECT_EQ(err, "nothing to undo");
  EXPECT_FALSE(Redo());
  EXPECT_EQ(err, "nothing to redo");
  ASSERT_TRUE(Run([&] { A("a1")->SetLabel("One"); }));
  const std::string after = Bytes(*doc);
  EXPECT_FALSE(Undo(2));
  EXPECT_EQ(err, "only 1 step can be undone");
  EXPECT_EQ(Bytes(*doc), after);
  EXPECT_FALSE(Redo());
  EXPECT_EQ(j.Position(), 1u);
}

TEST_F(Session, AStepNamingAGoneObjectIsNotUndoneAtAll) {
  // Two leaves: removing one leaves the other in place.
  std::vector<Ref<HostActivity>> leaves;
  for (auto& a : doc->Process().roots_.front()->GetAllChildActivities())
    if (auto h = std::dynamic_pointer_cast<HostActivity>(a); h->Children().empty() && h->GetId().utf8() != "a7") leaves.push_back(h);
  ASSERT_GE(leaves.size(), 2u);
  auto gone = leaves[0];
  auto kept = leaves[1];
  // The gone object's change comes first in the step: undo reverses the kept one
  // before it finds out, and must put it back.
  ASSERT_TRUE(Run([&] {
    gone->SetLabel("Doomed");
    kept->SetLabel("Kept");
  }));
  ASSERT_TRUE(Run([&] { A("a7")->SetTime(99); }));
  // Taken out behind the journal's back (nothing records outside a command).
  doc->RemoveActivity(gone);
  const std::string before = Bytes(*doc);
  EXPECT_FALSE(Undo(2));
  EXPECT_NE(err.find("'Doomed' (#" + gone->IdString() + ") is no longer in the document"), std::string::npos) << err;
  EXPECT_EQ(err.rfind("cannot undo 'Body': ", 0), 0u) << err;
  EXPECT_EQ(Bytes(*doc), before);
  EXPECT_EQ(j.Position(), 2u);
  EXPECT_EQ(kept->GetLabel().utf8(), "Kept");
  EXPECT_EQ(A("a7")->GetTime(), 99);
  // The step above it still undoes alone.
  ASSERT_TRUE(Undo()) << err;
}

TEST_F(Session, GlobalUndoRunsAfterTheModelChanges) {
  std::vector<std::string> log;
  auto a = A("a1");
  ASSERT_TRUE(engine.StartCommand(std::make_unique<Body>([] {}), &err));  // nothing: no step, no call
  auto cmd = std::make_unique<Body>([&] { a->SetLabel("New"); });
  cmd->SetGlobalUndo(std::make_shared<Redraw>(a, &log));
  const std::string old = a->GetLabel().utf8();
  ASSERT_TRUE(engine.StartCommand(std::move(cmd), &err)) << err;
  ASSERT_TRUE(Undo()) << err;
  ASSERT_TRUE(Redo()) << err;
  EXPECT_EQ(log, (std::vector<std::string>{"undo " + old, "redo New"}));
}

TEST_F(Session, UndoOfADeletionRedrawsTheFather) {
  // The first user of a global undo: a deletion redraws what held the deleted object.
  class RedrawProcess : public TavCommandGlobalUndo {
  public:
    explicit RedrawProcess(HostContExt* ext) : ext_(ext) {}
    void Undo() override { ext_->Redraw(); }
    void Redo() override { ext_->Redraw(); }
    HostContExt* ext_;
  };
  auto victim = A("a4");
  auto father = victim->FatherActivity();
  auto cmd = std::make_unique<Body>([&] { father->RemoveChild(victim); });
  cmd->SetGlobalUndo(std::make_shared<RedrawProcess>(ContExtOf(*doc)));
  ASSERT_TRUE(engine.StartCommand(std::move(cmd), &err)) << err;
  const int redraws = ContExtOf(*doc)->Redraws();
  ASSERT_TRUE(Undo()) << err;
  EXPECT_EQ(victim->FatherActivity(), father);
  ASSERT_TRUE(Redo()) << err;
  EXPECT_EQ(ContExtOf(*doc)->Redraws(), redraws + 2);
}

TEST_F(Session, SavepointsPutTheModelBackHalfWay) {
  std::string atMark;
  bool rolledBack = false;
  ASSERT_TRUE(Run([&] {
    A("a1")->SetLabel("Before the mark");
    atMark = Bytes(*doc);
    TavSavepoint mark;
    A("a2")->CreateChild("PhysicalActivity", "Half-made");
    A("a3")->CreateRelation("process_uses_resource", doc->Resources().roots_.front());
    rolledBack = mark.RollBack(&err);
  }));
  EXPECT_TRUE(rolledBack) << err;
  EXPECT_EQ(Bytes(*doc), atMark);
  ASSERT_EQ(j.Size(), 1u);
  // Outside a command the mark records on its own; its record goes with it.
  const std::string before = Bytes(*doc);
  {
    TavSavepoint mark;
    EXPECT_TRUE(mark.IsRecording());
    A("a4")->SetLabel("Outside");
    ASSERT_TRUE(mark.RollBack(&err)) << err;
  }
  EXPECT_EQ(Bytes(*doc), before);
  EXPECT_FALSE(j.InTransaction());
  EXPECT_EQ(j.Size(), 1u);
}

TEST_F(Session, ModifiedFollowsUndoBackToTheSavedState) {
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(Run([&] { A("a1")->SetLabel("One"); }));
  EXPECT_TRUE(doc->IsModified());
  doc->MarkSaved();
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(Undo()) << err;
  EXPECT_TRUE(doc->IsModified());
  ASSERT_TRUE(Redo()) << err;
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(j.Size(), 1u);  // saving keeps the stack
  // The saved state on a dropped redo branch is out of reach.
  ASSERT_TRUE(Undo()) << err;
  ASSERT_TRUE(Run([&] { A("a2")->SetLabel("Other"); }));
  ASSERT_TRUE(Undo()) << err;
  EXPECT_TRUE(doc->IsModified());
}

TEST_F(Session, TheOldestStepsGoBeyondTheBounds) {
  TavSettingRepository::GetRepository(HostEngine::kUndoSettings).Write(HostEngine::kUndoMaxSteps, std::int64_t(2));
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(Run([&, i] { A("a1")->SetLabel("Label " + std::to_string(i)); }));
  EXPECT_EQ(j.Size(), 2u);
  ASSERT_TRUE(Undo(2)) << err;
  EXPECT_EQ(A("a1")->GetLabel().utf8(), "Label 1");
  EXPECT_TRUE(doc->IsModified());  // the saved state went with the oldest steps
  TavSettingRepository::GetRepository(HostEngine::kUndoSettings).Write(HostEngine::kUndoMaxSteps, std::int64_t(100));
  TavSettingRepository::GetRepository(HostEngine::kUndoSettings).Write(HostEngine::kUndoMaxMemory, std::int64_t(0));
  ASSERT_TRUE(Run([&] { A("a2")->SetLabel("x"); }));
  ASSERT_TRUE(Run([&] { A("a3")->SetLabel("y"); }));
  EXPECT_EQ(j.Size(), 1u);  // the newest step always stays
  TavSettingRepository::GetRepository(HostEngine::kUndoSettings).Delete(HostEngine::kUndoMaxMemory);
  TavSettingRepository::GetRepository(HostEngine::kUndoSettings).Delete(HostEngine::kUndoMaxSteps);
}

TEST_F(Session, ClosingTheDocumentDropsItsSteps) {
  auto victim = A("a4");
  std::weak_ptr<HostActivity> watch = victim;
  ASSERT_TRUE(Run([&] { victim->FatherActivity()->RemoveChild(victim); }));
  victim.reset();
  EXPECT_FALSE(watch.expired());  // the step keeps the removed subtree
  session.CloseEditor(session.CurrentHostEditor());
  EXPECT_EQ(j.Size(), 0u);
  EXPECT_TRUE(watch.expired());
}

TEST_F(Session, ABatchJobThatFailsHalfWayLeavesTheModelAsBefore) {
  const std::string before = Bytes(*doc);
  {
    UndoScope job(*doc);
    ASSERT_TRUE(Run([&] { A("a1")->SetLabel("Done"); }));
    EXPECT_FALSE(Run([&] {
      A("a2")->SetLabel("Half");
      throw std::runtime_error("stop");
    }));
  }
  EXPECT_EQ(Bytes(*doc), before);
  EXPECT_EQ(j.Size(), 0u);
  {
    UndoScope job(*doc);
    ASSERT_TRUE(Run([&] { A("a1")->SetLabel("Done"); }));
    ASSERT_TRUE(Run([&] { A("a2")->SetLabel("Also"); }));
    job.Keep("renumber");
  }
  ASSERT_EQ(j.Size(), 1u);
  EXPECT_EQ(j.StepAt(0).name, "renumber");
}

}  // namespace
