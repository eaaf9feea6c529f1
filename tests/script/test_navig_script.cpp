// Navigation boxes in scripts: `pick dialog` reaches the command's path agent with
// the objects from the root to the node, `expand` and `set` drive the box, and
// every wrong target gets its own message.
#include <gtest/gtest.h>

#include <sstream>

#include "HostScript.h"
#include "TavModules.h"
#include "TavNavigBox.h"

using namespace host;

namespace {

class TypeNode : public TavINavigateObjectActivity {
public:
  explicit TypeNode(std::string text) : text_(std::move(text)) {}
  std::vector<TavUnicodeString> GetIdentificators() const override { return {text_}; }
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override { return children_; }
  std::vector<Ref<TavBaseUnknown>> children_;
  std::string text_;
};

// A command that waits in its dialog for picks and records each one.
class Chooser : public TavStateCommand {
public:
  static std::vector<TavPathElement>& Picks() {
    static std::vector<TavPathElement> p;
    return p;
  }
  TavPathElementAgent agent{"TypeAgent"};
  std::unique_ptr<TavDlgDialog> dlg;
  Chooser() : TavStateCommand("Chooser") {}
  void BuildGraph() override {
    auto lib = std::make_shared<TypeNode>("/libs/body.act");
    auto weld = std::make_shared<TypeNode>("Weld");
    weld->children_.push_back(std::make_shared<TypeNode>("Spot"));
    lib->children_ = {weld, std::make_shared<TypeNode>("Glue")};
    dlg = std::make_unique<TavDlgDialog>(nullptr, "ChooseDlg");
    dlg->Add<TavDlgFrame>("ListFrame")->Add<TavDlgNavigBox>("Types")->AddRoot(lib);
    dlg->Add<TavDlgPushButton>("Go");
    dlg->SetVisibility(GetArgument() != "Hidden");
    auto* wait = GetInitialState("Wait");
    wait->AddDialogAgent(&agent);
    AddTransition(wait, wait, IsOutputSetCondition(&agent), [this] {
      Picks().push_back(agent.GetValue());
      return true;
    }, {&agent});
  }
};

struct NavigScript : ::testing::Test {
  std::ostringstream out;
  ScriptRunner r{out};
  NavigScript() {
    TavModuleRegistry::Get().Register("ScriptTest", "Chooser", [] { return std::make_unique<Chooser>(); });
    Chooser::Picks().clear();
  }
  std::vector<std::string> Texts(const TavPathElement& p) {
    std::vector<std::string> t;
    for (auto& o : p.Objects()) t.push_back(query<TavINavigateObject>(o)->GetIdentificators().front().utf8());
    return t;
  }
};

TEST_F(NavigScript, PickDialogOffersTheObjectsFromTheRootAndSelectsTheNode) {
  ASSERT_TRUE(r.RunText("start ScriptTest Chooser\npick dialog ChooseDlg.Types/body.act/Weld/Spot\n"
                        "expect widget ChooseDlg.Types \\/libs\\/body.act/Weld/Spot\n",
                        "p.mirt"))
      << r.Error();
  ASSERT_EQ(Chooser::Picks().size(), 1u);
  EXPECT_EQ(Texts(Chooser::Picks()[0]), (std::vector<std::string>{"/libs/body.act", "Weld", "Spot"}));
  out.str("");
  ASSERT_TRUE(r.RunText("print dialog ChooseDlg.Types\n", "d.mirt")) << r.Error();
  EXPECT_EQ(out.str(),
            "navigbox Types style ObjNavDefault 250x300\n"
            "  - /libs/body.act [default]\n"
            "    - Weld [default]\n"
            "      . Spot [default] (selected)\n"
            "    . Glue [default]\n");
}

TEST_F(NavigScript, ExpandAndSetDriveTheBox) {
  ASSERT_TRUE(r.RunText("start ScriptTest Chooser\nexpand ChooseDlg.Types/body.act/Weld\n", "e.mirt")) << r.Error();
  auto* box = dynamic_cast<TavDlgNavigBox*>(TavDlgDialog::FindByName("ChooseDlg")->Find("Types"));
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->Roots()[0]->IsExpanded());
  EXPECT_TRUE(box->Roots()[0]->Children()[0]->IsExpanded());
  EXPECT_FALSE(box->Roots()[0]->Children()[0]->Children()[0]->IsExpanded());
  EXPECT_EQ(box->GetSelected(), nullptr);  // expanding selects nothing
  ASSERT_TRUE(r.RunText("set ChooseDlg.Types body.act/Glue\n", "e.mirt")) << r.Error();
  EXPECT_EQ(box->GetSelected(), box->Roots()[0]->Children()[1].get());
  EXPECT_TRUE(Chooser::Picks().empty());  // selecting is no pick
  ASSERT_TRUE(r.RunText("expand ChooseDlg.Types\n", "e.mirt")) << r.Error();
  EXPECT_TRUE(box->Roots()[0]->Children()[0]->Children()[0]->IsExpanded());
}

