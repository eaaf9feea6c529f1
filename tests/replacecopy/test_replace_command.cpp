// The replacement command driven through the host's engine: picks, the dialog's
// OK, the boxes, and what a refused or failed replacement leaves behind.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostUndo.h"
#include "OrvIReplaceResource.h"
#include "OrvVekReplaceRescDlg.h"
#include "OrvVekReplaceResourceCmd.h"
#include "ReplacePlant.h"
#include "ResourceCommand.h"
#include "TavResources.h"

using namespace host;

namespace {

struct Command : ResourceCommand<OrvVekReplaceResourceCmd> {
  OrvVekReplaceRescDlg* Dlg() { return dynamic_cast<OrvVekReplaceRescDlg*>(cmd->Dialog()); }
  void ReplaceInAll() { static_cast<TavDlgCheckButton*>(Dlg()->Find("ReplaceInAllAct"))->SetState(true, true); }
  void Ok() { Dlg()->OKButton()->Notify(TavDlgNotification::Activate); }
  bool IsContext(const Ref<TavBaseUnknown>& r) { return TavResourceContextsOf(doc)->IsResourceContext(r); }
};

TEST_F(Command, RefusedPicksThenAReplacementThatIsOneUndoStep) {
  Start();
  std::string why;
  EXPECT_FALSE(Pick(body, &why)) << "a product of the product list";
  EXPECT_NE(why.find("product list"), std::string::npos) << why;
  ASSERT_TRUE(Pick(robot));
  EXPECT_EQ(State(), "secondState");
  ASSERT_TRUE(Dlg());
  EXPECT_TRUE(Dlg()->IsVisible());
  EXPECT_FALSE(Pick(robot, &why)) << "the first resource itself";
  ASSERT_TRUE(Pick(spare));
  EXPECT_EQ(Dlg()->WithEditor()->GetText(), "Robot.9");
  EXPECT_EQ(State(), "secondState");

  ReplaceInAll();
  const std::size_t steps = doc->Journal().Size();
  Ok();
  EXPECT_EQ(State(), "ended");
  EXPECT_TRUE(engine.Messages().empty()) << engine.Messages().front().text;
  ASSERT_EQ(station->GetChildrenCount(), 2);
  auto made = station->Children().back();
  EXPECT_EQ(root->IsResourceAssigned(made, TavResourceCode::Uses), S_OK);
  EXPECT_EQ(attach->IsItemAssigned(made, TavItemCode::Attaches), S_OK);
  EXPECT_TRUE(IsContext(spare)) << "the second resource came in as a device";
  EXPECT_EQ(doc->Journal().Size(), steps + 1);

  std::string err;
  ASSERT_TRUE(engine.Undo(*doc, 1, nullptr, &err)) << err;
  EXPECT_EQ(station->GetChildrenCount(), 1);
  EXPECT_EQ(root->IsResourceAssigned(robot, TavResourceCode::Uses), S_OK);
  EXPECT_FALSE(IsContext(spare));
}

TEST_F(Command, AFailedReplacementSaysSoAndLeavesTheModelAsItWas) {
  Start();
  ASSERT_TRUE(Pick(crane));  // at the top of the resource list: no father to stand under
  ASSERT_TRUE(Pick(spare));
  ReplaceInAll();
  const std::size_t objects = doc->ObjectCount();
  Ok();
  EXPECT_EQ(State(), "ended");
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages().front().name, "Error Message");
  EXPECT_NE(engine.Messages().front().text.find("Crane.1"), std::string::npos);
  EXPECT_EQ(doc->ObjectCount(), objects);
  EXPECT_FALSE(IsContext(spare)) << "the device added first went again";
  EXPECT_EQ(load->IsResourceAssigned(crane, TavResourceCode::Uses), S_OK);
}

TEST_F(Command, RemoveContextTakesTheFirstResourcesOwnContextOnly) {
  auto contexts = TavResourceContextsOf(doc);
  ASSERT_EQ(contexts->AddResourceContext(robot), S_OK);
  Start();
  ASSERT_TRUE(Pick(robot));
  ASSERT_TRUE(Pick(spare));
  ReplaceInAll();
  static_cast<TavDlgCheckButton*>(Dlg()->Find("RmvRsrcCtxt"))->SetState(true, true);
  Ok();
  EXPECT_FALSE(IsContext(robot));
  EXPECT_TRUE(IsContext(spare));
}

// A resource with a replacement of its own that refuses.
class Refusing final : public virtual OrvIReplaceResource {
public:
  explicit Refusing(Ref<TavBaseUnknown> o) : o_(std::move(o)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return o_; }
  bool GetDialogObject(std::unique_ptr<OrvGenericReplaceRsrcDlg>&, TavDlgWidget*) override { return false; }
  bool CanReplace(const Ref<TavIProduct>&, TavUnicodeString& message) override {
    message = "this robot model cannot weld here";
    return false;
  }
  HRESULT ReplaceResource(const Ref<TavIProduct>&, const Ref<TavIProduct>&, std::vector<Ref<TavISPPActivity>>&) override {
    ADD_FAILURE() << "a refusing extension is not asked to replace";
    return E_FAIL;
  }

private:
  Ref<TavBaseUnknown> o_;
};

// The one object the test extension extends; cleared after the test, since a
// later test's object may live at the same address.
TavBaseUnknown* refusingTarget = nullptr;

TEST_F(Command, AnExtensionsRefusalIsShownAndNothingChanges) {
  refusingTarget = spare.get();
  TavExtensionRegistry::Get().RegisterForAnyType(OrvIReplaceResource::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    return o && refusingTarget && o->ExtendedObject().get() == refusingTarget ? std::make_shared<Refusing>(o) : nullptr;
  });
  Start();
  ASSERT_TRUE(Pick(robot));
  ASSERT_TRUE(Pick(spare));
  ReplaceInAll();
  const std::size_t objects = doc->ObjectCount();
  Ok();
  ASSERT_EQ(engine.Messages().size(), 1u);
  EXPECT_EQ(engine.Messages().front().text, "this robot model cannot weld here");
  EXPECT_EQ(doc->ObjectCount(), objects);
  EXPECT_FALSE(IsContext(spare));
  refusingTarget = nullptr;
}

TEST_F(Command, CancelChangesNothing) {
  Start();
  ASSERT_TRUE(Pick(robot));
  ASSERT_TRUE(Pick(spare));
  Dlg()->CancelButton()->Notify(TavDlgNotification::Activate);
  EXPECT_EQ(State(), "ended");
  EXPECT_EQ(station->GetChildrenCount(), 1);
  EXPECT_FALSE(IsContext(spare));
}

}  // namespace
