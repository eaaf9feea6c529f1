#include "PertPicture.h"

#include <algorithm>
#include <cmath>

#include "PertLayout.h"
#include "Svg.h"
#include "TavGraph.h"

namespace host {

namespace {

constexpr double kMargin = 20, kTitleHeight = 30;
constexpr std::size_t kLabelChars = 22;
constexpr const char* kRed = "#d62728";

const char* KindName(int viewerKind) { return viewerKind == 2 ? "precedence viewer" : "PERT chart"; }

// At most kLabelChars code points; a cut label ends in an ellipsis (the tooltip keeps it whole).
std::string Cut(const std::string& s) {
  std::size_t chars = 0, i = 0;
  while (i < s.size()) {
    if (chars == kLabelChars) return s.substr(0, i) + "\xE2\x80\xA6";
    const auto c = static_cast<unsigned char>(s[i]);
    i += c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    ++chars;
  }
  return s;
}

std::string Times(const PertBox& b) {
  if (!b.timed) return "duration " + PertNumber(b.duration) + "  ES -  LS -  slack -";
  return "duration " + PertNumber(b.duration) + "  ES " + PertNumber(b.earliest) + "  LS " + PertNumber(b.latest) +
         "  slack " + PertNumber(b.slack);
}

}  // namespace

std::string PertNumber(double v) { return support::Svg::Num(v); }

PertChart BuildPertChart(const Ref<HostActivity>& root, int viewerKind) {
  PertChart c;
  c.root = root;
  c.viewerKind = viewerKind;
  if (!root) return c;
  const HostDocument* doc = root->Doc();
  if (doc) c.rootPath = doc->PathString(root);
  const SiblingGraph g = SiblingsOf(*root);
  const int view = ViewOfKind(viewerKind);
  const GraphPositionStore* store = doc ? GraphPositionsOf(*doc) : nullptr;
  std::vector<std::optional<std::pair<double, double>>> laid(g.nodes.size());
  if (store) laid = MissingPositions(g, *store, view);
  c.boxes.reserve(g.nodes.size());
  for (std::size_t i = 0; i < g.nodes.size(); ++i) {
    const Ref<HostActivity>& a = g.nodes[i];
    PertBox b;
    b.activity = a;
    b.label = a->Label().utf8();
    b.type = a->Type()->name;
    if (doc) b.path = doc->PathString(a);
    b.duration = a->GetTime();
    if (auto t = query<OrvITimedActivity>(Ref<TavBaseUnknown>(a)); t && t->IsTimed()) {
      b.timed = true;
      b.duration = t->GetDuration();
      b.earliest = t->GetBeginTime();
      b.latest = t->GetLatestBeginTime();
      b.slack = t->GetSlack();
      b.critical = t->IsCritical();
    }
    if (store && store->Get(*a, view, b.x, b.y)) b.stored = true;
    else if (laid[i]) std::tie(b.x, b.y) = *laid[i];
    c.boxes.push_back(std::move(b));
  }
  auto tight = [&](std::uint32_t f, std::uint32_t t) {
    const PertBox &a = c.boxes[f], &b = c.boxes[t];
    if (!a.critical || !b.critical) return false;
    const double end = a.earliest + a.duration;
    return std::fabs(b.earliest - end) <= 1e-9 * std::max(1.0, std::fabs(end));
  };
  for (auto [f, t] : g.flows) c.links.push_back({f, t, false, tight(f, t)});
  for (auto [f, t] : g.precedences) c.links.push_back({f, t, true, tight(f, t)});
  return c;
}

std::string PertText(const PertChart& c) {
  std::string out = std::string(KindName(c.viewerKind)) + " of " + c.rootPath + ": " + std::to_string(c.boxes.size()) +
                    (c.boxes.size() == 1 ? " box, " : " boxes, ") + std::to_string(c.links.size()) +
                    (c.links.size() == 1 ? " link\n" : " links\n");
  for (const PertBox& b : c.boxes) {
    out += "  box " + b.label + (b.type == "Activity" || b.type == "PhysicalActivity" ? "" : " (" + b.type + ")") +
           "  " + Times(b) + (b.critical ? "  critical" : "") + "  at " + PertNumber(b.x) + "," + PertNumber(b.y) +
           (b.stored ? "" : " (laid out)") + '\n';
  }
  for (const PertLink& l : c.links)
    out += std::string("  ") + (l.precedence ? "precedence " : "flow ") + c.boxes[l.from].label + " -> " +
           c.boxes[l.to].label + (l.critical ? "  critical" : "") + '\n';
  return out;
}

std::string PertSvg(const PertChart& c) {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (std::size_t i = 0; i < c.boxes.size(); ++i) {
    const PertBox& b = c.boxes[i];
    minX = i ? std::min(minX, b.x) : b.x;
    minY = i ? std::min(minY, b.y) : b.y;
    maxX = i ? std::max(maxX, b.x) : b.x;
    maxY = i ? std::max(maxY, b.y) : b.y;
  }
  const double offX = kMargin - minX, offY = kMargin + kTitleHeight - minY;
  const std::string title = std::string(c.viewerKind == 2 ? "Precedence viewer: " : "PERT chart: ") + c.rootPath;
  // Wide enough for the title too (bold 14 px: about 8.5 px a character).
  const double width = std::max({maxX - minX + pert::kBoxWidth + 2 * kMargin, 320.0,
                                 2 * kMargin + 8.5 * static_cast<double>(title.size())});
  const double height = maxY - minY + pert::kBoxHeight + 2 * kMargin + kTitleHeight;
  support::Svg svg(width, height, title);
  svg.Text(kMargin, kMargin + 4, title, "font-size=\"14\" font-weight=\"bold\"");

  // Links under the boxes: from the middle of a box's right side to the next box's left.
  for (const PertLink& l : c.links) {
    const PertBox &a = c.boxes[l.from], &b = c.boxes[l.to];
    const double x1 = a.x + offX + pert::kBoxWidth, y1 = a.y + offY + pert::kBoxHeight / 2;
    const double x2 = b.x + offX, y2 = b.y + offY + pert::kBoxHeight / 2;
    const std::string colour = l.critical ? kRed : "#555555";
    std::string attrs = std::string("class=\"") + (l.precedence ? "precedence" : "flow") +
                        (l.critical ? " critical" : "") + "\" stroke=\"" + colour + "\" stroke-width=\"" +
                        (l.critical ? "2" : "1.2") + "\"";
    if (l.precedence) attrs += " stroke-dasharray=\"6 4\"";
    svg.BeginGroup((l.precedence ? "precedence " : "flow ") + a.label + " -> " + b.label);
    svg.Line(x1, y1, x2, y2, attrs);
    // An arrowhead at the target, along the line.
    const double dx = x2 - x1, dy = y2 - y1, len = std::hypot(dx, dy);
    if (len > 0) {
      const double ux = dx / len, uy = dy / len, bx = x2 - 8 * ux, by = y2 - 8 * uy;
      svg.Polygon(PertNumber(x2) + "," + PertNumber(y2) + " " + PertNumber(bx - 4 * uy) + "," + PertNumber(by + 4 * ux) +
                      " " + PertNumber(bx + 4 * uy) + "," + PertNumber(by - 4 * ux),
                  "fill=\"" + colour + "\"");
    }
    svg.EndGroup();
  }

  for (const PertBox& b : c.boxes) {
    const double x = b.x + offX, y = b.y + offY;
    svg.BeginGroup(b.path + "\n" + Times(b) + (b.critical ? "\ncritical" : ""));
    svg.Rect(x, y, pert::kBoxWidth, pert::kBoxHeight,
             std::string("class=\"box") + (b.critical ? " critical" : "") + "\" rx=\"4\" fill=\"" +
                 (b.critical ? "#fdecea" : "#f7f7f7") + "\" stroke=\"" + (b.critical ? kRed : "#333333") +
                 "\" stroke-width=\"" + (b.critical ? "2" : "1") + "\"");
    svg.Text(x + 8, y + 18, Cut(b.label), "font-weight=\"bold\"");
    svg.Text(x + 8, y + 36, "d " + PertNumber(b.duration) + (b.type == "Activity" || b.type == "PhysicalActivity" ? "" : "  " + b.type));
    svg.Text(x + 8, y + 54, b.timed ? "ES " + PertNumber(b.earliest) + "  LS " + PertNumber(b.latest) : "ES -  LS -");
    svg.Text(x + 8, y + 72, b.timed ? "slack " + PertNumber(b.slack) : "slack -");
    svg.EndGroup();
  }
  return svg.Finish();
}

}  // namespace host
