// The host's viewer state: defaults, undo, and the <visuals> plant section.
#include <gtest/gtest.h>

#include "HostUndo.h"
#include "PlantDocument.h"
#include "VerifPlant.h"

namespace {

const char* kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1" environment="local" name="P">
  <products>
    <product id="p1" name="P.1">
      <product id="p2" name="P.2"/>
    </product>
  </products>
  <resources>
    <resource id="r1" name="R.1" type="Robot"/>
  </resources>
  <process id="proc" name="Process" type="Activity"/>
</plant>
)";

std::string WithSection(const std::string& section) {
  std::string s = kPlant;
  s.insert(s.find("</plant>"), section);
  return s;
}

Ref<TavBaseUnknown> Obj(const Ref<host::HostDocument>& doc, const char* id) { return doc->FindById(id); }

TEST(VisuHost, DefaultsAndRangeChecks) {
  VerifPlant p;
  auto geo = query<TavI3DGeoVisu>(Ref<TavBaseUnknown>(p.pa));
  auto props = query<TavIVisProperties>(Ref<TavBaseUnknown>(p.robot));
  ASSERT_TRUE(geo && props);
  EXPECT_EQ(geo->GetColorIndex(), kTavDefaultColour);
  EXPECT_EQ(geo->GetInheritance(), kTavInheritOwnColour);
  EXPECT_EQ(geo->GetOpacity(), kTavOpaque);
  EXPECT_TRUE(props->IsShown());
  EXPECT_EQ(geo->SetColorIndex(256), E_FAIL);
  EXPECT_EQ(geo->SetOpacity(-1), E_FAIL);
  EXPECT_EQ(geo->SetColorIndex(kTavDefaultColour), S_FALSE);
  EXPECT_FALSE(query<TavI3DGeoVisu>(Ref<TavBaseUnknown>(p.a)));  // activities have no representation
  EXPECT_TRUE(TavVisuManagerOf(p.doc));
}

TEST(VisuHost, ChangesAreOneUndoStep) {
  VerifPlant p;
  auto& j = p.doc->Journal();
  j.Begin();
  query<TavI3DGeoVisu>(Ref<TavBaseUnknown>(p.pa))->SetColorIndex(246);
  query<TavIVisProperties>(Ref<TavBaseUnknown>(p.pb))->SetShow(false);
  ASSERT_TRUE(j.Commit("colours"));
  std::string err;
  ASSERT_TRUE(j.Undo(&err)) << err;
  EXPECT_EQ(VerifPlant::Colour(p.pa), kTavDefaultColour);
  EXPECT_TRUE(VerifPlant::Shown(p.pb));
  ASSERT_TRUE(j.Redo(&err)) << err;
  EXPECT_EQ(VerifPlant::Colour(p.pa), 246);
  EXPECT_FALSE(VerifPlant::Shown(p.pb));
}

TEST(VisuHost, AViewerPutBackLeavesNoStepAndNoUnsavedChange) {
  VerifPlant p;
  p.doc->MarkSaved();
  auto& j = p.doc->Journal();
  auto geo = query<TavI3DGeoVisu>(Ref<TavBaseUnknown>(p.pa));
  auto props = query<TavIVisProperties>(Ref<TavBaseUnknown>(p.pb));
  j.Begin();
  geo->SetColorIndex(246);
  geo->SetColorIndex(249);
  props->SetShow(false);
  geo->SetColorIndex(kTavDefaultColour);  // the verification closing without keep-view
  props->SetShow(true);
  EXPECT_FALSE(j.Commit("verify"));
  EXPECT_FALSE(p.doc->IsModified());
  // Only the oldest state of a product is kept: one undo brings it back.
  j.Begin();
  geo->SetColorIndex(246);
  geo->SetColorIndex(247);
  ASSERT_TRUE(j.Commit("recolour"));
  std::string err;
  ASSERT_TRUE(j.Undo(&err)) << err;
  EXPECT_EQ(VerifPlant::Colour(p.pa), kTavDefaultColour);
  EXPECT_FALSE(p.doc->IsModified());
}

TEST(VisuHost, PlantWithoutVisualsRoundTripsUnchanged) {
  std::string err;
  auto doc = host::ParsePlant(kPlant, "p.xml", err);
  ASSERT_TRUE(doc) << err;
  EXPECT_EQ(host::SerializePlant(*doc), kPlant);
}

TEST(VisuHost, SectionRoundTripsAndWritesOnlyWhatDiffers) {
  const std::string section =
      "  <visuals>\n"
      "    <visual object=\"p2\" colour=\"246\" own=\"12\"/>\n"
      "    <visual object=\"r1\" opacity=\"128\" hidden=\"true\"/>\n"
      "  </visuals>\n";
  std::string err;
  auto doc = host::ParsePlant(WithSection(section), "p.xml", err);
  ASSERT_TRUE(doc) << err;
  auto geo = query<TavI3DGeoVisu>(Obj(doc, "p2"));
  EXPECT_EQ(geo->GetColorIndex(), 246);
  EXPECT_EQ(query<TavIVisProperties>(Obj(doc, "p2"))->GetStoredColor(), 12);
  EXPECT_FALSE(query<TavIVisProperties>(Obj(doc, "r1"))->IsShown());
  EXPECT_EQ(host::SerializePlant(*doc), WithSection(section));
  // Back to the own colour: the entry drops out of the file.
  geo->SetColorIndex(12);
  EXPECT_NE(host::SerializePlant(*doc).find("<visual object=\"p2\" own=\"12\"/>"), std::string::npos);
}

TEST(VisuHost, LoaderErrorsNameTheirPlace) {
  struct Case {
    const char* section;
    const char* message;
  };
  for (const Case& c : {Case{"<visuals><visual object=\"nope\"/></visuals>", "unknown object 'nope'"},
                        Case{"<visuals><visual object=\"proc\"/></visuals>", "no 3D representation"},
                        Case{"<visuals><visual object=\"p1\" colour=\"300\"/></visuals>", "out of range"},
                        Case{"<visuals><visual object=\"p1\" opacity=\"x\"/></visuals>", "opacity"},
                        Case{"<visuals><visual object=\"p1\" hidden=\"maybe\"/></visuals>", "hidden"},
                        Case{"<visuals><visual object=\"p1\"/><visual object=\"p1\" colour=\"4\"/></visuals>",
                             "two visuals"},
                        Case{"<visuals><visual object=\"p1\" size=\"3\"/></visuals>", "size"},
                        Case{"<visuals><view object=\"p1\"/></visuals>", "view"}}) {
    std::string err;
    EXPECT_FALSE(host::ParsePlant(WithSection(c.section), "p.xml", err)) << c.section;
    EXPECT_NE(err.find("p.xml:12:"), std::string::npos) << err;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
  }
}

}  // namespace
