#include "GanttPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Svg.h"
#include "TimingStore.h"

namespace host {

namespace {

using support::Svg;

// Layout, in pixels: a label column, the chart, rows of one height however many.
constexpr double kLabelWidth = 260, kChartWidth = 760, kMargin = 20;
constexpr double kTop = 78, kRow = 22, kBar = 12, kLegend = 56;
constexpr std::size_t kLabelChars = 34;
constexpr int kMaxIndent = 10;  // deeper levels indent no further, so labels keep room

// The bar of a solved activity.
GanttPictureBar BarOf(HostActivity& a, const TimingStore::Hit& hit) {
  const NodeTimes& t = hit.Times();
  GanttPictureBar bar;
  bar.activity = std::dynamic_pointer_cast<HostActivity>(a.self());
  bar.begin = t.begin;
  bar.end = t.end;
  bar.slack = t.Slack();
  bar.critical = hit.Critical();
  bar.milestone = t.end == t.begin;
  return bar;
}
constexpr const char* kCritical = "#d62728";
constexpr const char* kNormal = "#4e79a7";
constexpr const char* kSlack = "#9aa7b4";
constexpr const char* kOverlap = "#ff7f0e";

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

std::string Percent(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f%%", v * 100);
  return buf;
}

std::string PlantName(const HostDocument& doc) {
  const std::string& p = doc.FilePath();
  if (p.empty()) return doc.GetDisplayName().utf8();
  const auto slash = p.find_last_of('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

// The first `max` - 1 characters (code points) of a UTF-8 text and an ellipsis when
// it has more than `max`.
std::string Cut(const std::string& text, std::size_t max) {
  std::size_t chars = 0, cutAt = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars + 1 == max) cutAt = i;
      ++chars;
    }
  return chars <= max ? text : text.substr(0, cutAt) + "\xE2\x80\xA6";
}

void UpdateUtilisation(GanttPicture& p) {
  for (auto& r : p.rows)
    if (r.kind == GanttPictureRow::Kind::Resource) r.utilisation = p.span > 0 ? r.busy / p.span : 0;
}

// A round step for about ten ticks: 1, 2 or 5 times a power of ten.
double TickStep(double span) {
  if (!(span > 0)) return 1;
  const double raw = span / 10;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw) return m * power;
  return 10 * power;
}

}  // namespace

void AddProcessRows(GanttPicture& picture, const HostDocument& doc, const Ref<HostActivity>& root, int maxDepth) {
  if (!root) return;
  if (picture.plant.empty()) picture.plant = PlantName(doc);
  if (picture.root.empty()) picture.root = doc.PathString(root);
  if (picture.title.empty()) picture.title = "Process Gantt: " + root->Label().utf8();
  const TimingStore* store = TimingStore::Of(doc);
  // Depth first without recursion: plants may nest deeper than a stack.
  std::vector<std::pair<HostActivity*, int>> work{{root.get(), 0}};
  while (!work.empty()) {
    auto [a, level] = work.back();
    work.pop_back();
    if (IsControlNode(*a)) continue;
    GanttPictureRow row;
    row.label = a->Label().utf8();
    row.path = doc.PathString(a->self());
    row.level = level;
    if (auto hit = store ? store->Find(*a) : TimingStore::Hit{}) {
      row.timed = true;
      row.bars.push_back(BarOf(*a, hit));
      picture.span = std::max(picture.span, row.bars.back().end);
    }
    picture.rows.push_back(std::move(row));
    if (maxDepth >= 0 && level >= maxDepth) continue;
    const auto& kids = a->Children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) work.emplace_back(it->get(), level + 1);
  }
  UpdateUtilisation(picture);
}

