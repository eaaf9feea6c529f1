// Graph node positions: per view, in plant files (strict and byte-stable), and
// changed through undo.
#include <cmath>

#include "GraphPlant.h"

using namespace host;

namespace {

std::string WithPosition(const std::string& element) {
  return ReplaceOnce(kGraphPlant, "<activity id=\"weld\" name=\"Weld\" type=\"PhysicalActivity\" time=\"5\"/>",
                     "<activity id=\"weld\" name=\"Weld\" type=\"PhysicalActivity\" time=\"5\">\n" + element +
                         "\n      </activity>");
}

TEST(GraphPositions, NodesListChildrenInOrderAndKeepAPositionPerView) {
  GraphSession s;
  auto cell = s.Node("Process/Cell");
  ASSERT_TRUE(cell);
  auto children = cell->GetChildNodes();
  ASSERT_EQ(children.size(), 5u);
  EXPECT_TRUE(SameObject(children[1]->GetModelObject(), s.At("Process/Cell/Weld")));
  double x = 0, y = 0;
  EXPECT_FALSE(children[1]->GetPosition(1, x, y));
  EXPECT_EQ(children[1]->SetPosition(1, 12.5, -30), S_OK);
  EXPECT_EQ(children[1]->SetPosition(1, 12.5, -30), S_FALSE);
  EXPECT_TRUE(s.Node("Process/Cell/Weld")->GetPosition(1, x, y));
  EXPECT_EQ(x, 12.5);
  EXPECT_EQ(y, -30);
  EXPECT_FALSE(children[1]->GetPosition(2, x, y));  // the other view is apart
  EXPECT_EQ(children[1]->SetPosition(3, 0, 0), E_FAIL);
  EXPECT_EQ(children[1]->SetPosition(0, 0, 0), E_FAIL);
  EXPECT_EQ(children[1]->SetPosition(2, std::nan(""), 0), E_FAIL);
  EXPECT_FALSE(query<TavIGENode>(s.At("Resources")));
}

TEST(GraphPositions, RoundTripInShortestFormAndPlantsWithoutThemSaveUnchanged) {
  auto plain = LoadPlantText(kGraphPlant);
  ASSERT_TRUE(plain);
  EXPECT_EQ(SerializePlant(*plain, "t.xml", nullptr), kGraphPlant);

  const std::string text = WithPosition(
      "        <graphPosition view=\"pert\" x=\"0.1\" y=\"-20\"/>\n"
      "        <graphPosition view=\"precedence\" x=\"1e+300\" y=\"3.3333333333333335\"/>");
  auto doc = LoadPlantText(text);
  ASSERT_TRUE(doc);
  EXPECT_EQ(SerializePlant(*doc, "t.xml", nullptr), text);
  auto weld = query<TavIGENode>(doc->Resolve("Process/Cell/Weld").GetLeaf());
  double x = 0, y = 0;
  ASSERT_TRUE(weld->GetPosition(2, x, y));
  EXPECT_EQ(y, 10.0 / 3);

  // A position set in a session is written, and reads back the same.
  auto seal = query<TavIGENode>(doc->Resolve("Process/Cell/Seal").GetLeaf());
  seal->SetPosition(1, 1.0 / 7, 200);
  auto again = LoadPlantText(SerializePlant(*doc, "t.xml", nullptr));
  ASSERT_TRUE(again);
  ASSERT_TRUE(query<TavIGENode>(again->Resolve("Process/Cell/Seal").GetLeaf())->GetPosition(1, x, y));
  EXPECT_EQ(x, 1.0 / 7);
}

TEST(GraphPositions, BadElementsFailTheWholeLoadAtTheirPlace) {
  struct Case {
    std::string element, message;
  };
  const std::vector<Case> cases = {
      {"<graphPosition view=\"gantt\" x=\"1\" y=\"2\"/>", "unknown graph view \"gantt\""},
      {"<graphPosition view=\"pert\" y=\"2\"/>", "x"},
      {"<graphPosition view=\"pert\" x=\"1\"/>", "y"},
      {"<graphPosition view=\"pert\" x=\"one\" y=\"2\"/>", "one"},
      {"<graphPosition view=\"pert\" x=\"1\" y=\"inf\"/>", "inf"},
      {"<graphPosition view=\"pert\" x=\"1 \" y=\"2\"/>", "x"},
      {"<graphPosition view=\"pert\" x=\"1\" y=\"2\" z=\"3\"/>", "z"},
      {"<graphPosition view=\"pert\" x=\"1\" y=\"2\"/><graphPosition view=\"pert\" x=\"3\" y=\"4\"/>",
       "a second <graphPosition view=\"pert\">"},
  };
  for (const Case& c : cases) {
    const std::string error = PlantTextError(WithPosition("        " + c.element));
    EXPECT_EQ(error.rfind("t.xml:7:", 0), 0u) << c.element << ": " << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.element << ": " << error;
  }
}

TEST(GraphPositions, MovesAreUndoneAndRedoneAsOneStep) {
  GraphSession s;
  auto weld = s.Node("Process/Cell/Weld");
  UndoJournal& journal = s.doc->Journal();
  journal.Begin();
  weld->SetPosition(1, 10, 20);
  weld->SetPosition(1, 30, 40);
  weld->SetPosition(2, 5, 5);
  ASSERT_TRUE(journal.Commit("move"));
  EXPECT_TRUE(s.doc->IsModified());
  std::string error;
  ASSERT_TRUE(journal.Undo(&error)) << error;
  double x = 0, y = 0;
  EXPECT_FALSE(weld->GetPosition(1, x, y));
  EXPECT_FALSE(weld->GetPosition(2, x, y));
  EXPECT_EQ(SerializePlant(*s.doc, "t.xml", nullptr), kGraphPlant);
  ASSERT_TRUE(journal.Redo(&error)) << error;
  ASSERT_TRUE(weld->GetPosition(1, x, y));
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);

  // Moved and put back within one step: no step at all.
  journal.Begin();
  weld->SetPosition(1, 0, 0);
  weld->SetPosition(1, 30, 40);
  EXPECT_FALSE(journal.Commit("nothing"));
}

}  // namespace
