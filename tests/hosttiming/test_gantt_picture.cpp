// The Gantt picture: rows and lanes from solved times, the SVG parsed back (a bar per
// timed row, red exactly on critical ones, escaped labels, lanes stacked and
// flagged), and a golden picture of a small plant.
#include <expat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "GanttPicture.h"
#include "TimingTestSupport.h"

using namespace timingtest;

namespace {

struct Element {
  std::string name;
  std::map<std::string, std::string> attrs;
  int rowGroup = -1;  // the row group (class "row" or "lane") it is in
  std::string rowClass;
};

// Every element of the SVG with the row group it sits in; fails on malformed XML.
std::vector<Element> Parse(const std::string& svg, std::vector<std::string>* tooltips = nullptr) {
  struct State {
    std::vector<Element> all;
    std::vector<std::pair<int, std::string>> groups;  // stack: row index or -1
    int rows = 0;
    bool inTitle = false;
    std::string text;
    std::vector<std::string>* tips;
  } st;
  st.tips = tooltips;
  XML_Parser p = XML_ParserCreate("UTF-8");
  XML_SetUserData(p, &st);
  XML_SetElementHandler(
      p,
      [](void* u, const XML_Char* name, const XML_Char** atts) {
        auto& s = *static_cast<State*>(u);
        Element e{name, {}, -1, {}};
        for (int i = 0; atts[i]; i += 2) e.attrs[atts[i]] = atts[i + 1];
        if (!s.groups.empty()) std::tie(e.rowGroup, e.rowClass) = s.groups.back();
        if (e.name == "g") {
          const std::string cls = e.attrs["class"];
          if (cls == "row" || cls == "lane") s.groups.emplace_back(s.rows++, cls);
          else s.groups.push_back(s.groups.empty() ? std::make_pair(-1, std::string()) : s.groups.back());
        }
        s.inTitle = e.name == "title";
        s.text.clear();
        s.all.push_back(e);
      },
      [](void* u, const XML_Char* name) {
        auto& s = *static_cast<State*>(u);
        if (std::string(name) == "g") s.groups.pop_back();
        if (std::string(name) == "title" && s.tips) s.tips->push_back(s.text);
        s.inTitle = false;
      });
  XML_SetCharacterDataHandler(p, [](void* u, const XML_Char* c, int len) {
    auto& s = *static_cast<State*>(u);
    if (s.inTitle) s.text.append(c, static_cast<std::size_t>(len));
  });
  const bool ok = XML_Parse(p, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(p);
  EXPECT_TRUE(ok) << "not well-formed:\n" << svg;
  return st.all;
}

bool IsBar(const Element& e) {
  const std::string cls = e.attrs.count("class") ? e.attrs.at("class") : "";
  return cls.rfind("bar", 0) == 0 || cls.rfind("milestone", 0) == 0;
}

struct SmallPlant : Plant {
  Ref<HostActivity> g, a, sw, b, c, orIn, done, tail;
  Ref<host::HostProduct> station;
  SmallPlant() {
    g = Add(nullptr, "Body <Shop> & \"Paint\"", 0, "Activity");
    a = Add(g, "Load", 2);
    sw = Add(g, "Sw", 0, "Switch");
    b = Add(g, "Weld A", 5);
    c = Add(g, "Weld B with a label far too long to show in the label column", 3);
    orIn = Add(g, "Or", 0, "OrIn");
    done = Add(g, "Done", 0);
    tail = Add(nullptr, "Tail", 1);
    Flow(a, sw);
    Flow(sw, b);
    Flow(sw, c);
    Flow(b, orIn);
    Flow(c, orIn);
    Flow(orIn, done);
    station = doc->CreateProduct(nullptr, "st", "Station.1", {}, true);
    for (auto& x : {a, b, c, tail}) EXPECT_EQ(x->CreateRelation("process_uses_resource", station), S_OK);
    doc->SetDisplayName("small");
  }
  // The process rows and the station's lane.
  host::GanttPicture Picture() const {
    host::GanttPicture pic;
    host::AddProcessRows(pic, *doc, root);
    host::AddResourceLane(pic, *doc, station);
    return pic;
  }
};

TEST(GanttPicture, RowsLanesAndText) {
  SmallPlant p;
  host::GanttPicture pic;
  host::AddProcessRows(pic, *p.doc, p.root);  // nothing solved yet: rows without bars
  ASSERT_EQ(pic.rows.size(), 7u);             // control nodes left out
  for (auto& r : pic.rows) EXPECT_FALSE(r.timed);
  EXPECT_NE(host::GanttPictureText(pic).find("Load untimed"), std::string::npos);

  ASSERT_EQ(Solve(p.root), S_OK);
  pic = {};
  host::AddProcessRows(pic, *p.doc, p.root, 1);
  ASSERT_EQ(pic.rows.size(), 3u);
  EXPECT_EQ(pic.rows[1].level, 1);
  EXPECT_EQ(pic.title, "Process Gantt: Process");
  EXPECT_DOUBLE_EQ(pic.span, 7);
  host::AddResourceLane(pic, *p.doc, p.station);
  const auto& lane = pic.rows.back();
  // Load 0..2, Weld A 2..7 and Weld B 2..5 overlap; Tail 0..1 overlaps Load.
  ASSERT_EQ(lane.bars.size(), 4u);
  EXPECT_TRUE(lane.doubleBooked);
  EXPECT_EQ(lane.stacks, 2);
  EXPECT_DOUBLE_EQ(lane.busy, 7);
  EXPECT_DOUBLE_EQ(lane.utilisation, 1);
  int overlapping = 0;
  for (auto& b : lane.bars) overlapping += b.overlaps;
  EXPECT_EQ(overlapping, 4);
  // A lane over given activities only.
  host::GanttPicture only;
  host::AddResourceLane(only, *p.doc, p.station, {p.a, p.tail});
  EXPECT_EQ(only.rows.back().bars.size(), 2u);
  EXPECT_TRUE(only.rows.back().doubleBooked);
  host::AddResourceLane(only, *p.doc, p.station, {p.a});
  EXPECT_FALSE(only.rows.back().doubleBooked);
  EXPECT_DOUBLE_EQ(only.rows.back().utilisation, 2.0 / 2.0);
}

TEST(GanttPicture, SvgBarsMatchTheSolvedRows) {
  SmallPlant p;
  ASSERT_EQ(Solve(p.root), S_OK);
  const host::GanttPicture pic = p.Picture();
  const std::string svg = host::GanttPictureSvg(pic);
  std::vector<std::string> tips;
  const auto elements = Parse(svg, &tips);
  std::vector<int> bars(pic.rows.size(), 0), red(pic.rows.size(), 0);
  for (auto& e : elements)
    if (IsBar(e) && e.rowGroup >= 0 && e.rowClass == "row") {
      ++bars[static_cast<std::size_t>(e.rowGroup)];
      red[static_cast<std::size_t>(e.rowGroup)] += e.attrs.at("fill") == "#d62728";
    }
  for (std::size_t i = 0; i + 1 < pic.rows.size(); ++i) {
    SCOPED_TRACE(pic.rows[i].label);
    EXPECT_EQ(bars[i], 1);
    EXPECT_EQ(red[i], pic.rows[i].bars.front().critical ? 1 : 0);
  }
  // Weld B is not critical; Done is a milestone drawn as a diamond.
  EXPECT_FALSE(pic.rows[4].bars.front().critical);
  EXPECT_TRUE(pic.rows[5].bars.front().milestone);
  EXPECT_NE(svg.find("<polygon points=\""), std::string::npos);
  // Labels escaped; long ones cut, with the full text in the tooltip.
  EXPECT_NE(svg.find(">Body &lt;Shop&gt; &amp; &quot;Paint&quot;</text>"), std::string::npos);
  EXPECT_NE(svg.find("Weld B with a label far too lon\xE2\x80\xA6</text>"), std::string::npos) << svg;
  bool fullTip = false;
  for (auto& t : tips) fullTip = fullTip || t.find("far too long to show in the label column") != std::string::npos;
  EXPECT_TRUE(fullTip);
  EXPECT_EQ(svg.find("<script"), std::string::npos);
  EXPECT_EQ(svg.find("href"), std::string::npos);
  EXPECT_EQ(svg, host::GanttPictureSvg(pic));  // same bytes again
}

TEST(GanttPicture, GoldenPicture) {
  SmallPlant p;
  ASSERT_EQ(Solve(p.root), S_OK);
  const host::GanttPicture pic = p.Picture();
  const std::string svg = host::GanttPictureSvg(pic);
  const std::filesystem::path golden = std::filesystem::path(MIRT_TEST_DATA) / "hosttiming/golden/small-gantt.svg";
  if (std::getenv("MIRT_UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << svg;
  std::ifstream in(golden, std::ios::binary);
  std::stringstream want;
  want << in.rdbuf();
  EXPECT_EQ(svg, want.str());
}

TEST(GanttPicture, HundredsOfRowsKeepTheirHeight) {
  Plant p;
  Ref<HostActivity> prev;
  for (int i = 0; i < 500; ++i) {
    auto a = p.Add(nullptr, "Op" + std::to_string(i), 1 + i % 3);
    if (prev) Plant::Flow(prev, a);
    prev = a;
  }
  ASSERT_EQ(Solve(p.root), S_OK);
  host::GanttPicture pic;
  host::AddProcessRows(pic, *p.doc, p.root);
  const auto elements = Parse(host::GanttPictureSvg(pic));
  const double height = std::stod(elements.front().attrs.at("height"));
  EXPECT_GE(height, 501 * 20.0);  // the picture grows with the rows
  int bars = 0;
  for (auto& e : elements) bars += IsBar(e);
  EXPECT_EQ(bars, 501);
}

}  // namespace
