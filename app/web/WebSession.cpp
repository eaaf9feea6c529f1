#include "WebSession.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <unordered_set>

#include "HostUndo.h"
#include "HostWindows.h"
#include "HostWorkbench.h"
#include "ScriptWords.h"
#include "TavGraph.h"
#include "TavModules.h"
#include "TavServices.h"
#include "TreeObjects.h"

namespace mirt::web {

namespace fs = std::filesystem;

namespace {

Answer Refused(int status, const std::string& error) { return {status, Json{{"error", error}}}; }

// Texts from the page become words of a statement: no control characters (a line
// break would start a second statement).
bool PlainText(const std::string& s) {
  return std::none_of(s.begin(), s.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}
// Widget, header and notification names: resource names, never quoted text.
bool Name(const std::string& s) {
  return !s.empty() && s.size() < 256 &&
         std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isalnum(c) || c == '_' || c == '.' || c == '-'; });
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Kind(const Ref<TavBaseUnknown>& o) {
  if (query<TavISPPActivity>(o)) return "activity";
  if (query<OrvIMfgAssembly>(o)) return "assembly";
  if (query<TavIProduct>(o)) return "product";  // resources too
  return "section";
}

Json WidgetJson(TavDlgWidget& w) {
  Json j{{"name", w.GetName()}, {"kind", w.GetKind()}, {"title", w.GetTitle().utf8()}, {"value", w.ValueText()},
         {"visible", w.IsVisible()}, {"sensitive", w.IsSensitive()}};
  if (auto help = w.GetHelp(); !help.IsEmpty()) j["help"] = help.utf8();
  if (!w.GetToolTip().IsEmpty()) j["tooltip"] = w.GetToolTip().utf8();
  if (auto* lines = dynamic_cast<TavDlgLines*>(&w)) {
    Json rows = Json::array();
    for (int i = 0; i < lines->GetLineCount(); ++i) rows.push_back(Json::array({lines->GetLine(i).utf8()}));
    j["rows"] = std::move(rows);
  } else if (auto* multi = dynamic_cast<TavDlgMultiList*>(&w)) {
    Json columns = Json::array(), rows = Json::array();
    for (auto& c : multi->GetColumnTitles()) columns.push_back(c.utf8());
    for (int r = 0; r < multi->GetLineCount(); ++r) {
      Json row = Json::array();
      for (int c = 0; c < multi->GetColumnCount(); ++c) row.push_back(multi->GetColumnItem(c, r).utf8());
      rows.push_back(std::move(row));
    }
    j["columns"] = std::move(columns);
    j["rows"] = std::move(rows);
  }
  if (auto* rows = dynamic_cast<TavDlgRows*>(&w)) j["selected"] = rows->GetSelect();
  if (auto* box = dynamic_cast<TavDlgNotify*>(&w)) {
    j["text"] = box->GetText().utf8();
    j["level"] = TavDlgNotify::KindName(box->GetNotifyKind());
  }
  if (auto* file = dynamic_cast<TavDlgFile*>(&w)) {
    Json patterns = Json::array();
    for (auto& p : file->GetFilterPatterns()) patterns.push_back(p.utf8());
    j["patterns"] = std::move(patterns);
  }
  Json children = Json::array();
  for (auto& c : w.Children()) children.push_back(WidgetJson(*c));
  j["children"] = std::move(children);
  return j;
}

// The lists under the processes (Products, Resources, Assemblies) have no object path:
// the page names them by their text, as `print tree` does.
std::string PathOf(const host::HostDocument& doc, const Ref<TavBaseUnknown>& o) {
  std::string path = doc.PathString(o);
  return path.empty() || path == "?" ? host::TreeText(o) : path;
}

Ref<TavBaseUnknown> NodeAt(const host::HostDocument& doc, const std::string& path) {
  for (auto& root : host::TreeRoots(doc))
    if (PathOf(doc, root) == path) return root;
  return doc.Resolve(path).GetLeaf();
}

Json NodeJson(const host::HostDocument& doc, const Ref<TavBaseUnknown>& o, host::HostEditor* ed) {
  Json j{{"path", PathOf(doc, o)}, {"text", host::TreeText(o)}, {"kind", Kind(o)}, {"children", host::HasTreeChildren(o)}};
  if (ed) {
    j["selected"] = ed->GetCSO().ContainsObject(o);
    j["highlighted"] = ed->GetHSO().ContainsObject(o);
  }
  return j;
}

}  // namespace

// The engine's dialog host, except that a modal box shown while a page's action runs
// waits for the page's answer instead of taking the default one.
class WebSession::BoxHost final : public TavDialogHost {
public:
  BoxHost(WebSession& session, host::HostEngine& engine) : session_(session), engine_(engine) { TavDialogHost::Install(this); }
  ~BoxHost() override { TavDialogHost::Install(&engine_); }
  void OnNotification(TavDlgWidget* source, const std::string& notification) override { engine_.OnNotification(source, notification); }
  std::string OnNotifyBlocked(TavDlgNotify& box) override {
    if (session_.running_ && session_.askPage_)
      if (auto answer = session_.AskPage(box)) engine_.QueueAnswer(*answer);
    return engine_.OnNotifyBlocked(box);  // records the box with its answer
  }
  bool OnFileShown(TavDlgFile& box, bool& ok, TavUnicodeString& path) override { return engine_.OnFileShown(box, ok, path); }
  void OnDialogDestroyed(TavDlgDialog* d) override { engine_.OnDialogDestroyed(d); }
  void OnNotifyShown(TavDlgNotify& box) override { engine_.OnNotifyShown(box); }

private:
  WebSession& session_;
  host::HostEngine& engine_;
};

WebSession::WebSession(std::string plantFolder, std::string outputFolder)
    : plantFolder_(std::move(plantFolder)), outputFolder_(std::move(outputFolder)) {
  runner_.SetBaseDirectory(plantFolder_);
  runner_.SetOutputDirectory(outputFolder_);
  boxes_ = std::make_unique<BoxHost>(*this, runner_.Engine());
}

WebSession::~WebSession() {
  Stop();
  boxes_.reset();  // the engine's own host again before the engine goes
}

void WebSession::AnswerBoxesFromPage(bool on) {
  std::lock_guard lock(mutex_);
  askPage_ = on;
}

std::optional<std::string> WebSession::AskPage(TavDlgNotify& box) {
  blocked_ = Json{{"name", box.GetName()}, {"title", box.GetTitle().utf8()}, {"text", box.GetText().utf8()},
                  {"level", TavDlgNotify::KindName(box.GetNotifyKind())}};
  blockedAnswer_.reset();
  ++generation_;
  changed_.notify_all();
  changed_.wait(*running_, [&] { return blockedAnswer_.has_value() || stopped_; });
  blocked_.reset();
  std::optional<std::string> answer = std::move(blockedAnswer_);
  blockedAnswer_.reset();
  return answer;
}

bool WebSession::Open(const std::string& plant, std::string* error) {
  std::lock_guard lock(mutex_);
  if (!runner_.Open(plant, error)) return false;
  if (!runner_.RunLine("workbench Mirt", "<serve>")) {
    if (error) *error = runner_.Error();
    return false;
  }
  out_.str({});
  ++generation_;
  changed_.notify_all();
  return true;
}

bool WebSession::Run(const std::string& line, std::string& output, std::string& error) {
  out_.str({});
  const bool ok = runner_.RunLine(line, "<web>");
  output = out_.str();
  out_.str({});
  if (!ok) error = runner_.Error();
  // Whatever a statement did, the page redraws: a refused one may have shown a message.
  ++generation_;
  changed_.notify_all();
  return ok;
}

Json WebSession::State() {
  std::lock_guard lock(mutex_);
  return StateLocked();
}

Json WebSession::StateLocked() {
  Json s{{"generation", generation_}, {"waiting", runner_.WaitingFor()}, {"output", lastOutput_},
         {"status", TavApplicationFrame::GetStatusText().utf8()}};
  auto doc = runner_.Session().CurrentDocument();
  s["plant"] = doc ? doc->GetDisplayName().utf8() : "";
  s["modified"] = doc && doc->IsModified();
  s["canUndo"] = doc && doc->Journal().Position() > 0;
  s["canRedo"] = doc && doc->Journal().Position() < doc->Journal().Size();
  TavStateCommand* cmd = runner_.Engine().RunningCommand();
  s["command"] = cmd ? cmd->GetName() : "";
  s["state"] = cmd && cmd->GetCurrentState() ? cmd->GetCurrentState()->GetName() : "";
  Json dialogs = Json::array();
  for (TavDlgDialog* d : TavDlgDialog::All())
    if (d->IsVisible()) dialogs.push_back(WidgetJson(*d));
  s["dialogs"] = std::move(dialogs);
  Json messages = Json::array();
  const auto& shown = runner_.Engine().Messages();
  for (std::size_t i = shown.size() > 20 ? shown.size() - 20 : 0; i < shown.size(); ++i)
    messages.push_back({{"kind", shown[i].kind}, {"title", shown[i].title}, {"text", shown[i].text}, {"answer", shown[i].answer}});
  s["messages"] = std::move(messages);
  Json cso = Json::array(), hso = Json::array();
  if (auto ed = runner_.Session().CurrentHostEditor()) {
    for (auto& p : ed->GetCSO().Items()) cso.push_back(doc->PathString(p.GetLeaf()));
    for (auto& p : ed->GetHSO().Items()) hso.push_back(doc->PathString(p.GetLeaf()));
  }
  s["cso"] = std::move(cso);
  s["hso"] = std::move(hso);
  s["blocked"] = blocked_ ? *blocked_ : Json();
  // The layout's windows; those with a picture (Gantt and PERT charts) the page draws.
  Json windows = Json::array();
  for (auto& w : host::HostWindows::Get().Windows())
    windows.push_back({{"name", w->GetBaseName().utf8()}, {"picture", query<TavIWindowPicture>(Ref<TavBaseUnknown>(w)) != nullptr}});
  s["windows"] = std::move(windows);
  return s;
}

Answer WebSession::Picture(const std::string& window) {
  std::lock_guard lock(mutex_);
  for (auto& w : host::HostWindows::Get().Windows())
    if (w->GetBaseName().utf8() == window) {
      auto picture = query<TavIWindowPicture>(Ref<TavBaseUnknown>(w));
      if (!picture) return Refused(404, "window '" + window + "' has no picture");
      return {200, Json{{"svg", picture->GetSvg()}}};
    }
  return Refused(404, "no window '" + window + "'");
}

Answer WebSession::Tree(const std::string& path, std::size_t offset, std::size_t limit) {
  std::lock_guard lock(mutex_);
  auto doc = runner_.Session().CurrentDocument();
  if (!doc) return Refused(409, "no plant is open");
  std::vector<Ref<TavBaseUnknown>> children;
  if (path.empty()) {
    children = host::TreeRoots(*doc);
  } else {
    auto leaf = NodeAt(*doc, path);
    if (!leaf) return Refused(404, "no object at '" + path + "'");
    children = host::TreeChildren(leaf);
  }
  auto ed = runner_.Session().CurrentHostEditor();
  Json nodes = Json::array();
  for (std::size_t i = offset; i < children.size() && i - offset < limit; ++i) nodes.push_back(NodeJson(*doc, children[i], ed.get()));
  return {200, Json{{"path", path}, {"offset", offset}, {"total", children.size()}, {"nodes", std::move(nodes)}}};
}

Answer WebSession::Search(const std::string& text, std::size_t limit) {
  std::lock_guard lock(mutex_);
  auto doc = runner_.Session().CurrentDocument();
  if (!doc) return Refused(409, "no plant is open");
  if (text.empty()) return Refused(400, "search for what? (q is empty)");
  const std::string needle = Lower(text);
  // Depth first in tree order, each object once (an assembly's content repeats products).
  std::vector<Ref<TavBaseUnknown>> work = host::TreeRoots(*doc);
  std::reverse(work.begin(), work.end());
  std::unordered_set<const void*> seen;
  auto ed = runner_.Session().CurrentHostEditor();
  Json hits = Json::array();
  while (!work.empty() && hits.size() < limit) {
    auto o = std::move(work.back());
    work.pop_back();
    if (!seen.insert(host::TreeIdentity(o)).second) continue;
    if (Lower(host::TreeText(o)).find(needle) != std::string::npos) hits.push_back(NodeJson(*doc, o, ed.get()));
    auto children = host::TreeChildren(o);
    for (auto it = children.rbegin(); it != children.rend(); ++it) work.push_back(std::move(*it));
  }
  return {200, Json{{"q", text}, {"nodes", std::move(hits)}}};
}

Answer WebSession::Object(const std::string& path) {
  if (!PlainText(path) || path.empty()) return Refused(400, "path: no object path");
  std::lock_guard lock(mutex_);
  // A statement waits in the middle for the box: no other statement runs meanwhile.
  if (blocked_) return Refused(409, "a message waits for its answer");
  out_.str({});
  const bool ok = runner_.RunLine("print object " + host::QuoteWord(path), "<web>");
  std::string text = out_.str();
  out_.str({});
  if (!ok) return Refused(404, runner_.Error());
  return {200, Json{{"path", path}, {"text", text}}};
}

Json WebSession::Workbench() {
  std::lock_guard lock(mutex_);
  Json toolbars = Json::array(), menus = Json::array();
  auto header = [](const TavUnicodeString& id) {
    Json h{{"id", id.utf8()}, {"title", id.utf8()}, {"available", false}};
    if (TavCommandHeader* c = TavCommandHeader::GetHeaderFromList(id.utf8(), 0)) {
      h["title"] = host::HeaderTitle(*c).text;
      h["available"] = c->IsAvailable();
      if (auto help = host::HeaderHelp(*c); help.Found()) h["help"] = help.text;
    }
    return h;
  };
  if (const TavWorkbenchLayout* layout = runner_.Workbenches().CurrentLayout()) {
    for (auto& t : layout->toolbars) {
      Json headers = Json::array();
      for (auto& id : t.headers) headers.push_back(header(id));
      toolbars.push_back({{"name", t.name.utf8()}, {"headers", std::move(headers)}});
    }
    for (auto& m : layout->menus) {
      Json entries = Json::array();
      for (auto& e : m.entries) entries.push_back(e.submenu ? Json{{"submenu", e.name.utf8()}} : header(e.name));
      menus.push_back({{"name", m.name.utf8()}, {"parent", m.parent.utf8()}, {"entries", std::move(entries)}});
    }
  }
  // Every command the program has, as `start` takes them: commands no toolbar places.
  Json commands = Json::array();
  auto& registry = TavModuleRegistry::Get();
  for (auto& [module, cls] : registry.Classes())
    if (!registry.IsPlaceholder(module, cls)) commands.push_back({{"module", module}, {"class", cls}});
  return Json{{"workbench", runner_.Workbenches().CurrentWorkbenchName()},
              {"toolbars", std::move(toolbars)},
              {"menus", std::move(menus)},
              {"commands", std::move(commands)}};
}

std::string WebSession::AllowedFile(const std::string& folder, const std::string& name) const {
  const std::string& dir = folder == "plant" ? plantFolder_ : folder == "output" ? outputFolder_ : std::string();
  if (dir.empty() || name.empty() || name == "." || name == ".." || !PlainText(name) || name.find('/') != std::string::npos ||
      name.find('\\') != std::string::npos)
    return {};
  std::error_code ec;
  const fs::path root = fs::weakly_canonical(dir, ec);
  const fs::path file = fs::weakly_canonical(fs::path(dir) / name, ec);
  // A link pointing out of the folder is no file of it.
  if (ec || file.parent_path() != root) return {};
  return file.string();
}

Answer WebSession::Files(const std::string& folder) {
  const std::string& dir = folder == "plant" ? plantFolder_ : folder == "output" ? outputFolder_ : std::string();
  if (dir.empty()) return Refused(400, "folder: \"plant\" or \"output\"");
  Json files = Json::array();
  std::error_code ec;
  std::vector<std::string> names;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec) && !AllowedFile(folder, it->path().filename().string()).empty())
      names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  for (auto& n : names) files.push_back(n);
  return {200, Json{{"folder", folder}, {"files", std::move(files)}}};
}

