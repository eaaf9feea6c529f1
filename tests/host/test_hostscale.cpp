// What keeps large plants linear and lean: the relation code index past its flat
// list, behaviour items with their index, products placed only when a position is
// set, tag positions on one long line, and paths up deep trees.
#include <gtest/gtest.h>

#include "HostAssignment.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "TavPlanner.h"

using namespace host;

namespace {

struct ManyProducts {
  Ref<HostDocument> doc = HostDocument::Create();
  Ref<HostRootActivity> root = doc->CreateRootProcess("proc", "Process");
  Ref<HostActivity> op = doc->CreateActivity(root, "PhysicalActivity", "op", "Op");
  Ref<HostProduct> station = doc->CreateProduct(nullptr, "st", "Station.1", "", true);
  std::vector<Ref<HostProduct>> parts;
  explicit ManyProducts(int n) {
    for (int i = 0; i < n; ++i) parts.push_back(doc->CreateProduct(nullptr, "d" + std::to_string(i), "P" + std::to_string(i)));
  }
  // One command through the journal.
  template <class F>
  void Command(F&& f) {
    doc->Journal().Begin();
    f();
    ASSERT_TRUE(doc->Journal().Commit("command"));
  }
};

TEST(RelationCodes, AnswerTheSameBeforeAndAfterTheListGrowsAnIndex) {
  ManyProducts m(60);
  for (int i = 0; i < 60; ++i) {
    ASSERT_EQ(m.op->AddItem(m.parts[i], TavItemCode::Processes), S_OK);
    // The index is built part-way through: every earlier answer must hold across it.
    for (int k = 0; k <= i; k += 7) ASSERT_EQ(m.op->IsItemAssigned(m.parts[k], TavItemCode::Processes), S_OK) << i << " " << k;
  }
  EXPECT_EQ(m.op->AddItem(m.parts[5], TavItemCode::Processes), S_FALSE);
  EXPECT_EQ(m.op->AddItem(m.parts[5], TavItemCode::Removes), S_OK);  // another code on the same object
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[5], TavItemCode::Removes | TavItemCode::Processes), S_OK);
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[6], TavItemCode::Removes), S_FALSE);
  // Items and resources of one object are told apart.
  EXPECT_EQ(m.op->AddResource(m.station, TavResourceCode::Uses), S_OK);
  EXPECT_EQ(m.op->IsResourceAssigned(m.station, TavResourceCode::Uses), S_OK);
  EXPECT_EQ(m.op->IsItemAssigned(m.station, TavItemCode::Attaches), S_FALSE);

  // Removing every other object moves entries around in the list and its index.
  for (int i = 0; i < 60; i += 2) ASSERT_EQ(m.op->RemoveItem(m.parts[i], TavItemCode::Processes), S_OK);
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[5], TavItemCode::Removes), S_OK);  // one code of two gone
  EXPECT_EQ(m.op->RemoveItem(m.parts[5], TavItemCode::Processes), S_OK);
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[5], TavItemCode::Processes), S_FALSE);
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[5], TavItemCode::Removes), S_OK);
  for (int i = 0; i < 60; ++i) {
    if (i == 5) continue;
    EXPECT_EQ(m.op->IsItemAssigned(m.parts[i], TavItemCode::Processes), i % 2 ? S_OK : S_FALSE) << i;
  }
  EXPECT_EQ(m.op->GetItems("Item").size(), 30u);
  EXPECT_EQ(m.op->AddItem(m.parts[0], TavItemCode::Processes), S_OK);  // gone, so new again
}

