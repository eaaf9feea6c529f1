// Putting displaced products back: what counts as displaced (rotations, tags, cable
// marks), the dialog's choices and picks, the order and the once-only rule of a
// restore, applications' data, and storing or applying positions.
#include <cmath>
#include <numbers>

#include "OrvIRestoreDesignState.h"
#include "OrvVekDesignRestore.h"
#include "OrvVekModifyPositionCmd.h"
#include "HostProductEdit.h"
#include "OrvVekRestoreDesignPosCmd.h"
#include "PositionsPlant.h"
#include "TavStates.h"

namespace {

// Another application's data on products: each restore request is counted.
struct AppData final : OrvIRestoreDesignState {
  explicit AppData(Ref<TavBaseUnknown> p, std::vector<std::string>* log, std::string app)
      : p_(std::move(p)), log_(log), app_(std::move(app)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return p_; }
  HRESULT RestoreDesignState() override {
    log_->push_back(app_ + ":" + PositionsPlant::Id(p_));
    return S_OK;
  }
  Ref<TavBaseUnknown> p_;
  std::vector<std::string>* log_;
  std::string app_;
};

struct Restore : PositionsPlant {
  static inline std::vector<std::string> asked;
  static void SetUpTestSuite() {
    // Two applications on the same products: both are asked.
    for (const char* app : {"cables", "welds"})
      TavExtensionRegistry::Get().Add("TavProduct", OrvIRestoreDesignState::kInterfaceName,
                                      [app](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
                                        return std::make_shared<AppData>(o, &asked, app);
                                      });
  }
  void SetUp() override {
    PositionsPlant::SetUp();
    asked.clear();
  }
  OrvVekRestoreDesignPosDlg* Dialog() {
    auto* cmd = dynamic_cast<OrvVekRestoreDesignPosCmd*>(engine.RunningCommand());
    return cmd ? cmd->Dialog() : nullptr;
  }
};

TavIMovable::Position Turn(const TavIMovable::Position& m, double degrees) {
  const double c = std::cos(degrees * std::numbers::pi / 180), s = std::sin(degrees * std::numbers::pi / 180);
  TavIMovable::Position r = m;
  for (int row = 0; row < 3; ++row) {
    r[3 * row] = m[3 * row] * c - m[3 * row + 1] * s;
    r[3 * row + 1] = m[3 * row] * s + m[3 * row + 1] * c;
  }
  return r;
}

TEST_F(Restore, DisplacedMeansBeyondTheToleranceAndNeverATagOrACableOutOfDesign) {
  OrvVekDesignRestore engine(doc);
  ASSERT_TRUE(engine.IsValid());
  // Products first, fathers before children; the hood (cable out of design) and the
  // tag group and its tag are displaced but not listed; a resource last.
  EXPECT_EQ(Ids(engine.ComputeDisplacedPrdRes()), "door inner panel rb");
  EXPECT_TRUE(engine.IsDisplaced(Obj("hood")));
  EXPECT_FALSE(engine.IsDisplaced(Obj("tag1")));
  EXPECT_EQ(Ids(engine.GetDisplacedChildren(Obj("body"))), "door inner hood panel");
  // A quarter turn made of three computed 30-degree turns lands where the design's
  // exact "0 1 0 -1 0 0" puts it, up to rounding: not displaced.
  auto inner = query<TavIMovable>(Obj("inner"));
  TavIMovable::Position m = Design("inner");
  for (int i = 0; i < 3; ++i) m = Turn(m, 30);
  inner->SetPosition(Turn(Turn(m, -30), 30));
  EXPECT_NE(Now("inner"), (TavIMovable::Position{0, 1, 0, -1, 0, 0, 0, 0, 1, 500, 0, 0}));
  inner->SetPosition(Design("inner"));
  EXPECT_FALSE(engine.IsDisplaced(Obj("inner")));
  TavIMovable::Position turned = Design("outer");
  for (int i = 0; i < 4; ++i) turned = Turn(turned, 90);  // a full turn, computed
  query<TavIMovable>(Obj("outer"))->SetPosition(turned);
  EXPECT_FALSE(engine.IsDisplaced(Obj("outer")));
  turned[9] += 1e-3;  // a micrometre is a move
  query<TavIMovable>(Obj("outer"))->SetPosition(turned);
  EXPECT_TRUE(engine.IsDisplaced(Obj("outer")));
  // Moved and moved back exactly: not displaced.
  auto door = query<TavIMovable>(Obj("door"));
  door->SetPosition(Design("door"));
  EXPECT_FALSE(engine.IsDisplaced(Obj("door")));
}

TEST_F(Restore, RestoreAllPutsBackEveryProductOnceAndAsksEachApplicationOncePerProduct) {
  ASSERT_TRUE(Start("OrvVekRestoreDesignPosCmd")) << err;
  auto* d = Dialog();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->ProductList()->GetLineCount(), 3);
  EXPECT_EQ(d->ResourceList()->GetLineCount(), 1);
  EXPECT_TRUE(d->IsRestoreAll());
  EXPECT_TRUE(d->OKButton()->IsSensitive());
  d->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "ended");
  for (const char* id : {"door", "inner", "panel", "rb"}) EXPECT_TRUE(AtDesign(id)) << id;
  EXPECT_FALSE(AtDesign("hood"));  // not listed, not moved
  EXPECT_FALSE(AtDesign("tag1"));
  // The door is restored with its displaced child, which is not asked again when the
  // list reaches it; resources have no product extension here.
  EXPECT_EQ(asked, (std::vector<std::string>{"cables:inner", "welds:inner", "cables:door", "welds:door", "cables:panel",
                                             "welds:panel"}));
  // One undo step takes it all back.
  std::string error;
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &error)) << error;
  EXPECT_FALSE(AtDesign("door"));
  EXPECT_FALSE(AtDesign("rb"));
}

