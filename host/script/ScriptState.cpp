// What the shell shows around the statements: completion sources and what the
// running command waits for.
#include <algorithm>
#include <filesystem>

#include "HostScript.h"
#include "HostWorkbench.h"
#include "ScriptTable.h"
#include "TavModules.h"

namespace host {

namespace {
// The values `set` takes for a widget, for completion.
std::vector<std::string> WidgetValues(const TavDlgWidget& w) {
  std::vector<std::string> out;
  if (auto* lines = dynamic_cast<const TavDlgLines*>(&w)) {
    for (int i = 0; i < lines->GetLineCount(); ++i) out.push_back(lines->GetLine(i).utf8());
    out.push_back("none");
  } else if (auto* list = dynamic_cast<const TavDlgMultiList*>(&w)) {
    for (int i = 0; i < list->GetLineCount(); ++i) out.push_back(list->GetColumnItem(0, i).utf8());
    out.push_back("none");
  } else if (dynamic_cast<const TavDlgCheckButton*>(&w)) {
    out = {"checked", "unchecked"};
  } else if (dynamic_cast<const TavDlgTabContainer*>(&w)) {
    for (auto& c : w.Children()) out.push_back(c->GetName());
  }
  return out;
}

// Interface names of element types as a planner says them.
std::string ElementWord(const std::string& type) {
  static const std::vector<std::pair<std::string, std::string>> words{
      {"TavISPPActivity", "activity"},      {"TavISPPAbstractActivity", "activity"}, {"TavISPPActivityRoot", "process"},
      {"TavIProduct", "product"},           {"TavISPPItem", "product"},              {"OrvIMfgAssembly", "assembly"},
      {"TavIPPRResource", "resource"},      {"TavISPPResource", "resource"},
      {"OrvIResourceBehaviorManager", "resource"}};
  for (auto& [t, w] : words)
    if (t == type) return w;
  return type;
}
}  // namespace

CompletionModel ScriptRunner::Completions() const {
  CompletionModel m;
  m.statements = &ScriptStatements();
  auto doc = session_->CurrentDocument();
  m.document = doc.get();
  for (auto* d : TavDlgDialog::All()) {
    CompletionModel::Dialog cd{d->GetName(), {}};
    std::vector<const TavDlgWidget*> work;
    for (auto it = d->Children().rbegin(); it != d->Children().rend(); ++it) work.push_back(it->get());
    while (!work.empty()) {
      const TavDlgWidget* w = work.back();
      work.pop_back();
      cd.widgets.emplace_back(w->GetName(), WidgetValues(*w));
      for (auto it = w->Children().rbegin(); it != w->Children().rend(); ++it) work.push_back(it->get());
    }
    m.dialogs.push_back(std::move(cd));
  }
  for (auto* h : TavCommandHeader::GetList()) m.headers.push_back(h->GetID().utf8());
  const auto& reg = TavModuleRegistry::Get();
  for (auto& [module, cls] : reg.Classes())
    if (!reg.IsPlaceholder(module, cls)) m.classes.emplace_back(module, cls);
  for (auto& e : TavWorkbenchDictionary::Workbenches("WSPROC")) m.workbenches.push_back(e.workbench);
  const std::string base = base_;
  m.listDirectory = [base](const std::string& dir) {
    namespace fs = std::filesystem;
    std::vector<std::pair<std::string, bool>> out;
    std::error_code ec;
    fs::path p = fs::path(dir).is_absolute() || base.empty() ? fs::path(dir) : fs::path(base) / dir;
    for (fs::directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec))
      out.emplace_back(it->path().filename().string(), it->is_directory(ec));
    std::sort(out.begin(), out.end());
    return out;
  };
  return m;
}

std::string ScriptRunner::WaitingFor() const {
  TavStateCommand* c = engine_->RunningCommand();
  if (!c || !c->GetCurrentState()) return {};
  std::vector<std::string> picks;
  bool anything = false;
  for (TavAgent* a : c->CurrentAgents())
    if (auto* pa = dynamic_cast<TavPathElementAgent*>(a)) {
      if (pa->GetElementTypes().empty()) anything = true;
      for (auto& t : pa->GetElementTypes()) {
        std::string w = ElementWord(t);
        if (std::find(picks.begin(), picks.end(), w) == picks.end()) picks.push_back(w);
      }
    }
  std::string out;
  if (anything) {
    out = "pick";
  } else if (!picks.empty()) {
    out = "pick ";
    for (std::size_t i = 0; i < picks.size(); ++i) out += (i ? "|" : "") + picks[i];
  }
  for (auto* d : TavDlgDialog::All())
    if (d->IsVisible()) out += (out.empty() ? "dialog " : ", dialog ") + d->GetName();
  return out.empty() ? "state " + c->GetCurrentState()->GetName() : out;
}

}  // namespace host
