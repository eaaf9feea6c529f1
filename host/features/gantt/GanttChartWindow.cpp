#include "GanttChartWindow.h"

#include <algorithm>
#include <sstream>
#include <unordered_set>

#include "HostWindows.h"

namespace host {

namespace {
template <class T>
Ref<T> HostOf(const Ref<TavBaseUnknown>& o) {
  return std::dynamic_pointer_cast<T>(o ? o->ExtendedObject() : nullptr);
}

bool IsActivity(const Ref<HostActivity>& a) { return a && a->Type()->IsA("Activity"); }

// Rows of objects taken out of the plant since are left out of the picture; they
// come back with an undo.
bool InPlant(const HostDocument& doc, const HostObject* o) { return !o || doc.Holds(*o); }

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

GanttChartWindow::GanttChartWindow(TavUnicodeString baseName, const Ref<HostEditor>& editor, Ref<HostActivity> tableRoot,
                                   TavUnicodeString title, int kind, int displayMode, std::vector<Ref<HostActivity>> roots)
    : GanttWindow(std::move(baseName), editor, std::move(tableRoot)),
      title_(std::move(title)),
      kind_(kind),
      displayMode_(displayMode),
      roots_(std::move(roots)) {
  if (kind_ == 1) rows_.push_back({nullptr, Root()});
}

void GanttChartWindow::UpdateGanttTable() {
  BuildPicture();
  GanttWindow::UpdateGanttTable();
}

void GanttChartWindow::BuildTable(GanttTable& table, const std::vector<std::string>& attributes) const {
  if (kind_ == 1) {
    GanttWindow::BuildTable(table, attributes);
    return;
  }
  std::vector<Ref<HostActivity>> rows;
  std::unordered_set<const HostActivity*> seen;
  for (auto& r : picture_.rows)
    for (auto& b : r.bars)
      if (b.activity && seen.insert(b.activity.get()).second) rows.push_back(b.activity);
  table.Build(std::move(rows), attributes);
}

bool GanttChartWindow::ToRow(const Ref<TavBaseUnknown>& object, Row& row) {
  if (auto p = HostOf<HostProduct>(object); p && p->IsResource()) {
    row = {p, nullptr};
    return true;
  }
  auto* o = dynamic_cast<OrvEResourceGanttActivityObject*>(object.get());
  if (!o) return false;
  auto activity = HostOf<HostActivity>(o->GetActivity());
  if (!IsActivity(activity)) return false;
  auto resource = HostOf<HostProduct>(o->GetResource());
  if (o->GetResource() && !(resource && resource->IsResource())) return false;
  row = {resource, activity};
  return true;
}

bool GanttChartWindow::Shows(const Row& row) const {
  return std::any_of(rows_.begin(), rows_.end(), [&](const Row& r) {
    // An activity is shown once, whichever lane it was asked in.
    return row.activity ? r.activity == row.activity : !r.activity && r.resource == row.resource;
  });
}

HRESULT GanttChartWindow::AddRoot(const Ref<TavBaseUnknown>& object, int /*position*/, int /*expand*/) {
  // Rows go below the others: the position and expansion the commands pass are
  // those of a new last row.
  Row row;
  if (kind_ != 2 || !ToRow(object, row)) return E_FAIL;
  auto ed = Editor();
  if (!ed || !InPlant(*ed->Document(), row.activity ? static_cast<HostObject*>(row.activity.get()) : row.resource.get()))
    return E_FAIL;
  if (Shows(row)) return S_FALSE;
  rows_.push_back(std::move(row));
  UpdateGanttTable();
  return S_OK;
}

void GanttChartWindow::UpdateTimeBarsColor() { UpdateGanttTable(); }

void GanttChartWindow::BuildPicture() {
  picture_ = {};
  auto ed = Editor();
  if (!ed) return;
  const HostDocument& doc = *ed->Document();
  picture_.title = title_.utf8();
  picture_.plant = FileName(doc.FilePath());
  const Ref<HostActivity>& root = roots_.empty() ? Root() : roots_.back();
  picture_.root = doc.PathString(root);
  for (auto& r : roots_)
    if (auto t = query<OrvITimedActivity>(Ref<TavBaseUnknown>(r)); t && t->IsTimed())
      picture_.span = std::max(picture_.span, t->GetEndTime());
  if (kind_ == 1) {
    if (InPlant(doc, Root().get())) AddProcessRows(picture_, doc, Root());
    return;
  }
  // A lane per resource, in the order the rows came: a resource's own row shows all
  // its activities, activity rows of one resource share its lane.
  std::vector<const Row*> lanes;
  for (auto& r : rows_) {
    if (!InPlant(doc, r.resource.get()) || !InPlant(doc, r.activity.get())) continue;
    if (!r.resource) {
      lanes.push_back(&r);
      continue;
    }
    auto same = std::find_if(lanes.begin(), lanes.end(), [&](const Row* l) { return l->resource == r.resource; });
    if (same == lanes.end()) lanes.push_back(&r);
    else if (!r.activity) *same = &r;  // the whole lane wins over single activities
  }
  for (const Row* lane : lanes) {
    if (!lane->resource) {
      AddProcessRows(picture_, doc, lane->activity, 0);
      continue;
    }
    std::vector<Ref<HostActivity>> activities;
    if (lane->activity)
      for (auto& r : rows_)
        if (r.resource == lane->resource && r.activity && InPlant(doc, r.activity.get())) activities.push_back(r.activity);
    AddResourceLane(picture_, doc, lane->resource, activities);
  }
}

std::string GanttChartWindow::GetText() const {
  std::ostringstream out;
  out << "  " << (kind_ == 1 ? "process" : "resource") << " Gantt \"" << title_.utf8() << "\", display mode "
      << displayMode_ << '\n';
  std::istringstream lines(GanttPictureText(picture_));
  for (std::string line; std::getline(lines, line);) out << "  " << line << '\n';
  return out.str();
}

std::string GanttChartWindow::GetSvg() const { return GanttPictureSvg(picture_); }

Ref<OrvGanttChartWindow> CreateGanttChartWindow(const TavUnicodeString& title, const Ref<TavFrmEditor>& editor,
                                                const std::vector<Ref<TavBaseUnknown>>& rows, int displayMode,
                                                const std::vector<Ref<TavBaseUnknown>>& roots, int kind, int /*flags*/) {
  auto ed = std::dynamic_pointer_cast<HostEditor>(editor);
  if (!ed || rows.empty() || (kind != 1 && kind != 2)) return nullptr;
  const HostDocument& doc = *ed->Document();
  std::vector<Ref<HostActivity>> timed;
  for (auto& r : roots)
    if (auto a = HostOf<HostActivity>(r); a && InPlant(doc, a.get())) timed.push_back(a);
  Ref<HostActivity> tableRoot;
  GanttChartWindow::Row first;
  if (kind == 1) {
    tableRoot = HostOf<HostActivity>(rows.front());
    if (!IsActivity(tableRoot) || !InPlant(doc, tableRoot.get())) return nullptr;
  } else {
    if (!GanttChartWindow::ToRow(rows.front(), first)) return nullptr;
    if (!InPlant(doc, first.resource.get()) || !InPlant(doc, first.activity.get())) return nullptr;
    // The table lists the process the lanes are timed on, so that the search of
    // Gantt windows works here too.
    tableRoot = timed.empty() ? first.activity : timed.back();
    if (!tableRoot) {
      auto container = query<TavISPPProcessContainer>(doc.GetRootContainer(TavISPPProcessContainer::kInterfaceName));
      auto processes = container ? container->GetRootActivities() : std::vector<Ref<TavISPPActivityRoot>>{};
      if (!processes.empty()) tableRoot = HostOf<HostActivity>(processes.front());
    }
    if (!tableRoot) return nullptr;
  }
  HostWindows& frame = HostWindows::Get();
  auto w = std::make_shared<GanttChartWindow>(frame.NextName(GanttWindow::kKind), ed, tableRoot, title, kind,
                                              displayMode, std::move(timed));
  if (kind == 2) w->AddRoot(rows.front(), 0, 1);
  else w->UpdateGanttTable();
  frame.Open(w);
  return w;
}

}  // namespace host