TEST_F(Restore, AnAssemblyPutsBackItsPartsWithoutAnyListedProduct) {
  OrvVekDesignRestore engine(doc);
  engine.Restore({Obj("ma_panel")});
  EXPECT_TRUE(AtDesign("panel"));
  EXPECT_EQ(Ids(engine.Moved()), "panel");
  EXPECT_TRUE(asked.empty());  // assemblies move parts; applications are asked for listed products
  // A tag in the list is passed over.
  engine.Restore({Obj("tag1"), Obj("tags")});
  EXPECT_FALSE(AtDesign("tag1"));
}

TEST_F(Restore, PicksSelectDisplacedProductsOnceAndWarnAboutOthers) {
  ASSERT_TRUE(Start("OrvVekRestoreDesignPosCmd")) << err;
  auto* d = Dialog();
  ASSERT_TRUE(d);
  d->RestoreSelectedButton()->SetValueFromText("checked", nullptr);
  EXPECT_FALSE(d->IsRestoreAll());
  EXPECT_FALSE(d->OKButton()->IsSensitive());  // nothing selected yet
  EXPECT_TRUE(Pick("panel")) << err;
  EXPECT_TRUE(Pick("panel")) << err;  // picked twice, counted once
  EXPECT_EQ(d->CountField()->GetText().utf8(), "1");
  EXPECT_TRUE(d->OKButton()->IsSensitive());
  // Not displaced: the warning of the chosen mode, the selection as it was.
  EXPECT_TRUE(Pick("roof")) << err;
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages()[0].kind, "warning");
  EXPECT_EQ(engine.Messages()[0].text,
            TavMsgCatalog::BuildMessage(OrvVekRestoreDesignPosDlg::kCatalog, "UndisplacedPrdResWarningMsgSelected").utf8());
  EXPECT_EQ(d->CountField()->GetText().utf8(), "1");
  EXPECT_TRUE(Pick("rb")) << err;
  EXPECT_EQ(d->CountField()->GetText().utf8(), "2");
  d->OKButton()->Notify(TavDlgNotification::Activate);
  EXPECT_TRUE(AtDesign("panel"));
  EXPECT_TRUE(AtDesign("rb"));
  EXPECT_FALSE(AtDesign("door"));
  EXPECT_EQ(asked, (std::vector<std::string>{"cables:panel", "welds:panel"}));
}

TEST_F(Restore, WithNothingDisplacedOkStaysInsensitiveAndCancelMovesNothing) {
  OrvVekDesignRestore(doc).Restore(OrvVekDesignRestore(doc).ComputeDisplacedPrdRes());
  ASSERT_TRUE(Start("OrvVekRestoreDesignPosCmd")) << err;
  auto* d = Dialog();
  ASSERT_TRUE(d);
  EXPECT_FALSE(d->OKButton()->IsSensitive());
  EXPECT_TRUE(Pick("door")) << err;  // not displaced any more: the warning of "all"
  EXPECT_EQ(engine.Messages().back().text,
            TavMsgCatalog::BuildMessage(OrvVekRestoreDesignPosDlg::kCatalog, "UndisplacedPrdResWarningMsgAll").utf8());
  d->CancelButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(Running(), "ended");
}

TEST_F(Restore, ModifyPositionStoresTheCurrentPositionOrSaysWhyNot) {
  auto stored = query<TavIPcsPosition>(Obj("door_shut"));
  ASSERT_TRUE(Start("OrvVekModifyPositionCmd")) << err;
  EXPECT_TRUE(Pick("door_shut")) << err;
  EXPECT_EQ(stored->GetMatrix(), Now("door"));
  EXPECT_EQ(engine.Messages().back().kind, "warning");
  // A product gone from the plant: an error, and the stored position stays.
  const auto before = stored->GetMatrix();
  std::string why;
  ASSERT_TRUE(host::DetachProduct(*doc, std::dynamic_pointer_cast<host::HostProduct>(Obj("door")), why)) << why;
  ASSERT_TRUE(Start("OrvVekModifyPositionCmd")) << err;
  EXPECT_TRUE(Pick("door_shut")) << err;
  EXPECT_EQ(engine.Messages().back().kind, "error");
  EXPECT_EQ(stored->GetMatrix(), before);
}

}  // namespace
