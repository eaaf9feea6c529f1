// The document's id table and the relation index made on first question: what a large
// plant's load leans on, checked against a plain walk of the model.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "HostRelationIndex.h"
#include "HostUndo.h"

using namespace host;

namespace {

std::string Id(int i) { return "d" + std::to_string(i); }

TEST(IdTable, FindsEveryObjectThroughGrowthRemovalAndReturn) {
  Ref<HostDocument> doc = HostDocument::Create();
  std::vector<Ref<HostProduct>> parts;
  // Never reserved: the table grows many times with objects in it.
  for (int i = 0; i < 5000; ++i) parts.push_back(doc->CreateProduct(nullptr, Id(i), "P"));
  // Every third leaves: tombstones between live slots must not end a probe.
  for (int i = 0; i < 5000; i += 3) doc->ReleaseId(*parts[i]);
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(doc->FindById(Id(i)) != nullptr, i % 3 != 0) << i;
  EXPECT_EQ(doc->ObjectCount(), 5000u - 1667u);
  // New objects reuse the emptied slots; the ones that left come back under their ids.
  for (int i = 5000; i < 8000; ++i) parts.push_back(doc->CreateProduct(nullptr, Id(i), "P"));
  for (int i = 0; i < 5000; i += 3) ASSERT_TRUE(doc->RestoreId(*parts[i]));
  for (int i = 0; i < 8000; ++i) ASSERT_EQ(doc->FindById(Id(i)), parts[i]) << i;
  EXPECT_EQ(doc->ObjectCount(), 8000u);
  std::size_t seen = 0;
  doc->ForEachObject([&](HostObject&) { ++seen; });
  EXPECT_EQ(seen, 8000u);
}

TEST(IdTable, ATakenIdIsRefusedAndAGoneObjectFreesIts) {
  Ref<HostDocument> doc = HostDocument::Create();
  auto a = doc->CreateProduct(nullptr, "x", "A");
  EXPECT_THROW(doc->CreateProduct(nullptr, "x", "B"), std::invalid_argument);
  EXPECT_EQ(doc->FindById("x"), a);
  // An object that left keeps its id; another takes it, and the first cannot return.
  doc->ReleaseId(*a);
  auto b = doc->CreateProduct(nullptr, "x", "B");
  EXPECT_FALSE(doc->RestoreId(*a));
  EXPECT_EQ(doc->FindById("x"), b);
  EXPECT_TRUE(doc->RestoreId(*b));  // filed already
  // Destroyed while filed (as a dropped redo branch does): absent, and its id free.
  {
    auto c = doc->CreateProduct(nullptr, "y", "C");
    doc->Products().roots_.clear();
  }
  a.reset();
  b.reset();
  EXPECT_EQ(doc->FindById("y"), nullptr);
  EXPECT_EQ(doc->FindById("x"), nullptr);
  auto d = doc->CreateProduct(nullptr, "y", "D");
  EXPECT_EQ(doc->FindById("y"), d);
  EXPECT_EQ(doc->NewId('d'), "d1");
}

// The index answers as a walk of every activity does, whether it was made before or
// after the changes, and through undo and redo.
struct Relations {
  Ref<HostDocument> doc = HostDocument::Create();
  Ref<HostRootActivity> root = doc->CreateRootProcess("p", "Process");
  std::vector<Ref<HostActivity>> ops;
  std::vector<Ref<HostProduct>> parts;
  Relations() {
    for (int i = 0; i < 6; ++i) parts.push_back(doc->CreateProduct(nullptr, Id(i), "P"));
    for (int i = 0; i < 30; ++i) {
      ops.push_back(doc->CreateActivity(root, "PhysicalActivity", "a" + std::to_string(i), "Op"));
      ops.back()->AddItem(parts[static_cast<std::size_t>(i) % parts.size()], TavItemCode::Processes);
      if (i % 4 == 0) ops.back()->AddItem(parts[0], TavItemCode::Removes);
    }
  }
  std::multiset<const HostRelation*> Walk(const HostProduct& p) const {
    std::multiset<const HostRelation*> out;
    for (auto& a : ops)
      if (a->Doc() == doc.get())
        for (auto& r : a->Relations())
          if (r->Target().get() == static_cast<const TavBaseUnknown*>(&p)) out.insert(r.get());
    return out;
  }
  void ExpectIndexIsTheWalk() const {
    for (auto& p : parts) {
      std::multiset<const HostRelation*> indexed;
      for (auto& r : RelationIndex::Of(*doc)->Naming(p.get())) indexed.insert(r.get());
      EXPECT_EQ(indexed, Walk(*p)) << p->IdString();
    }
  }
  void Command(const std::function<void()>& f) {
    doc->Journal().Begin();
    f();
    ASSERT_TRUE(doc->Journal().Commit("change"));
  }
};

TEST(RelationIndex, MadeOnFirstQuestionThenKeptThroughChangesAndUndo) {
  Relations m;
  // Changes before the first question: the index made then sees their result.
  m.Command([&] { m.ops[1]->RemoveItem(m.parts[1], TavItemCode::Processes); });
  m.ExpectIndexIsTheWalk();
  EXPECT_EQ(RelationIndex::Of(*m.doc)->Naming(m.parts[0].get()).size(), 5u + 8u);
  // After it: every change reaches the index.
  m.Command([&] {
    m.ops[2]->AddItem(m.parts[3], TavItemCode::Removes);
    m.ops[4]->RemoveItem(m.parts[0], TavItemCode::Removes);
    m.doc->RemoveActivity(m.ops[7]);
  });
  m.ExpectIndexIsTheWalk();
  ASSERT_TRUE(m.doc->Journal().Undo(nullptr));
  m.ExpectIndexIsTheWalk();
  ASSERT_TRUE(m.doc->Journal().Undo(nullptr));
  m.ExpectIndexIsTheWalk();
  ASSERT_TRUE(m.doc->Journal().Redo(nullptr));
  ASSERT_TRUE(m.doc->Journal().Redo(nullptr));
  m.ExpectIndexIsTheWalk();
}

TEST(RelationIndex, MadeAfterUndoSeesOnlyTheDocumentsActivities) {
  Relations m;
  m.Command([&] { m.doc->RemoveActivity(m.ops[0]); });
  ASSERT_TRUE(m.doc->Journal().Undo(nullptr));
  ASSERT_TRUE(m.doc->Journal().Redo(nullptr));
  // ops[0] is out of the document, kept by the journal: not named.
  m.ExpectIndexIsTheWalk();
  EXPECT_EQ(RelationIndex::Of(*m.doc)->Naming(m.parts[0].get()).size(), 4u + 7u);
}

}  // namespace
