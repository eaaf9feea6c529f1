// `window ...`, `print window`, `expect window`: the host's layout windows and the
// Gantt charts among them.
#include "ScriptWindows.h"

#include <ostream>

#include "GanttWindow.h"
#include "HostScript.h"
#include "HostWindows.h"
#include "PreviewWindow.h"
#include "ScriptTable.h"
#include "FileWriter.h"

namespace host {

namespace {

std::string Join(const ScriptWords& w) {
  std::string s;
  for (std::size_t i = 0; i < w.size(); ++i) s += (i ? " " : "") + w[i];
  return s;
}

std::vector<std::string> OpenNames() {
  std::vector<std::string> names;
  for (auto& w : HostWindows::Get().Windows()) names.push_back(w->GetBaseName().utf8());
  return names;
}

// The window named by the words, or the current one when there are none.
Ref<HostWindow> Target(const ScriptWords& a, std::string& err) {
  HostWindows& frame = HostWindows::Get();
  if (a.empty()) {
    auto w = frame.Current();
    if (!w) err = frame.Windows().empty() ? "no window is open" : "no window is current (window activate NAME)";
    return w;
  }
  const std::string name = Join(a);
  auto w = frame.Find(name);
  if (!w) {
    const auto names = OpenNames();
    err = "no window '" + name + "' is open" + (names.empty() ? std::string(" (none is)") : DidYouMean(name, names));
  }
  return w;
}

bool OpenGantt(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  const std::string& path = a[0];
  TavPathElement p = r.ResolvePath(path, err);
  if (p.IsEmpty()) return false;
  std::string why;
  auto w = OpenGanttWindow(p.GetLeaf(), why);
  if (!w) {
    err = "cannot open a Gantt chart on " + path + ": " + why;
    return false;
  }
  r.Out() << "window " << w->GetBaseName().utf8() << " opened\n";
  return true;
}

bool Activate(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto w = Target(a, err);
  if (!w) return false;
  HostWindows::Get().Activate(w);
  r.Out() << "window " << w->GetBaseName().utf8() << " activated\n";
  return true;
}

bool Deactivate(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto w = Target(a, err);
  if (!w) return false;
  HostWindows::Get().Deactivate();
  r.Out() << "window " << w->GetBaseName().utf8() << " deactivated\n";
  return true;
}

bool Close(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto w = Target(a, err);
  if (!w) return false;
  HostWindows::Get().Close(w);
  r.Out() << "window " << w->GetBaseName().utf8() << " closed\n";
  return true;
}

void PrintGantt(std::ostream& out, const GanttWindow& g) {
  const GanttTable& t = g.Table();
  const HostDocument* doc = g.Root()->Doc();
  out << "  root " << (doc ? doc->PathString(g.Root()) : g.Root()->Label().utf8()) << '\n';
  out << "  columns";
  for (std::size_t c = 0; c < t.ColumnCount(); ++c) out << (c ? " | " : " ") << t.Header(c) << (t.IsNumeric(c) ? " (n)" : "");
  out << '\n';
  const auto marked = g.GetHighlightedRows();
  std::size_t next = 0;
  for (std::size_t row = 0; row < t.RowCount(); ++row) {
    const bool on = next < marked.size() && static_cast<std::size_t>(marked[next]) == row;
    if (on) ++next;
    out << "  " << (on ? '*' : ' ') << row << ':';
    for (std::size_t c = 0; c < t.ColumnCount(); ++c) out << (c ? " | " : " ") << t.Cell(row, c);
    out << '\n';
  }
  out << "  first visible row " << g.FirstVisibleRow() << '\n';
}

void PrintPreview(std::ostream& out, const PreviewWindow& p) {
  out << "  " << (p.IsVisible() ? "visible" : "hidden") << '\n';
  auto ed = p.Editor();
  for (auto& item : p.GetItems()) out << "  item " << (ed ? ed->Document()->PathString(item) : std::string("?")) << '\n';
}

bool PrintWindow(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  auto w = Target(a, err);
  if (!w) return false;
  std::ostream& out = r.Out();
  out << "window " << w->GetBaseName().utf8() << (w == HostWindows::Get().Current() ? " (current)" : "") << '\n';
  if (auto* g = dynamic_cast<GanttWindow*>(w.get())) PrintGantt(out, *g);
  if (auto* p = dynamic_cast<PreviewWindow*>(w.get())) PrintPreview(out, *p);
  if (auto picture = query<TavIWindowPicture>(Ref<TavBaseUnknown>(w))) out << picture->GetText();
  return true;
}

// export window NAME FILE: the window's picture, through the one file writer.
bool ExportWindow(ScriptRunner& r, const ScriptWords& a, std::string& err) {
  if (a.size() < 2) {
    err = "export window needs a window name and a file";
    return false;
  }
  const ScriptWords name(a.begin(), a.end() - 1);
  auto w = Target(name, err);
  if (!w) return false;
  auto picture = query<TavIWindowPicture>(Ref<TavBaseUnknown>(w));
  if (!picture) {
    err = "window '" + w->GetBaseName().utf8() + "' has no picture to export";
    return false;
  }
  const std::string& file = a.back();
  std::string why;
  if (!support::WriteFile(r.FilePath(file, true), picture->GetSvg(), &why)) {
    err = "cannot export window '" + w->GetBaseName().utf8() + "': " + why;
    return false;
  }
  r.Out() << "window " << w->GetBaseName().utf8() << " exported to " << file << '\n';
  return true;
}

bool PrintWindows(ScriptRunner& r, const ScriptWords&, std::string&) {
  HostWindows& frame = HostWindows::Get();
  const auto windows = frame.Windows();
  const auto current = frame.Current();
  std::ostream& out = r.Out();
  if (windows.empty()) out << "no window open\n";
  for (auto& w : windows) out << "window " << w->GetBaseName().utf8() << (w == current ? " (current)" : "") << '\n';
  return true;
}

bool ExpectWindow(ScriptRunner&, const ScriptWords& a, std::string& err) {
  const std::string want = Join(a);
  auto current = HostWindows::Get().Current();
  const std::string is = current ? current->GetBaseName().utf8() : "none";
  if (is != want) {
    err = "the current window is " + (current ? "'" + is + "'" : is) + ", expected '" + want + "'";
    return false;
  }
  return true;
}

void AddWindowStatements(ScriptTable& t) {
  const std::string name = "NAME";
  t.Add({"window", {}, "open, activate, deactivate and close the layout's windows (Gantt charts, previews)",
         "Windows are named by their base name (\"Gantt Chart.1\", \"Preview.1\"); the last one opened or\n"
         "activated is current, which is the window commands such as the Gantt search\n"
         "work on. Closing a plant closes its windows.\n"
         "Example:\n  window gantt \"Process/Body Shop\"\n  window activate Gantt Chart.1\n  window close",
         nullptr,
         {{"gantt", {{"PATH", ArgKind::Path}}, "open a Gantt chart on an activity and its sub activities",
           "Opens a Gantt chart window on the activity at PATH: a row per activity below it\n"
           "(itself first), the columns Name, Type, Duration and Description, and the\n"
           "attribute columns chosen in the Gantt settings. It becomes the current window.\n"
           "Example:\n  window gantt \"Process/Body Shop\"",
           OpenGantt},
          {"activate", {{name, ArgKind::Text}}, "make an open window the current one", {}, Activate},
          {"deactivate", {}, "deactivate the current window (none is current then)", {}, Deactivate},
          {"close", {{name, ArgKind::Text, true}}, "close a window (the current one by default)", {}, Close}}});
  t.AddSub("print", {"window", {{name, ArgKind::Text, true}},
                     "a window (the current one by default): a Gantt chart's columns and rows, a preview's items",
                     "Prints the window's base name, and for a Gantt chart its root activity, its\n"
                     "columns (\"(n)\" marks a numeric one), one line per row (\"*\" marks a\n"
                     "highlighted row) and the first visible row; for a preview whether it is\n"
                     "visible or hidden and the path of each product it shows (\"item PATH\").\n"
                     "Example:\n  print window Gantt Chart.1",
                     PrintWindow});
  t.Add({"export", {}, "write a window's picture to a file",
         "Windows that can be drawn (Gantt charts, PERT charts, precedence viewers, PPR\n"
         "trees) are written as self-contained SVG files into the output folder.\n"
         "Example:\n  export window Gantt Chart.1 line-gantt.svg",
         nullptr,
         {{"window", {{"NAME FILE", ArgKind::Text}},
           "draw a window (Gantt chart, PERT chart, precedence viewer) as an SVG file",
           "Writes the window's picture as a self-contained SVG file; NAME is the window's\n"
           "base name, the last word the file. The file is replaced whole or not at all.\n"
           "Example:\n  export window Gantt Chart.1 line-gantt.svg",
           ExportWindow}}});
  t.AddSub("print", {"windows", {}, "the open windows in opening order, the current one marked", {}, PrintWindows});
  t.AddSub("expect", {"window", {{name, ArgKind::Text}},
                      "the current window is NAME (`none`: no window is current)", {}, ExpectWindow});
}

}  // namespace

void RegisterWindowStatements() { AddScriptStatements(AddWindowStatements); }

}  // namespace host
