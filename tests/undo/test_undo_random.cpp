// Random sessions on generated plants: commands of random changes, undos and redos
// in between, savepoints rolled back half-way. After every move the plant saves to
// the bytes it had at that position of the stack; undoing everything gives the
// original bytes back.
#include "UndoPlant.h"

using namespace undotest;

namespace {

class Mutator {
public:
  Mutator(HostDocument& doc, std::uint64_t seed) : doc_(doc), rng_(seed) {}

  // One random change through the platform interfaces (sometimes one that is refused).
  void Change() {
    auto acts = Activities();
    auto products = Products();
    if (acts.empty() || products.empty()) return;
    auto a = Pick(acts);
    auto p = Pick(products);
    switch (rng_.Below(16)) {
      case 0: a->SetLabel("L" + std::to_string(rng_.Below(1000))); break;
      case 1: a->SetTime(static_cast<double>(rng_.Below(100))); break;
      case 2: a->SetAttribute("K" + std::to_string(rng_.Below(3)), static_cast<std::int64_t>(rng_.Below(9))); break;
      case 3: a->RemoveAttribute("K" + std::to_string(rng_.Below(3))); break;
      case 4: a->CreateChild(rng_.Percent(50) ? "PhysicalActivity" : "Activity", "New", static_cast<int>(rng_.Below(4)) - 1); break;
      case 5:
        if (auto f = a->FatherActivity()) f->RemoveChild(a);
        break;
      case 6: {
        auto& types = RelationTypes();
        a->CreateRelation(types[rng_.Below(types.size())].name, rng_.Percent(30) ? Pick(Resources()) : p);
        break;
      }
      case 7:
        if (!a->Relations().empty()) {
          auto r = a->Relations()[rng_.Below(a->Relations().size())];
          a->RemoveRelation(r->GetRelationType(), r->GetTarget());
        }
        break;
      case 8: a->AddControlFlowLink(Pick(acts)); break;
      case 9:
        if (!a->GetNextNodes().empty()) a->RemoveControlFlowLink(a->GetNextNodes().front());
        break;
      case 10: a->AddPrecedence(Pick(acts)); break;
      case 11:
        if (!a->GetPrecedences().empty()) a->RemovePrecedence(a->GetPrecedences().back());
        break;
      case 12: doc_.CreateProduct(rng_.Percent(80) ? p : nullptr, "", "P" + std::to_string(rng_.Below(100))); break;
      case 13: {
        auto& ms = doc_.Assemblies().assemblies_;
        if (ms.empty()) break;
        auto m = ms[rng_.Below(ms.size())];
        if (rng_.Percent(50) || m->Parts().empty()) m->AddPart(p);
        else m->RemovePart(m->Parts()[rng_.Below(m->Parts().size())]);
        break;
      }
      case 14: p->SetAttribute("W", static_cast<double>(rng_.Below(50)) / 4); break;
      case 15: {
        auto* c = AssignmentOf(doc_, true);
        if (rng_.Percent(50)) c->AddContext(a, p);
        else if (auto b = std::dynamic_pointer_cast<HostBehavior>(doc_.FindById("beh")))
          rng_.Percent(50) ? b->AddInputItem(p) : b->RemoveInputItem(p);
        else FastenersOf(doc_, true)->Relate(FastenersOf(doc_, true)->Fasteners().front(), a);
        break;
      }
    }
  }
  std::uint64_t Below(std::uint64_t n) { return rng_.Below(n); }
  bool Percent(unsigned n) { return rng_.Percent(n); }

private:
  std::vector<Ref<HostActivity>> Activities() {
    std::vector<Ref<HostActivity>> out;
    for (auto& r : doc_.Process().roots_)
      for (auto& a : r->GetAllChildActivities()) out.push_back(std::dynamic_pointer_cast<HostActivity>(a));
    return out;
  }
  std::vector<Ref<HostProduct>> Products() {
    std::vector<Ref<HostProduct>> out;
    for (auto& r : doc_.Products().roots_) {
      out.push_back(r);
      for (auto& d : r->GetAllDescendants()) out.push_back(std::dynamic_pointer_cast<HostProduct>(d));
    }
    return out;
  }
  std::vector<Ref<HostProduct>> Resources() {
    std::vector<Ref<HostProduct>> out(doc_.Resources().roots_.begin(), doc_.Resources().roots_.end());
    return out;
  }
  template <class T>
  T Pick(const std::vector<T>& v) {
    return v[rng_.Below(v.size())];
  }
  HostDocument& doc_;
  SplitMix64 rng_;
};

TEST(RandomSessions, EveryPositionSavesAsItWas) {
  for (std::uint64_t seed = 1; seed <= 24; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    auto doc = Plant(seed);
    UndoJournal& j = doc->Journal();
    Mutator m(*doc, seed * 7919);
    std::vector<std::string> states{Bytes(*doc)};  // bytes at each position of the stack
    std::string err;
    for (int move = 0; move < 40; ++move) {
      if (m.Percent(25) && j.Position() > 0) {
        ASSERT_TRUE(j.Undo(&err)) << err;
      } else if (m.Percent(15) && j.Position() < j.Size()) {
        ASSERT_TRUE(j.Redo(&err)) << err;
      } else {
        j.Begin();
        const auto changes = 1 + m.Below(8);
        for (std::uint64_t c = 0; c < changes; ++c) {
          if (m.Percent(10)) {
            // A part that fails half-way and rolls back to its mark.
            const std::string atMark = Bytes(*doc);
            const auto mark = j.Mark();
            for (int k = 0; k < 4; ++k) m.Change();
            ASSERT_TRUE(j.RollBack(mark, &err)) << err;
            ASSERT_EQ(Bytes(*doc), atMark);
          }
          m.Change();
        }
        if (j.Commit("command " + std::to_string(move))) {
          states.resize(j.Position());
          states.push_back(Bytes(*doc));
        } else {
          ASSERT_EQ(Bytes(*doc), states[j.Position()]) << "a command that changed nothing";
        }
      }
      ASSERT_EQ(Bytes(*doc), states[j.Position()]) << "after move " << move;
      ASSERT_EQ(doc->IsModified(), j.Position() != 0);
    }
    while (j.Position() > 0) ASSERT_TRUE(j.Undo(&err)) << err;
    EXPECT_EQ(Bytes(*doc), states.front());
    while (j.Position() < j.Size()) ASSERT_TRUE(j.Redo(&err)) << err;
    EXPECT_EQ(Bytes(*doc), states.back());
  }
}

}  // namespace