TEST(RelationCodes, OutputsAreRefusedTwiceAndFollowUndo) {
  ManyProducts m(40);
  for (auto& p : m.parts) ASSERT_EQ(m.op->AddOutput(p), S_OK);
  EXPECT_EQ(m.op->AddOutput(m.parts[17]), S_FALSE);
  EXPECT_EQ(m.op->GetOutputs().size(), 40u);
  m.Command([&] { EXPECT_EQ(m.op->RemoveOutput(m.parts[17]), S_OK); });
  EXPECT_EQ(m.op->GetOutputs(m.parts[17]).size(), 0u);
  std::string why;
  ASSERT_TRUE(m.doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(m.op->GetOutputs(m.parts[17]).size(), 1u);
  EXPECT_EQ(m.op->AddOutput(m.parts[17]), S_FALSE);  // the index knows it again
  ASSERT_TRUE(m.doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(m.op->AddOutput(m.parts[17]), S_OK);
}

TEST(RelationCodes, UndoOfARemovedItemRestoresItsCode) {
  ManyProducts m(30);
  for (auto& p : m.parts) ASSERT_EQ(m.op->AddItem(p, TavItemCode::Processes), S_OK);
  m.Command([&] { EXPECT_EQ(m.op->RemoveItem(m.parts[3], TavItemCode::Processes), S_OK); });
  std::string why;
  ASSERT_TRUE(m.doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[3], TavItemCode::Processes), S_OK);
  ASSERT_TRUE(m.doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(m.op->IsItemAssigned(m.parts[3], TavItemCode::Processes), S_FALSE);
}

TEST(BehaviourItems, KeepTheirOrderAndRefuseRepeatsThroughRemovalAndUndo) {
  ManyProducts m(100);
  auto b = AssignmentOf(*m.doc, true)->CreateBehavior(m.station, "b", "Station.1 Behavior");
  for (auto& p : m.parts) ASSERT_EQ(b->AddInputItem(p), S_OK);
  EXPECT_EQ(b->AddInputItem(m.parts[42]), S_FALSE);
  EXPECT_EQ(b->AddOutputItem(m.parts[42]), S_OK);  // the other list is apart
  EXPECT_EQ(b->AddInputItem(m.station), E_FAIL);   // a resource is no item
  for (int i = 0; i < 50; ++i) ASSERT_EQ(b->RemoveInputItem(m.parts[i]), S_OK);
  EXPECT_EQ(b->RemoveInputItem(m.parts[0]), E_FAIL);
  EXPECT_EQ(b->IsItemAssigned(m.parts[0]), S_FALSE);
  EXPECT_EQ(b->IsItemAssigned(m.parts[42]), S_OK);  // still an output
  ASSERT_EQ(b->AddInputItem(m.parts[0]), S_OK);
  auto inputs = b->GetInputItems();
  ASSERT_EQ(inputs.size(), 51u);
  EXPECT_EQ(inputs.front(), m.parts[50]);
  EXPECT_EQ(inputs.back(), m.parts[0]);

  m.Command([&] { EXPECT_EQ(b->RemoveInputItem(m.parts[60]), S_OK); });
  EXPECT_EQ(b->IsItemAssigned(m.parts[60]), S_FALSE);
  std::string why;
  ASSERT_TRUE(m.doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(b->AddInputItem(m.parts[60]), S_FALSE);
  EXPECT_EQ(b->GetInputItems()[10], m.parts[60]);  // back in its place
  ASSERT_TRUE(m.doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(b->IsItemAssigned(m.parts[60]), S_FALSE);
}

TEST(ProductPosition, IsTheIdentityUntilSetAndUndoesBackToIt) {
  ManyProducts m(1);
  const TavIMovable::Position identity{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(m.parts[0]->GetPosition(), identity);
  TavIMovable::Position moved = identity;
  moved[9] = 250.5;
  m.Command([&] { m.parts[0]->SetPosition(moved); });
  EXPECT_EQ(m.parts[0]->GetPosition(), moved);
  std::string why;
  ASSERT_TRUE(m.doc->Journal().Undo(&why)) << why;
  EXPECT_EQ(m.parts[0]->GetPosition(), identity);
  ASSERT_TRUE(m.doc->Journal().Redo(&why)) << why;
  EXPECT_EQ(m.parts[0]->GetPosition(), moved);
}

// Where the loader says a tag ends, for a plant written on one line: the column of the
// bad tag's end, counted in UTF-16 units (a character beyond U+FFFF counts two).
TEST(OneLinePlant, ErrorsNameTheColumnOfTheirTag) {
  std::string s = "<plant format=\"1\"><products>";
  for (int i = 0; i < 2000; ++i) s += "<product id=\"d" + std::to_string(i) + "\" name=\"P\xC3\xA9\xF0\x9D\x84\x9E\"/>";
  s += "<product id=\"bad id\" name=\"X\"/>";
  const std::size_t end = s.size();
  s += "</products></plant>";
  std::size_t units = 0;
  for (std::size_t i = 0; i < end; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) != 0x80) units += c >= 0xF0 ? 2 : 1;
  }
  std::string error;
  EXPECT_FALSE(ParsePlant(s, "one.xml", error));
  EXPECT_EQ(error.substr(0, error.find(": ")), "one.xml:1:" + std::to_string(units + 1)) << error;

  // The same tags on their own lines give the same column on the bad tag's line.
  std::string lines = "<plant format=\"1\"><products>\n<product id=\"d\" name=\"P\"/><product id=\"bad id\" name=\"X\"/>\n</products></plant>";
  EXPECT_FALSE(ParsePlant(lines, "lines.xml", error));
  EXPECT_EQ(error.substr(0, error.find(": ")), "lines.xml:2:58") << error;
}

TEST(DeepPaths, NameEveryLevelAndResolveBack) {
  auto doc = HostDocument::Create();
  Ref<HostActivity> a = doc->CreateRootProcess("proc", "Process");
  std::string expected = "Process";
  for (int i = 0; i < 3000; ++i) {
    const std::string label = i == 1500 ? "Cut/Paste" : "L" + std::to_string(i);
    a = doc->CreateActivity(a, "Activity", "", label);
    expected += "/" + (i == 1500 ? std::string("Cut\\/Paste") : label);
  }
  EXPECT_EQ(doc->PathString(a), expected);
  EXPECT_EQ(doc->PathOf(a).Objects().size(), 3001u);
  EXPECT_EQ(doc->Resolve(expected).GetLeaf(), a);

  // A behaviour's path runs on through its resource's tree.
  auto station = doc->CreateProduct(nullptr, "st", "Station.1", "", true);
  auto robot = doc->CreateProduct(station, "rb", "Robot.1");
  auto b = AssignmentOf(*doc, true)->CreateBehavior(robot, "b", "Weld");
  EXPECT_EQ(doc->PathString(b), "Resources/Station.1/Robot.1/Weld");
}

}  // namespace
