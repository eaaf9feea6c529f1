// The plant section registry and element extensions.
#include <gtest/gtest.h>

#include <map>

#include "PlantDocument.h"
#include "PlantSections.h"

namespace {

// A toy section: <notes><note ref="id" text="..."/></notes>, kept beside the document.
std::map<const host::HostDocument*, std::vector<std::pair<std::string, std::string>>> g_notes;

void RegisterNotes() {
  host::RegisterPlantSection(
      "notes",
      [](const host::PlantElement& section, host::PlantLoadContext& ctx) {
        for (const host::PlantElement* n : ctx.Children(section)) {
          if (!ctx.Expect(*n, "note")) return false;
          std::optional<std::string> ref, text;
          if (!ctx.ReadAttributes(*n, {{"ref", &ref, true}, {"text", &text, true}})) return false;
          if (!ctx.Lookup(*ref)) {
            ctx.Error(n, "note for an unknown id '" + *ref + "'");
            return false;
          }
          g_notes[&ctx.doc].emplace_back(*ref, *text);
        }
        return !ctx.Failed();
      },
      [](const host::HostDocument& doc, host::PlantWriter& w) {
        w.Start("notes");
        auto it = g_notes.find(&doc);
        if (it != g_notes.end())
          for (auto& [ref, text] : it->second) {
            w.Start("note");
            w.Attr("ref", ref);
            w.Attr("text", text);
            w.End();
          }
        w.End();
      });
}

// <resource> children <capacity value="..."/> stored as a resource attribute.
void RegisterCapacity() {
  host::RegisterElementExtension(
      "resource", "capacity",
      [](const host::PlantElement& e, const Ref<TavBaseUnknown>& owner, host::PlantLoadContext& ctx) {
        std::optional<std::string> value;
        double v;
        if (!ctx.ReadAttributes(e, {{"value", &value, true}}) || !ctx.ParseDouble(e, "value", *value, v)) return false;
        std::dynamic_pointer_cast<host::HostProduct>(owner)->SetAttribute("__capacity", v);
        return true;
      },
      [](const Ref<TavBaseUnknown>&, host::PlantWriter&) {});
}

const std::string kPlant =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plant format=\"1\" environment=\"local\" name=\"n\">\n"
    "  <products>\n"
    "    <product id=\"x\" name=\"X\"/>\n"
    "  </products>\n"
    "  <process id=\"p\" name=\"P\" type=\"Activity\"/>\n"
    "  <notes>\n"
    "    <note ref=\"x\" text=\"check &amp; weld\"/>\n"
    "    <note ref=\"p\" text=\"root\"/>\n"
    "  </notes>\n"
    "</plant>\n";

}  // namespace

TEST(PlantSections, RegisteredSectionRoundTrips) {
  RegisterNotes();
  std::string error;
  auto doc = host::ParsePlant(kPlant, "t.xml", error);
  ASSERT_TRUE(doc) << error;
  ASSERT_EQ(g_notes[doc.get()].size(), 2u);
  EXPECT_EQ(g_notes[doc.get()][0].second, "check & weld");
  EXPECT_EQ(host::SerializePlant(*doc), kPlant);

  // Empty: the section is left out, so a core file stays byte-identical.
  auto core = host::HostDocument::Create();
  core->CreateRootProcess("p", "P");
  std::string bytes = host::SerializePlant(*core);
  EXPECT_EQ(bytes.find("notes"), std::string::npos) << bytes;

  // The section's own errors come back with a position, and nothing is loaded.
  std::string bad = kPlant;
  bad.replace(bad.find("ref=\"p\""), 7, "ref=\"q\"");
  EXPECT_FALSE(host::ParsePlant(bad, "t.xml", error));
  EXPECT_EQ(error, "t.xml:9:32: note for an unknown id 'q'");

  ASSERT_TRUE(host::UnregisterPlantSection("notes"));
  EXPECT_FALSE(host::ParsePlant(kPlant, "t.xml", error));
  EXPECT_EQ(error, "t.xml:7:10: unknown element <notes> in <plant>");
  g_notes.clear();
}