void AddResourceLane(GanttPicture& picture, const HostDocument& doc, const Ref<HostProduct>& resource,
                     const std::vector<Ref<HostActivity>>& activities) {
  if (!resource) return;
  if (picture.plant.empty()) picture.plant = PlantName(doc);
  const TimingStore* store = TimingStore::Of(doc);
  auto uses = [&](const HostActivity& a) {
    for (auto& r : a.GetResources())
      if (r.get() == static_cast<const TavBaseUnknown*>(resource.get())) return true;
    return false;
  };
  GanttPictureRow lane;
  lane.kind = GanttPictureRow::Kind::Resource;
  lane.label = resource->Name().utf8();
  lane.path = doc.PathString(resource);
  auto add = [&](const TimingStore::Hit& hit) {
    HostActivity* a = hit.solution->nodes[hit.node];
    if (!uses(*a)) return;
    lane.bars.push_back(BarOf(*a, hit));
  };
  if (store) {
    if (activities.empty()) {
      store->ForEachSolved([&](const TimingStore::Hit& h) {
        if (store->Find(*h.solution->nodes[h.node]).solution == h.solution) add(h);  // the latest times only
      });
    } else {
      for (auto& a : activities)
        if (auto hit = a ? store->Find(*a) : TimingStore::Hit{}) add(hit);
    }
  }
  std::stable_sort(lane.bars.begin(), lane.bars.end(), [](const GanttPictureBar& x, const GanttPictureBar& y) {
    return x.begin != y.begin ? x.begin < y.begin : x.end < y.end;
  });
  // Levels: each bar on the first level free at its begin. Overlaps: a bar that
  // begins before the latest end so far overlaps the bar holding that end.
  std::vector<double> levelEnd;
  double reach = 0, busyFrom = 0;
  std::size_t reacher = 0;
  bool any = false;
  for (std::size_t i = 0; i < lane.bars.size(); ++i) {
    GanttPictureBar& b = lane.bars[i];
    std::size_t level = 0;
    while (level < levelEnd.size() && levelEnd[level] > b.begin) ++level;
    if (level == levelEnd.size()) levelEnd.push_back(b.end);
    levelEnd[level] = std::max(b.end, b.begin);
    b.stack = static_cast<int>(level);
    if (any && b.begin < reach && b.end > b.begin) {
      b.overlaps = lane.bars[reacher].overlaps = true;
      lane.doubleBooked = true;
    }
    // Busy time: the union of the bars.
    if (!any || b.begin > reach) {
      if (any) lane.busy += reach - busyFrom;
      busyFrom = b.begin;
    }
    if (!any || b.end > reach) {
      reach = b.end;
      reacher = i;
    }
    any = true;
    picture.span = std::max(picture.span, b.end);
  }
  if (any) lane.busy += reach - busyFrom;
  lane.stacks = std::max<int>(1, static_cast<int>(levelEnd.size()));
  lane.timed = any;
  picture.rows.push_back(std::move(lane));
  UpdateUtilisation(picture);
}

std::string GanttPictureText(const GanttPicture& picture) {
  std::string out = picture.title + "\n";
  out += "plant " + picture.plant + ", root " + (picture.root.empty() ? "-" : picture.root) + ", span " +
         Number(picture.span) + "\n";
  for (const auto& r : picture.rows) {
    const std::string indent(static_cast<std::size_t>(2 * std::max(0, r.level)), ' ');
    if (r.kind == GanttPictureRow::Kind::Resource) {
      out += "lane " + r.label + ": busy " + Number(r.busy) + ", utilisation " + Percent(r.utilisation) +
             (r.doubleBooked ? ", double booked" : "") + "\n";
      for (const auto& b : r.bars)
        out += "  " + (b.activity ? b.activity->Label().utf8() : std::string("?")) + " " + Number(b.begin) + ".." +
               Number(b.end) + (b.stack ? " level " + std::to_string(b.stack + 1) : "") +
               (b.overlaps ? " overlaps" : "") + (b.critical ? " critical" : "") + "\n";
      continue;
    }
    out += indent + r.label;
    if (!r.timed || r.bars.empty()) {
      out += " untimed\n";
      continue;
    }
    const auto& b = r.bars.front();
    out += " " + Number(b.begin) + ".." + Number(b.end) + " slack " + Number(b.slack) + (b.critical ? " critical" : "") +
           (b.milestone ? " milestone" : "") + "\n";
  }
  return out;
}