TEST_F(NavigScript, EachWrongTargetHasItsOwnMessage) {
  ASSERT_TRUE(r.RunText("start ScriptTest Chooser\n", "s.mirt")) << r.Error();
  struct Case {
    const char* line;
    const char* error;
  } cases[] = {
      {"pick dialog Nobody.Types/body.act", "x.mirt:1: pick dialog Nobody.Types/body.act: no dialog named 'Nobody'"},
      {"pick dialog ChooseDlg.Go/body.act", "x.mirt:1: pick dialog ChooseDlg.Go/body.act: ChooseDlg.Go is a push, not a navigation box"},
      {"pick dialog ChooseDlg.Types/body.act/Rivet",
       "x.mirt:1: pick dialog ChooseDlg.Types/body.act/Rivet: navigation box Types: no node 'Rivet' under 'body.act'"},
      {"pick dialog ChooseDlg.Types", "x.mirt:1: pick dialog ChooseDlg.Types: 'ChooseDlg.Types' names no node: write DIALOG.WIDGET/PATH"},
      {"pick dialog ChooseDlg/body.act", "x.mirt:1: pick dialog ChooseDlg/body.act: 'ChooseDlg' names no widget: write DIALOG.WIDGET"},
      {"pick dialog a b", "x.mirt:1: pick: usage: pick [tree|viewer] PATH..., pick dialog DIALOG.WIDGET/PATH, or pick in PLANT PATH"},
      {"pick in a b c", "x.mirt:1: pick: usage: pick [tree|viewer] PATH..., pick dialog DIALOG.WIDGET/PATH, or pick in PLANT PATH"},
      {"pick in Nowhere Process", "x.mirt:1: no open plant named 'Nowhere'"},
      {"expand ChooseDlg.Go", "x.mirt:1: ChooseDlg.Go is a push, not a navigation box"},
  };
  for (auto& c : cases) {
    EXPECT_FALSE(r.RunText(std::string(c.line) + "\n", "x.mirt")) << c.line;
    EXPECT_EQ(r.Error(), c.error);
  }
  EXPECT_TRUE(Chooser::Picks().empty());

  // A hidden dialog cannot be clicked.
  ASSERT_TRUE(r.RunText("start ScriptTest Chooser Hidden\n", "s.mirt")) << r.Error();
  EXPECT_FALSE(r.RunText("pick dialog ChooseDlg.Types/body.act\n", "h.mirt"));
  EXPECT_EQ(r.Error(), "h.mirt:1: pick dialog ChooseDlg.Types/body.act: dialog ChooseDlg is not shown");
}

TEST_F(NavigScript, PrintLibrariesNeedsAPlantAndSaysWhenItHasNone) {
  EXPECT_FALSE(r.RunText("print libraries\n", "l.mirt"));  // no plant open
  auto doc = HostDocument::Create();
  doc->CreateRootProcess("proc", "Process");
  r.Session().OpenDocument(doc);
  // The host's library tree of a plant with libraries is shown by the add-activity
  // session scripts and the demo; a plant without says so.
  ASSERT_TRUE(r.RunText("print libraries\n", "l.mirt")) << r.Error();
  EXPECT_EQ(out.str(), "this plant has no activity libraries\n");
}

TEST_F(NavigScript, CompletionOffersBoxesAfterPickDialogAndExpand) {
  ASSERT_TRUE(r.RunText("start ScriptTest Chooser\n", "s.mirt")) << r.Error();
  for (std::string line : {"pick dialog Cho", "expand Cho"}) {
    // A box is a widget: the dialog alone is not offered.
    Completion c = Complete(r.Completions(), line, line.size());
    ASSERT_EQ(c.candidates.size(), 1u) << line;
    EXPECT_EQ(c.candidates[0].word, "ChooseDlg.");
  }
}

}  // namespace
