// The tree window as text (`print window`) and as an SVG picture (`export window`):
// the shown nodes in display order, indented by depth, with their marks.
#include <cstdio>

#include "PPRTreeWindow.h"
#include "Svg.h"
#include "TreeObjects.h"

namespace host {

namespace {
struct Line {
  const PPRTreeNode* node;
  std::string path;  // node texts from the root, for tooltips
};

// The roots, and the children of every expanded node, in display order.
std::vector<Line> ShownLines(const std::vector<Ref<TavIPPRTreeNode>>& roots) {
  std::vector<Line> out;
  std::vector<Line> work;
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
    auto* n = dynamic_cast<const PPRTreeNode*>(it->get());
    work.push_back({n, TreeText(n->GetObject())});
  }
  while (!work.empty()) {
    Line l = std::move(work.back());
    work.pop_back();
    if (l.node->IsExpanded())
      for (auto it = l.node->Children().rbegin(); it != l.node->Children().rend(); ++it)
        work.push_back({it->get(), l.path + "/" + TreeText((*it)->GetObject())});
    out.push_back(std::move(l));
  }
  return out;
}

const char* Sign(const PPRTreeNode& n) {
  if (n.IsExpanded() && !n.Children().empty()) return "- ";
  if (n.IsVirtual() || !n.Children().empty()) return "+ ";
  return ". ";
}

std::string Hex(int rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06x", rgb & 0xffffff);
  return buf;
}

bool Selected(const HostWindow& w, const PPRTreeNode& n) {
  auto ed = w.Editor();
  return ed && ed->GetCSO().ContainsObject(n.GetObject());
}
}  // namespace

std::string PPRTreeWindow::GetText() const {
  // The picture shows the plant as it is now, not as it was when the nodes were made.
  const_cast<PPRTreeWindow*>(this)->Sync();
  std::string out = "  nodes made " + std::to_string(count_) + "\n";
  for (const Line& l : ShownLines(GetRootNodes())) {
    const PPRTreeNode& n = *l.node;
    out.append(2 + 2 * static_cast<std::size_t>(n.GetDepth()), ' ');
    out += Sign(n);
    out += TreeText(n.GetObject());
    if (n.IsDecorated()) out += " [decorated]";
    if (n.HasShadow()) out += " [shadow " + Hex(n.Shadow()) + "]";
    if (&n == visible_) out += " [visible]";
    if (Selected(*this, n)) out += " [selected]";
    out += '\n';
  }
  return out;
}

std::string PPRTreeWindow::GetSvg() const {
  const_cast<PPRTreeWindow*>(this)->Sync();
  const auto lines = ShownLines(GetRootNodes());
  constexpr double kRow = 20, kIndent = 16, kMargin = 10;
  int deepest = 0;
  for (const Line& l : lines) deepest = std::max(deepest, l.node->GetDepth());
  const double width = 2 * kMargin + kIndent * deepest + 320;
  const double height = 2 * kMargin + kRow * static_cast<double>(lines.size() + 1);
  support::Svg svg(width, height, GetBaseName().utf8());
  svg.Text(kMargin, kMargin + 14, GetBaseName().utf8(), "font-size=\"13\" font-weight=\"bold\"");
  double y = kMargin + kRow;
  for (const Line& l : lines) {
    const PPRTreeNode& n = *l.node;
    const double x = kMargin + kIndent * n.GetDepth();
    svg.BeginGroup(l.path);
    if (n.HasShadow()) svg.Rect(x, y + 2, 300, kRow - 4, "fill=\"" + Hex(n.Shadow()) + "\" fill-opacity=\"0.35\"");
    if (n.IsDecorated()) svg.Rect(x, y + 2, 300, kRow - 4, "fill=\"none\" stroke=\"#d00000\" stroke-width=\"1.5\"");
    std::string attrs;
    if (&n == visible_) attrs = "font-weight=\"bold\"";
    svg.Text(x + 4, y + 14, std::string(Sign(n)) + TreeText(n.GetObject()), attrs);
    svg.EndGroup();
    y += kRow;
  }
  return svg.Finish();
}

}  // namespace host