TEST(PlantSections, SectionsSeeCoreObjectsAndCreateReferencableOnes) {
  // A section that creates a resource; a core relation may point at it.
  host::RegisterPlantSection(
      "extraResources",
      [](const host::PlantElement& section, host::PlantLoadContext& ctx) {
        for (const host::PlantElement* n : ctx.Children(section)) {
          std::optional<std::string> id;
          if (!ctx.Expect(*n, "extra") || !ctx.ReadAttributes(*n, {{"id", &id, true}}) || !ctx.CheckNewId(*n, *id))
            return false;
          ctx.doc.CreateProduct(nullptr, *id, "Extra", {}, true);
        }
        return true;
      },
      nullptr);
  std::string error;
  auto doc = host::ParsePlant(
      "<plant format=\"1\"><process id=\"p\" name=\"P\"><relation type=\"process_uses_resource\" ref=\"e1\"/></process>"
      "<extraResources><extra id=\"e1\"/></extraResources></plant>",
      "t.xml", error);
  ASSERT_TRUE(doc) << error;
  EXPECT_EQ(doc->Process().roots_[0]->Relations().size(), 1u);
  EXPECT_FALSE(host::ParsePlant("<plant format=\"1\"><process id=\"e1\" name=\"P\"/>"
                                "<extraResources><extra id=\"e1\"/></extraResources></plant>",
                                "t.xml", error));
  EXPECT_NE(error.find("duplicate id 'e1'"), std::string::npos) << error;
  host::UnregisterPlantSection("extraResources");
}

TEST(PlantSections, ElementExtensionsLoadOnTheirOwner) {
  RegisterCapacity();
  std::string error;
  auto doc = host::ParsePlant(
      "<plant format=\"1\"><resources><resource id=\"r\" name=\"R\"><capacity value=\"2.5\"/></resource></resources></plant>",
      "t.xml", error);
  ASSERT_TRUE(doc) << error;
  EXPECT_EQ(std::get<double>(*doc->Resources().roots_[0]->GetAttribute("__capacity")), 2.5);
  EXPECT_FALSE(host::ParsePlant(
      "<plant format=\"1\"><resources><resource id=\"r\" name=\"R\"><capacity value=\"lots\"/></resource></resources></plant>",
      "t.xml", error));
  EXPECT_NE(error.find("bad number 'lots'"), std::string::npos) << error;
  // Only under its parent.
  EXPECT_FALSE(host::ParsePlant(
      "<plant format=\"1\"><products><product id=\"r\" name=\"R\"><capacity value=\"1\"/></product></products></plant>",
      "t.xml", error));
  EXPECT_NE(error.find("unknown element <capacity> in <product>"), std::string::npos) << error;
  EXPECT_TRUE(host::UnregisterElementExtension("resource", "capacity"));
}

TEST(PlantSections, CoreNamesCannotBeClaimed) {
  EXPECT_THROW(host::RegisterPlantSection("process", nullptr, nullptr), std::invalid_argument);
  EXPECT_THROW(host::RegisterElementExtension("activity", "relation", nullptr, nullptr), std::invalid_argument);
  EXPECT_THROW(host::RegisterElementExtension("links", "x", nullptr, nullptr), std::invalid_argument);
}

TEST(PlantSections, WriterEscapesAndNests) {
  std::string out;
  host::PlantWriter w(out);
  w.Start("a");
  w.Attr("v", "<&>\"\t");
  w.Start("b");
  w.AttrDouble("x", 0.1);
  w.AttrInt("n", -3);
  w.End();
  w.End();
  EXPECT_EQ(out, "<a v=\"&lt;&amp;&gt;&quot;&#9;\">\n  <b x=\"0.1\" n=\"-3\"/>\n</a>\n");
  EXPECT_FALSE(w.NeedsXml11());
}
