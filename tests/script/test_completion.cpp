// Completion as a pure function of the model, the line and the cursor: golden
// candidates for statements, sub-statements, quoted, unquoted and blank-holding
// paths, dialogs and widget values, command classes, and a capped large level.
#include <gtest/gtest.h>

#include "HostModel.h"
#include "ScriptCompletion.h"
#include "ScriptTable.h"

using namespace host;

namespace {

struct Model {
  Ref<HostDocument> doc = HostDocument::Create();
  ScriptTable table;  // the built-in statements only, whatever start-up added
  CompletionModel m;
  Model() {
    AddSessionStatements(table);
    AddDialogStatements(table);
    AddPrintStatements(table);
    AddExpectStatements(table);
    AddHelpStatements(table);
    auto root = doc->CreateRootProcess("proc", "Process");
    auto shop = doc->CreateActivity(root, "Activity", "shop", "Body Shop");
    auto framing = doc->CreateActivity(shop, "Activity", "fr", "Framing.1.2");
    doc->CreateActivity(framing, "PhysicalActivity", "w1", "Weld.1.2.1");
    doc->CreateActivity(framing, "PhysicalActivity", "w2", "Weld.1.2.2");
    doc->CreateActivity(shop, "PhysicalActivity", "fin", "Final check");
    auto body = doc->CreateProduct(nullptr, "body", "BodyInWhite.1");
    doc->CreateProduct(body, "door", "Door.1");
    doc->CreateProduct(body, "hinge", "Hinge/Left");
    doc->CreateProduct(nullptr, "st", "Station.1", "", true);
    m.statements = &table;
    m.document = doc.get();
    m.dialogs = {{"ASRDialog", {{"asrmultilist", {"Bracket.3", "none"}}, {"OK", {}}, {"Mode", {"Assign", "Assign all", "none"}}}},
                 {"AttributeDlg", {{"ValueEditor.1", {}}}}};
    m.headers = {"TavVekRenumberActHdr", "WexDDPReplaceParts"};
    m.classes = {{"OrvVekPlanner", "TavVekRenumberActCmd"}, {"OrvVekPlanner", "WexVekGeneralAssignmentCmd"}, {"Other", "X"}};
    m.workbenches = {"Mirt"};
    m.listDirectory = [](const std::string& dir) {
      std::vector<std::pair<std::string, bool>> v;
      if (dir == ".") v = {{"out", true}, {"plant.xml", false}, {"plant rev2.xml", false}};
      if (dir == "out/") v = {{"a.xml", false}};
      return v;
    };
  }
  Completion At(std::string_view line) { return Complete(m, line, line.size()); }
  // Candidates as inserted, in order.
  std::vector<std::string> Inserts(std::string_view line) {
    Completion c = At(line);
    std::vector<std::string> out;
    for (auto& cand : c.candidates) out.push_back(c.Insertion(cand));
    return out;
  }
};

using V = std::vector<std::string>;

TEST(ScriptCompletion, StatementsThenSubStatementsThenArguments) {
  Model t;
  EXPECT_EQ(t.Inserts("pi"), V{"pick "});
  EXPECT_EQ(t.Inserts("se"), (V{"select ", "setting ", "set "}));
  EXPECT_EQ(t.Inserts("act"), V{"active "});  // missing from the old completion
  EXPECT_EQ(t.Inserts("expect hso c"), (V{"count ", "contains "}));
  EXPECT_EQ(t.Inserts("print "), (V{"tree ", "object ", "file ", "dialog ", "dialogs ", "messages ", "hso ", "cso ", "pso ", "status ", "command "}));
  EXPECT_EQ(t.Inserts("help ex"), V{"expect "});
  EXPECT_EQ(t.Inserts("help expect h"), V{"hso "});
  EXPECT_EQ(t.Inserts("start "), (V{"OrvVekPlanner ", "Other "}));
  EXPECT_EQ(t.Inserts("start OrvVekPlanner W"), V{"WexVekGeneralAssignmentCmd "});
  EXPECT_EQ(t.Inserts("fire T"), V{"TavVekRenumberActHdr "});
  EXPECT_EQ(t.Inserts("workbench "), V{"Mirt "});
  EXPECT_EQ(t.Inserts("answer "), (V{"ok ", "cancel ", "yes ", "no ", "file ", "open "}));
  EXPECT_EQ(t.Inserts("notify AttributeDlg c"), (V{"cancel ", "close "}));
  EXPECT_TRUE(t.Inserts("echo ").empty());
  EXPECT_TRUE(t.Inserts("frob ").empty());
  EXPECT_TRUE(t.Inserts("pick A # comm").empty());
}

TEST(ScriptCompletion, PathsOneSegmentAtATimeQuotedWhenNeeded) {
  Model t;
  EXPECT_EQ(t.Inserts("pick "), (V{"tree ", "viewer ", "dialog ", "in ", "Products/", "Resources/", "Process/"}));
  // tree|viewer is optional before the path
  EXPECT_EQ(t.Inserts("pick t"), V{"tree "});
  EXPECT_EQ(t.Inserts("pick tree P"), (V{"Products/", "Process/"}));
  EXPECT_EQ(t.Inserts("pick Process/"), V{"\"Process/Body Shop/"});  // opened, not closed: more segments follow
  EXPECT_EQ(t.Inserts("pick \"Process/Body Shop/"), (V{"\"Process/Body Shop/Framing.1.2/", "\"Process/Body Shop/Final check\" "}));
  EXPECT_EQ(t.Inserts("pick \"Process/Body Shop/Fi"), V{"\"Process/Body Shop/Final check\" "});
  EXPECT_EQ(t.Inserts("pick \"Process/Body Shop/Framing.1.2/Weld.1.2.2"), V{"\"Process/Body Shop/Framing.1.2/Weld.1.2.2\" "});
  // A word the user quoted stays quoted even when it needs no quotes.
  EXPECT_EQ(t.Inserts("pick \"Prod"), V{"\"Products/"});
  EXPECT_EQ(t.Inserts("select Products/BodyInWhite.1/"), (V{"Products/BodyInWhite.1/Door.1 ", "Products/BodyInWhite.1/Hinge\\/Left "}));
  EXPECT_EQ(t.Inserts("select Products/BodyInWhite.1/Hinge\\/"), V{"Products/BodyInWhite.1/Hinge\\/Left "});
  EXPECT_EQ(t.Inserts("print object Resources/"), V{"Resources/Station.1 "});
  EXPECT_TRUE(t.Inserts("pick Process/Nowhere/").empty());
  EXPECT_TRUE(t.Inserts("pick #op").empty());  // ids are typed
  t.m.document = nullptr;
  EXPECT_EQ(t.Inserts("pick "), (V{"tree ", "viewer ", "dialog ", "in "}));
}

TEST(ScriptCompletion, ReplacesTheWholeWordAndSharesTheCommonStart) {
  Model t;
  Completion c = t.At("pick \"Process/Bo");
  EXPECT_EQ(c.from, 5u);
  EXPECT_EQ(c.to, 16u);
  EXPECT_TRUE(c.quoted);
  EXPECT_EQ(c.candidates.at(0).display, "Body Shop/");
  c = t.At("pick \"Process/Body Shop/F");
  EXPECT_EQ(c.total, 2u);
  EXPECT_EQ(c.common, "Process/Body Shop/F");
  EXPECT_EQ(c.CommonInsertion(), "\"Process/Body Shop/F");
  c = t.At("expect hso co");
  EXPECT_EQ(c.common, "co");
  c = t.At("expect hso cou");
  EXPECT_TRUE(c.commonFinal);
  EXPECT_EQ(c.CommonInsertion(), "count ");
  // In the middle of a line: what stands after the cursor stays.
  c = Complete(t.m, "pick Pro extra", 8);
  EXPECT_EQ(c.from, 5u);
  EXPECT_EQ(c.to, 8u);
  EXPECT_EQ(c.candidates.size(), 2u);
}

TEST(ScriptCompletion, DialogsWidgetsAndTheirValues) {
  Model t;
  EXPECT_EQ(t.Inserts("push A"), (V{"ASRDialog.", "AttributeDlg."}));
  EXPECT_EQ(t.Inserts("print dialog A"), (V{"ASRDialog ", "ASRDialog.", "AttributeDlg ", "AttributeDlg."}));
  EXPECT_EQ(t.Inserts("push ASRDialog.O"), V{"ASRDialog.OK "});
  EXPECT_EQ(t.Inserts("set ASRDialog.Mode "), (V{"Assign ", "\"Assign all\" ", "none "}));
  EXPECT_EQ(t.Inserts("set ASRDialog.Mode \"Assign a"), V{"\"Assign all\" "});
  EXPECT_TRUE(t.Inserts("set ASRDialog.Mode Assign ").empty());
  EXPECT_EQ(t.Inserts("open "), (V{"out/", "plant.xml ", "\"plant rev2.xml\" "}));
  EXPECT_EQ(t.Inserts("save out/"), V{"out/a.xml "});
}

// A level of 10^4 objects offers the first hundred and says how many matched.
TEST(ScriptCompletion, LargeLevelsAreCapped) {
  Model t;
  auto big = t.doc->CreateProduct(nullptr, "big", "Big");
  for (int i = 0; i < 10000; ++i) t.doc->CreateProduct(big, "", "Part." + std::to_string(i));
  Completion c = t.At("pick Products/Big/");
  EXPECT_EQ(c.total, 10000u);
  EXPECT_EQ(c.candidates.size(), 100u);
  EXPECT_EQ(c.candidates.front().word, "Products/Big/Part.0");
  EXPECT_EQ(c.common, "Products/Big/Part.");
  c = t.At("pick Products/Big/Part.99");
  EXPECT_EQ(c.total, 111u);  // Part.99, Part.990 ... Part.999, Part.9900 ... Part.9999
}

}  // namespace
