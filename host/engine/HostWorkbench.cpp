#include "HostWorkbench.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <unordered_set>

#include "HostRuntime.h"
#include "TavModules.h"

namespace host {

namespace {

HostWorkbenches* g_workbenches = nullptr;

// An object of a given late type: what the workbench's marker, entry and
// transition extensions are found on.
class LateTypedObject final : public virtual TavBaseUnknown {
public:
  explicit LateTypedObject(std::string late) : late_(std::move(late)) {}
  std::string LateType() const override { return late_; }

private:
  std::string late_;
};

Ref<TavBaseUnknown> MakeLateTyped(std::string late) { return std::make_shared<LateTypedObject>(std::move(late)); }

std::string Key(const std::string& workshop, const std::string& workbench) { return workshop + "/" + workbench; }

MessageCatalogs& ResourceCatalogs() {
  if (auto* s = HostSession::Current()) return s->Catalogs();
  static MessageCatalogs own(ResourceDir());
  return own;
}

}  // namespace

// ------------------------------------------------------------------ header texts
HeaderText FindHeaderText(const TavCommandHeader& header, const std::string& what) {
  HeaderText t;
  t.framework = header.GetFW().utf8();
  const std::string key = header.GetID().utf8() + "." + what;
  // A header chain is short; the bound only guards against a header whose
  // levels never end.
  for (int level = 0; level < 32; ++level) {
    const TavUnicodeString& file = header.GetResourceFile(level);
    if (file.IsEmpty()) break;
    if (auto text = ResourceCatalogs().Find(file.utf8(), key)) {
      t.text = *text;
      t.file = file.utf8();
      t.level = level;
      return t;
    }
  }
  return t;
}

HeaderText HeaderTitle(const TavCommandHeader& header) {
  HeaderText t = FindHeaderText(header, "Title");
  if (!t.Found()) t.text = header.GetID().utf8();
  return t;
}

HeaderText HeaderHelp(const TavCommandHeader& header) { return FindHeaderText(header, "Help"); }

// ------------------------------------------------------------------ workbenches
HostWorkbenches::HostWorkbenches() : frame_(MakeLateTyped(kTavApplicationFrameLateType)) {
  if (g_workbenches) throw std::logic_error("a host workbench machinery is already running");
  TavCmdWorkshop::AddGlobal(std::make_unique<TavCmdWorkshop>("WSPROC"));
  g_workbenches = this;
}

HostWorkbenches::~HostWorkbenches() {
  Leave();
  workbenches_.clear();
  TavCommandHeader::ClearList();
  TavCmdWorkshop::ClearGlobal();
  g_workbenches = nullptr;
}

HostWorkbenches* HostWorkbenches::Current() { return g_workbenches; }

const HostWorkbenches::Workbench* HostWorkbenches::Find(const std::string& workshop, const std::string& workbench) const {
  auto it = workbenches_.find(Key(workshop, workbench));
  return it == workbenches_.end() ? nullptr : &it->second;
}

HostWorkbenches::Workbench* HostWorkbenches::Create(const std::string& workshop, const std::string& workbench,
                                                    std::string* error) {
  auto fail = [&](const std::string& m) -> Workbench* {
    if (error) *error = m;
    return nullptr;
  };
  const auto declared = TavWorkbenchDictionary::Workbenches(workshop);
  const TavWorkbenchDictionary::Entry* entry = nullptr;
  for (auto& e : declared)
    if (e.workbench == workbench) entry = &e;
  if (!entry) {
    std::string known;
    for (auto& e : declared) known += (known.empty() ? "" : ", ") + e.workbench;
    return fail("workshop '" + workshop + "' has no workbench '" + workbench + "'" +
                (known.empty() ? std::string(" (no workbench is declared)") : " (workbenches: " + known + ")"));
  }
  auto factory = std::dynamic_pointer_cast<TavIGenericFactory>(frame_->QueryInterface(entry->factoryInterface));
  if (!factory) return fail("the factory '" + entry->factoryInterface + "' of workbench '" + workbench + "' is not available");
  if (!factory->Support(workbench))
    return fail("the factory '" + entry->factoryInterface + "' does not make workbench '" + workbench + "'");
  const std::string configName = "TavI" + workshop + "Configuration";
  auto configuration = std::dynamic_pointer_cast<TavIWorkbenchConfiguration>(factory->Create(configName));
  if (!configuration) return fail("workbench '" + workbench + "' does not offer '" + configName + "'");

  Workbench wb;
  wb.configuration = configuration;
  configuration->CreateCommands();
  wb.layout = &configuration->CreateWorkbench();
  wb.initObject = MakeLateTyped(workbench + "_init");
  wb.transObject = MakeLateTyped(workbench + "_trans");
  wb.markObject = MakeLateTyped(workbench + "_mark");
  wb.init = query<TavIWorkbenchInitialization>(wb.initObject);
  // An entry extension that also handles transitions is asked directly, so that
  // the state its Init set (the transition flag) is what decides a switch.
  wb.transition = std::dynamic_pointer_cast<TavIWorkbenchTransition>(wb.init);
  if (!wb.transition) wb.transition = query<TavIWorkbenchTransition>(wb.transObject);
  wb.marker = query<TavIMarkerWorkbench>(wb.markObject);
  return &workbenches_.emplace(Key(workshop, workbench), std::move(wb)).first->second;
}

bool HostWorkbenches::Enter(const std::string& workbench, std::string* error, const std::string& workshop) {
  TavCmdWorkshop* ws = TavCmdWorkshop::FindGlobal(workshop);
  if (!ws) {
    if (error) *error = "no workshop '" + workshop + "'";
    return false;
  }
  auto it = workbenches_.find(Key(workshop, workbench));
  Workbench* wb = it != workbenches_.end() ? &it->second : Create(workshop, workbench, error);
  if (!wb) return false;

  TavCmdAccess* access = ws->AddWorkbench(workbench);
  if (!currentWorkbench_.empty() && Key(currentWorkshop_, currentWorkbench_) != Key(workshop, workbench)) {
    const std::string previous = currentWorkbench_;
    const bool sameWorkshop = currentWorkshop_ == workshop;
    Leave();
    if (sameWorkshop && wb->transition) lastTransition_ = wb->transition->DoTransition(previous, workbench);
  }
  ws->SetCurrentWorkbench(access);
  currentWorkshop_ = workshop;
  currentWorkbench_ = workbench;
  ++wb->entries;
  if (wb->init) wb->init->Init();
  return true;
}

void HostWorkbenches::Leave() {
  if (currentWorkbench_.empty()) return;
  auto it = workbenches_.find(Key(currentWorkshop_, currentWorkbench_));
  if (it != workbenches_.end() && it->second.init) it->second.init->Dispose();
  if (auto* ws = TavCmdWorkshop::FindGlobal(currentWorkshop_)) ws->SetCurrentWorkbench(nullptr);
  currentWorkshop_.clear();
  currentWorkbench_.clear();
}

std::string HostWorkbenches::CurrentWorkbenchName() const {
  if (currentWorkbench_.empty()) return {};
  const Workbench* wb = Find(currentWorkshop_, currentWorkbench_);
  if (wb && wb->marker && wb->marker->GetWorkshopName() == currentWorkshop_) return wb->marker->GetWorkbenchName().utf8();
  return currentWorkbench_;
}

const TavWorkbenchLayout* HostWorkbenches::CurrentLayout() const {
  if (currentWorkbench_.empty()) return nullptr;
  const Workbench* wb = Find(currentWorkshop_, currentWorkbench_);
  return wb ? wb->layout : nullptr;
}

Ref<TavIWorkbenchConfiguration> HostWorkbenches::Configuration(const std::string& workbench,
                                                              const std::string& workshop) const {
  const Workbench* wb = Find(workshop, workbench);
  return wb ? wb->configuration : nullptr;
}

int HostWorkbenches::EntryCount(const std::string& workbench, const std::string& workshop) const {
  const Workbench* wb = Find(workshop, workbench);
  return wb ? wb->entries : 0;
}

TavCommandHeader* HostWorkbenches::HeaderToFire(const std::string& identifier, std::string* error) const {
  TavCommandHeader* h = TavCommandHeader::GetHeaderFromList(identifier, 0);
  if (!h) {
    if (error)
      *error = currentWorkbench_.empty() ? "no header '" + identifier + "' (enter a workbench first)"
                                         : "no header '" + identifier + "' in workbench " + currentWorkbench_;
    return nullptr;
  }
  if (!h->IsAvailable()) {
    if (error) *error = "header '" + identifier + "' (" + HeaderTitle(*h).text + ") is unavailable";
    return nullptr;
  }
  return h;
}

bool HostWorkbenches::Fire(const std::string& identifier, std::string* error) const {
  TavCommandHeader* h = HeaderToFire(identifier, error);
  if (!h) return false;
  auto& registry = TavModuleRegistry::Get();
  std::string module = h->GetModuleName().utf8();
  const std::string cls = h->GetClassName().utf8();
  if (module.empty()) {
    // A header without a module: the module that declares the class, a real one first.
    for (auto& [m, c] : registry.Classes())
      if (c == cls && (module.empty() || !registry.IsPlaceholder(m, c))) module = m;
  }
  std::string why;
  auto cmd = registry.Create(module, cls, &why);
  if (!cmd) {
    if (error) *error = "header '" + identifier + "' cannot be fired: " + why;
    return false;
  }
  cmd->SetUndoName(HeaderTitle(*h).text);
  TavCommandHost* engine = TavCommandHost::Get();
  if (!engine) {
    if (error) *error = "header '" + identifier + "' cannot be fired: no command engine is running";
    return false;
  }
  return engine->StartCommand(std::move(cmd), error);
}

const std::vector<std::string>& HostCommandClasses() {
  static const std::vector<std::string> classes = {
      "TavSPPAddChildPhysicalActivityCmd", "TavSPPFeedByProcessAct", "OrvStaticPVCommand",
      "TavSPPExportProductCmd", "VekToFennCmd", "OrvDailyShiftCreateModify",
      "OrvShiftMultiDayCreateModifyCmd", "OrvDailyShiftAssociate", "WexVEKDisAssociateShiftCmd",
      "WexDeleteFennModelTrackObjCmd", "OrvDailyShiftDelete", "OrvLearningCurveCmd",
      "OrvVaryingLaborQtyCmd", "OrvReqnRelLaborCmd", "WexVEKZoneAllocateCmd",
      "WexKwtoFENNActivityLogXmlCmd", "WexKwtoFENNMultiRunStatsXmlCmd", "WexFennSVGChartsCmd",
      "WexKwtoFENNPartTraceStatsXmlCmd", "OrvVekVersionReportCmd", "OrvEKPLoadEngIntentCmd",
      "WexAssignEngIntentCmd", "OrvEKPReconcileEICmd", "WexAutoReplanCmd",
  };
  return classes;
}

void RegisterHostCommandClasses() {
  for (const auto& cls : HostCommandClasses())
    TavModuleRegistry::Get().RegisterPlaceholder(kTavHostCommandModule, cls, [cls]() -> std::unique_ptr<TavStateCommand> {
      return std::make_unique<TavUnavailableCommand>(cls);
    });
}

// ------------------------------------------------------------------ description
namespace {

std::string Pad(const std::string& s, std::size_t width) {
  // Pads by code points so that accented titles keep the columns.
  const std::size_t n = TavUnicodeString(s).GetLengthInChar();
  return n >= width ? s + " " : s + std::string(width - n, ' ');
}

// Whether the header's class is only a placeholder in this build (it says "not available").
bool NotBuiltYet(const TavCommandHeader& h) {
  const auto& reg = TavModuleRegistry::Get();
  const std::string cls = h.GetClassName().utf8(), mod = h.GetModuleName().utf8();
  for (auto& [m, c] : reg.Classes())
    if (c == cls && (mod.empty() || m == mod)) return reg.IsPlaceholder(m, c);
  return false;  // an unknown class: firing it says so
}

std::string HeaderLine(const TavUnicodeString& id, const std::string& indent) {
  const TavCommandHeader* h = TavCommandHeader::GetHeaderFromList(id, 0);
  std::string line = indent + Pad(id.utf8(), 30);
  if (!h) return line + "(no such header)\n";
  return line + Pad(HeaderTitle(*h).text, 44) + (h->IsAvailable() ? "available" : "unavailable") +
         (NotBuiltYet(*h) ? ", not built yet" : "") + "\n";
}

void DescribeMenu(const TavWorkbenchLayout& layout, const TavWorkbenchMenu& menu, const std::string& indent,
                  std::ostringstream& out, int depth) {
  for (auto& e : menu.entries) {
    if (!e.submenu) {
      out << HeaderLine(e.name, indent);
      continue;
    }
    out << indent << "> " << e.name.utf8() << "\n";
    const TavWorkbenchMenu* sub = layout.FindMenu(e.name);
    // Submenus form a tree by construction; the depth bound keeps a foreign layout from looping.
    if (sub && depth < 16) DescribeMenu(layout, *sub, indent + "    ", out, depth + 1);
  }
}

}  // namespace

std::string DescribeWorkbench(const TavWorkbenchLayout& layout) {
  std::ostringstream out;
  out << "Toolbars:\n";
  if (layout.toolbars.empty()) out << "  (none)\n";
  for (auto& t : layout.toolbars) {
    out << "  " << t.name.utf8() << "\n";
    for (auto& h : t.headers) out << HeaderLine(h, "    ");
  }
  out << "Menus:\n";
  for (auto& m : layout.menus) {
    if (!m.parent.IsEmpty()) continue;
    out << "  " << m.name.utf8() << "\n";
    DescribeMenu(layout, m, "    ", out, 0);
  }
  const auto placed = layout.PlacedHeaders();
  std::unordered_set<std::string> isPlaced;
  for (auto& p : placed) isPlaced.insert(p.utf8());
  std::vector<TavCommandHeader*> unplaced;
  for (auto* h : TavCommandHeader::GetList())
    if (!isPlaced.count(h->GetID().utf8())) unplaced.push_back(h);
  if (!unplaced.empty()) {
    out << "Headers on no toolbar and in no menu:\n";
    for (auto* h : unplaced) out << HeaderLine(h->GetID(), "    ");
  }
  if (!layout.dropped.empty()) {
    out << "Placements dropped (no such toolbar or menu):\n";
    // One line per missing container, in order of first mention.
    std::vector<std::pair<std::string, std::string>> groups;
    for (auto& d : layout.dropped) {
      const std::string container = (d.toolbar ? "toolbar " : "menu ") + d.container.utf8();
      auto it = std::find_if(groups.begin(), groups.end(), [&](auto& g) { return g.first == container; });
      if (it == groups.end()) {
        groups.emplace_back(container, d.item.utf8());
      } else {
        it->second += ", " + d.item.utf8();
      }
    }
    for (auto& [container, items] : groups) out << "  " << container << ": " << items << "\n";
  }
  return out.str();
}

}  // namespace host