std::string GanttPictureSvg(const GanttPicture& picture) {
  double rowsHeight = 0;
  for (const auto& r : picture.rows) rowsHeight += kRow * (r.kind == GanttPictureRow::Kind::Resource ? r.stacks : 1);
  const double width = kLabelWidth + kChartWidth + 2 * kMargin;
  const double height = kTop + rowsHeight + kLegend;
  const double step = TickStep(picture.span);
  const double ticks = std::max(1.0, std::ceil(picture.span / step - 1e-9));
  const double axisEnd = ticks * step;
  const double x0 = kMargin + kLabelWidth;
  auto X = [&](double t) { return x0 + t / axisEnd * kChartWidth; };

  Svg svg(width, height, picture.title);
  svg.Text(kMargin, 22, picture.title, "font-size=\"16\" font-weight=\"bold\"");
  svg.Text(kMargin, 42, "plant " + picture.plant + "  \xC2\xB7  root " + (picture.root.empty() ? "-" : picture.root) +
                            "  \xC2\xB7  span " + Number(picture.span), "fill=\"#555\"");
  // Time axis: round ticks, a grid line each.
  const double gridBottom = kTop + rowsHeight;
  svg.BeginGroup("time axis", "class=\"axis\"");
  for (double k = 0; k <= ticks; ++k) {
    const double x = X(k * step);
    svg.Line(x, kTop - 6, x, gridBottom, "stroke=\"#ddd\"");
    svg.Text(x, kTop - 10, Number(k * step), "text-anchor=\"middle\" font-size=\"10\" fill=\"#555\"");
  }
  svg.Line(x0, kTop, x0 + kChartWidth, kTop, "stroke=\"#888\"");
  svg.EndGroup();

  double y = kTop;
  std::size_t n = 0;
  for (const auto& r : picture.rows) {
    const bool lane = r.kind == GanttPictureRow::Kind::Resource;
    const double h = kRow * (lane ? r.stacks : 1);
    std::string tip = r.path.empty() ? r.label : r.path;
    if (lane) {
      tip += ": busy " + Number(r.busy) + ", utilisation " + Percent(r.utilisation) + (r.doubleBooked ? ", double booked" : "");
    } else if (r.timed && !r.bars.empty()) {
      const auto& b = r.bars.front();
      tip += ": " + Number(b.begin) + " to " + Number(b.end) + ", slack " + Number(b.slack) + (b.critical ? ", critical" : "");
    } else {
      tip += ": not timed";
    }
    svg.BeginGroup(tip, lane ? "class=\"lane\"" : "class=\"row\"");
    if (n++ % 2 == 1 || lane) svg.Rect(kMargin, y, kLabelWidth + kChartWidth, h, lane ? "fill=\"#eef3f8\"" : "fill=\"#f6f6f6\"");
    const int indent = std::min(std::max(0, r.level), kMaxIndent);
    std::string label = Cut(r.label, kLabelChars - static_cast<std::size_t>(indent));
    if (lane) label = Cut(r.label, kLabelChars - 12) + " (" + Percent(r.utilisation) + ")";
    svg.Text(kMargin + 4 + 12 * indent, y + kRow / 2 + 4, label, lane && r.doubleBooked ? "fill=\"" + std::string(kOverlap) + "\" font-weight=\"bold\"" : "");
    if (lane && r.doubleBooked) svg.Text(x0 - 6, y + kRow / 2 + 4, "!", "text-anchor=\"end\" fill=\"" + std::string(kOverlap) + "\" font-weight=\"bold\"");
    for (const auto& b : r.bars) {
      const double top = y + kRow * b.stack + (kRow - kBar) / 2;
      const char* colour = b.critical ? kCritical : kNormal;
      std::string cls = std::string(b.critical ? " critical" : "") + (b.overlaps ? " overlap" : "");
      const std::string stroke = b.overlaps ? " stroke=\"" + std::string(kOverlap) + "\" stroke-width=\"2\"" : "";
      if (lane) {
        svg.BeginGroup((b.activity ? b.activity->Label().utf8() : std::string()) + ": " + Number(b.begin) + " to " +
                       Number(b.end) + (b.overlaps ? ", overlaps another booking" : ""));
      }
      if (b.milestone) {
        const double cx = X(b.begin), cy = top + kBar / 2, d = kBar / 2 + 1;
        svg.Polygon(Svg::Num(cx) + "," + Svg::Num(cy - d) + " " + Svg::Num(cx + d) + "," + Svg::Num(cy) + " " +
                        Svg::Num(cx) + "," + Svg::Num(cy + d) + " " + Svg::Num(cx - d) + "," + Svg::Num(cy),
                    "class=\"milestone" + cls + "\" fill=\"" + colour + "\"" + stroke);
      } else {
        svg.Rect(X(b.begin), top, std::max(1.0, X(b.end) - X(b.begin)), kBar,
                 "class=\"bar" + cls + "\" fill=\"" + colour + "\"" + stroke);
      }
      if (!lane && b.slack > 0)
        svg.Rect(X(b.end), top + kBar / 2 - 1, X(b.end + b.slack) - X(b.end), 2, "class=\"slack\" fill=\"" + std::string(kSlack) + "\"");
      if (lane) svg.EndGroup();
    }
    svg.EndGroup();
    y += h;
  }

  // Legend.
  const double ly = gridBottom + 24;
  svg.BeginGroup("legend", "class=\"legend\"");
  double lx = kMargin;
  auto item = [&](const std::string& text, const std::string& shape) {
    svg.Raw(shape);
    svg.Text(lx + 20, ly + 10, text);
    lx += 30 + 7.0 * static_cast<double>(text.size());
  };
  auto rect = [&](const char* fill, double h, const std::string& extra = {}) {
    return "<rect x=\"" + Svg::Num(lx) + "\" y=\"" + Svg::Num(ly + 6 - h / 2) + "\" width=\"14\" height=\"" + Svg::Num(h) +
           "\" fill=\"" + fill + "\"" + extra + "/>\n";
  };
  item("critical", rect(kCritical, kBar));
  item("with slack", rect(kNormal, kBar));
  item("slack", rect(kSlack, 2));
  item("milestone", "<polygon points=\"" + Svg::Num(lx + 7) + "," + Svg::Num(ly - 1) + " " + Svg::Num(lx + 14) + "," +
                        Svg::Num(ly + 6) + " " + Svg::Num(lx + 7) + "," + Svg::Num(ly + 13) + " " + Svg::Num(lx) + "," +
                        Svg::Num(ly + 6) + "\" fill=\"" + kNormal + "\"/>\n");
  item("double booking", rect(kNormal, kBar, " stroke=\"" + std::string(kOverlap) + "\" stroke-width=\"2\""));
  svg.EndGroup();
  return svg.Finish();
}

}  // namespace host