Answer WebSession::Act(const Json& a) {
  if (!a.is_object() || !a.contains("action") || !a["action"].is_string()) return Refused(400, "an action is {\"action\": NAME, ...}");
  const std::string action = a["action"];
  auto text = [&](const char* key, std::string& out) {
    if (!a.contains(key) || !a[key].is_string()) return false;
    out = a[key].get<std::string>();
    return PlainText(out);
  };
  std::string line, path, widget, value;
  if (action == "pick" || action == "select") {
    if (!text("path", path) || path.empty()) return Refused(400, action + ": \"path\" names no object");
    line = (action == "pick" ? "pick " : "select ") + host::QuoteWord(path);
  } else if (action == "clear-selection") {
    line = "select";
  } else if (action == "fire") {
    if (!text("header", value) || !Name(value)) return Refused(400, "fire: \"header\" is no header identifier");
    line = "fire " + value;
  } else if (action == "start") {
    std::string module;
    if (!text("module", module) || !Name(module) || !text("class", value) || !Name(value))
      return Refused(400, "start: needs a command's \"module\" and \"class\"");
    line = "start " + module + " " + value;
  } else if (action == "set") {
    if (!text("widget", widget) || !Name(widget) || !text("value", value)) return Refused(400, "set: needs \"widget\" and a text \"value\"");
    line = "set " + widget + " " + host::QuoteWord(value);
  } else if (action == "push") {
    if (!text("widget", widget) || !Name(widget)) return Refused(400, "push: \"widget\" is no widget name");
    line = "push " + widget;
  } else if (action == "notify") {
    static const std::vector<std::string> kinds{"ok", "cancel", "close", "apply", "select", "modify", "activate", "leave", "dropdown"};
    if (!text("widget", widget) || !Name(widget) || !text("notification", value) ||
        std::find(kinds.begin(), kinds.end(), value) == kinds.end())
      return Refused(400, "notify: needs \"widget\" and a \"notification\" of ok, cancel, close, apply, select, modify, activate, leave, dropdown");
    line = "notify " + widget + " " + value;
  } else if (action == "answer") {
    if (!text("answer", value)) return Refused(400, "answer: needs \"answer\"");
    if (value == "ok" || value == "cancel" || value == "yes" || value == "no") {
      line = "answer " + value;
    } else if (value == "open" || value == "file") {
      std::string folder, name;
      if (!text("folder", folder) || !text("name", name)) return Refused(400, "answer: a file needs \"folder\" and \"name\"");
      // A file to write goes to the output folder; one to read may also come from the plant's.
      if (value == "file" && folder != "output") return Refused(403, "answer: files are written to the output folder only");
      const std::string full = AllowedFile(folder, name);
      if (full.empty()) return Refused(403, "answer: '" + name + "' is no file name of the " + folder + " folder");
      line = "answer " + value + " " + host::QuoteWord(full);
    } else {
      return Refused(400, "answer: ok, cancel, yes, no, open or file");
    }
  } else if (action == "open") {
    std::string folder, name;
    if (!text("folder", folder) || !text("name", name)) return Refused(400, "open: needs \"folder\" and \"name\"");
    const std::string full = AllowedFile(folder, name);
    if (full.empty()) return Refused(403, "open: '" + name + "' is no file name of the " + folder + " folder");
    line = "open " + host::QuoteWord(full);
  } else if (action == "undo" || action == "redo" || action == "save") {
    line = action;
  } else {
    return Refused(400, "no action '" + action + "'");
  }
  std::unique_lock lock(mutex_);
  if (blocked_) {
    // The only action while a statement waits for a modal box: its answer.
    if (action != "answer" || (value != "ok" && value != "cancel" && value != "yes" && value != "no"))
      return Refused(409, "a message waits for its answer: answer ok, cancel, yes or no");
    blockedAnswer_ = TavUnicodeString(value).ToUpper().utf8();
    changed_.notify_all();
    return {200, Json{{"ok", true}, {"answered", *blockedAnswer_}}};
  }
  std::string output, error;
  running_ = &lock;
  bool ok = Run(line, output, error);
  // A plant opened from the page gets the planner's workbench, as one opened at start.
  if (ok && action == "open" && runner_.Workbenches().CurrentWorkbenchName().empty()) ok = Run("workbench Mirt", output, error);
  running_ = nullptr;
  lastOutput_ = ok ? output : error;
  if (!ok) return Refused(409, error);
  return {200, Json{{"ok", true}, {"statement", line}, {"output", output}}};
}

std::uint64_t WebSession::Generation() {
  std::lock_guard lock(mutex_);
  return generation_;
}

std::uint64_t WebSession::WaitForChange(std::uint64_t seen, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return stopped_ || generation_ != seen; });
  return generation_;
}

void WebSession::Stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
  changed_.notify_all();
}

bool WebSession::Stopped() {
  std::lock_guard lock(mutex_);
  return stopped_;
}

}  // namespace mirt::web
