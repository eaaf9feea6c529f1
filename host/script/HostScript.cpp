#include "HostScript.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "HostWorkbench.h"
#include "PlantDocument.h"
#include "TavModules.h"

namespace host {

namespace fs = std::filesystem;

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& err) {
  words.clear();
  std::string cur;
  bool inWord = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '\\' && i + 1 < line.size()) {
        cur += line[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        cur += c;
      }
    } else if (c == '"') {
      quoted = inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(cur);
      cur.clear();
      inWord = false;
    } else if (c == '#' && !inWord) {
      break;  // a comment runs to the end of the line
    } else {
      cur += c;
      inWord = true;
    }
  }
  if (quoted) {
    err = "unterminated quoted text";
    return false;
  }
  if (inWord) words.push_back(cur);
  return true;
}

ScriptRunner::ScriptRunner(std::ostream& out)
    : out_(out),
      session_(std::make_unique<HostSession>()),
      engine_(std::make_unique<HostEngine>(&out)),
      workbenches_(std::make_unique<HostWorkbenches>()) {
  session_->SetHasMainWindow(true);
}

ScriptRunner::~ScriptRunner() {
  // Commands and workbenches go before the documents and the session they use.
  engine_.reset();
  workbenches_.reset();
  session_.reset();
}

std::vector<std::string> ScriptRunner::Statements() {
  return {"open", "save", "workbench", "fire", "start", "select", "pick", "cancel", "set", "push", "notify",
          "answer", "print", "expect", "echo", "env", "unsetenv", "close", "setting"};
}

std::vector<std::string> ScriptRunner::ObjectPaths() const {
  std::vector<std::string> out;
  auto doc = session_->CurrentDocument();
  if (!doc) return out;
  for (auto& r : doc->Process().roots_) {
    out.push_back(doc->PathString(r));
    for (auto& a : r->GetAllChildren()) out.push_back(doc->PathString(a));
  }
  for (auto* list : {&doc->Products(), &doc->Resources()})
    for (auto& r : list->roots_) {
      out.push_back(doc->PathString(r));
      for (auto& p : r->GetAllDescendants()) out.push_back(doc->PathString(p));
    }
  for (auto& a : doc->Assemblies().assemblies_) out.push_back(doc->PathString(a));
  return out;
}

std::string ScriptRunner::FilePath(const std::string& p, bool output) const {
  fs::path path(p);
  if (path.is_absolute()) return p;
  if (output && !outDir_.empty()) return (fs::path(outDir_) / path).string();
  if (!base_.empty()) return (fs::path(base_) / path).string();
  return p;
}

bool ScriptRunner::Open(const std::string& path, std::string* error) {
  std::string err;
  auto doc = LoadPlant(path, err);
  if (!doc) {
    if (error) *error = err;
    return false;
  }
  session_->OpenDocument(doc);
  return true;
}

bool ScriptRunner::RunFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error_ = path + ": cannot open the script";
    return false;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  if (base_.empty()) base_ = fs::path(path).parent_path().string();
  return RunText(ss.str(), path);
}

bool ScriptRunner::RunText(const std::string& text, const std::string& fileName) {
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!RunLine(line, fileName, n)) return false;
  }
  return true;
}

bool ScriptRunner::RunLine(const std::string& line, const std::string& fileName, int lineNo) {
  std::vector<std::string> w;
  std::string err;
  bool ok = SplitWords(line, w, err) && (w.empty() || Execute(w, err));
  if (!ok) error_ = fileName + ":" + std::to_string(lineNo) + ": " + err;
  return ok;
}

TavPathElement ScriptRunner::ResolvePath(const std::string& p, std::string& err) const {
  auto doc = session_->CurrentDocument();
  if (!doc) {
    err = "no plant is open";
    return {};
  }
  TavPathElement path = doc->Resolve(p);
  if (path.IsEmpty()) err = "no object at '" + p + "'";
  return path;
}

TavDlgWidget* ScriptRunner::ResolveWidget(const std::string& spec, std::string& err) const {
  auto dot = spec.find('.');
  std::string dlgName = spec.substr(0, dot);
  TavDlgDialog* d = TavDlgDialog::FindByName(dlgName);
  if (!d) {
    err = "no dialog named '" + dlgName + "'";
    return nullptr;
  }
  if (dot == std::string::npos) return d;
  std::string widget = spec.substr(dot + 1);
  TavDlgWidget* w = d->Find(widget);
  if (!w) err = "dialog " + dlgName + " has no widget '" + widget + "'";
  return w;
}

namespace {
std::string Join(const std::vector<std::string>& w, std::size_t from) {
  std::string s;
  for (std::size_t i = from; i < w.size(); ++i) s += (i > from ? " " : "") + w[i];
  return s;
}
bool Need(const std::vector<std::string>& w, std::size_t n, const char* usage, std::string& err) {
  if (w.size() >= n) return true;
  err = std::string("usage: ") + usage;
  return false;
}
std::string Notification(const std::string& word) {
  std::string u = TavUnicodeString(word).ToUpper().utf8();
  if (u == "OK" || u == "APPLY" || u == "CANCEL" || u == "CLOSE") return u;
  if (u == "SELECT" || u == "MODIFY" || u == "ACTIVATE") return u;
  return {};
}
}  // namespace

bool ScriptRunner::Execute(const std::vector<std::string>& w, std::string& err) {
  const std::string& s = w[0];
  if (s == "echo") {
    out_ << Join(w, 1) << '\n';
    return true;
  }
  if (s == "open") {
    if (!Need(w, 2, "open FILE", err)) return false;
    if (!Open(FilePath(w[1], false), &err)) return false;
    out_ << "opened " << w[1] << '\n';
    return true;
  }
  if (s == "close") {
    if (auto ed = session_->CurrentHostEditor()) session_->CloseEditor(ed);
    return true;
  }
  if (s == "save") {
    if (!Need(w, 2, "save FILE", err)) return false;
    auto doc = session_->CurrentDocument();
    if (!doc) {
      err = "no plant is open";
      return false;
    }
    if (!SavePlant(*doc, FilePath(w[1], true), err)) return false;
    out_ << "saved " << w[1] << '\n';
    return true;
  }
  if (s == "env" || s == "unsetenv") {
    if (!Need(w, 2, "env NAME [VALUE] | unsetenv NAME", err)) return false;
    if (s == "env") ::setenv(w[1].c_str(), w.size() > 2 ? w[2].c_str() : "", 1);
    else ::unsetenv(w[1].c_str());
    return true;
  }
  if (s == "setting") {  // a value of a setting repository: true/false, an integer, a number or a text
    if (!Need(w, 4, "setting REPOSITORY KEY VALUE", err)) return false;
    const std::string v = Join(w, 3);
    TavValue value = TavUnicodeString(v);
    std::int64_t i = 0;
    double d = 0;
    if (v == "true" || v == "false") value = v == "true";
    else if (auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), i); ec == std::errc() && p == v.data() + v.size()) value = i;
    else if (auto [q, ec2] = std::from_chars(v.data(), v.data() + v.size(), d); ec2 == std::errc() && q == v.data() + v.size()) value = d;
    TavSettingRepository::GetRepository(w[1]).Write(w[2], value);
    return true;
  }
  if (s == "workbench") {
    if (!Need(w, 2, "workbench NAME", err)) return false;
    if (!workbenches_->Enter(w[1], &err)) return false;
    out_ << "entered workbench " << w[1] << '\n';
    return true;
  }
  if (s == "fire") {
    if (!Need(w, 2, "fire HEADER", err)) return false;
    TavCommandHeader* h = workbenches_->HeaderToFire(w[1], &err);
    if (!h) return false;
    return engine_->Start(h->GetModuleName().utf8(), h->GetClassName().utf8(), &err);
  }
  if (s == "start") {
    if (!Need(w, 3, "start MODULE CLASS", err)) return false;
    return engine_->Start(w[1], w[2], &err);
  }
  if (s == "select") {
    auto ed = session_->CurrentHostEditor();
    if (!ed) {
      err = "no plant is open";
      return false;
    }
    if (w.size() == 1) {
      ed->GetCSO().Empty();
      return true;
    }
    for (std::size_t i = 1; i < w.size(); ++i) {
      TavPathElement p = ResolvePath(w[i], err);
      if (p.IsEmpty()) return false;
      ed->GetCSO().AddElement(p);
    }
    return true;
  }
  if (s == "active") {  // the editor's current path (the activity being edited)
    if (!Need(w, 2, "active PATH", err)) return false;
    TavPathElement p = ResolvePath(w[1], err);
    if (p.IsEmpty()) return false;
    session_->CurrentHostEditor()->SetActivePath(p);
    return true;
  }
  if (s == "pick") {
    if (!Need(w, 2, "pick [viewer|tree] PATH", err)) return false;
    std::size_t at = (w[1] == "viewer" || w[1] == "tree") && w.size() > 2 ? 2 : 1;
    TavPathElement p = ResolvePath(w[at], err);
    if (p.IsEmpty()) return false;
    if (!engine_->Pick(p, &err)) {
      err = "pick " + w[at] + ": " + err;
      return false;
    }
    return true;
  }
  if (s == "cancel") return engine_->Cancel(&err);
  if (s == "set") {
    if (!Need(w, 3, "set DIALOG.WIDGET VALUE", err)) return false;
    TavDlgWidget* wd = ResolveWidget(w[1], err);
    if (!wd) return false;
    if (!wd->IsSensitive()) {
      err = w[1] + " is insensitive";
      return false;
    }
    return wd->SetValueFromText(Join(w, 2), &err);
  }
  if (s == "push") {
    if (!Need(w, 2, "push DIALOG.WIDGET", err)) return false;
    TavDlgWidget* wd = ResolveWidget(w[1], err);
    if (!wd) return false;
    if (!wd->IsSensitive()) {
      err = w[1] + " is insensitive";
      return false;
    }
    wd->Notify(TavDlgNotification::Activate);
    return true;
  }
  if (s == "notify") {
    if (!Need(w, 3, "notify DIALOG[.WIDGET] ok|cancel|close|apply|select|modify|activate", err)) return false;
    TavDlgWidget* wd = ResolveWidget(w[1], err);
    if (!wd) return false;
    std::string n = Notification(w[2]);
    if (n.empty()) {
      err = "unknown notification '" + w[2] + "'";
      return false;
    }
    if (auto* d = dynamic_cast<TavDlgDialog*>(wd); d && (n == "OK" || n == "CANCEL" || n == "APPLY") && !d->IsVisible()) {
      err = "dialog " + w[1] + " is not shown";
      return false;
    }
    TavStateCommand* before = engine_->RunningCommand();
    std::string state = before && before->GetCurrentState() ? before->GetCurrentState()->GetName() : "";
    TavDlgDialog* d = wd->GetDialog();
    wd->Notify(n);
    // A notification that neither a callback nor a state waited for is the script's mistake.
    bool moved = engine_->RunningCommand() != before ||
                 (before && before->GetCurrentState() && before->GetCurrentState()->GetName() != state);
    if (!moved && TavDlgDialog::FindByName(w[1].substr(0, w[1].find('.'))) == d && d && d->LastDispatchCount() == 0 &&
        (n == "OK" || n == "CANCEL" || n == "CLOSE" || n == "APPLY")) {
      err = "no callback or state waits for " + n + " of " + w[1];
      return false;
    }
    return true;
  }
  if (s == "answer") {
    if (!Need(w, 2, "answer ok|cancel|yes|no | answer file PATH", err)) return false;
    std::string a = w[1];
    if (a == "file") {
      if (!Need(w, 3, "answer file PATH", err)) return false;
      std::string path = FilePath(w[2], true);
      if (!engine_->AnswerPending("file", path, nullptr)) engine_->QueueFileAnswer(true, path);
      return true;
    }
    std::string u = TavUnicodeString(a).ToUpper().utf8();
    if (u == "CANCEL" && engine_->AnswerPending("cancel", {}, nullptr)) return true;
    if (engine_->AnswerPending(u, {}, nullptr)) return true;
    if (u == "CANCEL") engine_->QueueFileAnswer(false, {});
    engine_->QueueAnswer(u);  // for the next modal box
    return true;
  }
  if (s == "print") return Print(w, err);
  if (s == "expect") return Expect(w, err);
  err = "unknown statement '" + s + "'";
  return false;
}

void ScriptRunner::PrintTree() {
  auto doc = session_->CurrentDocument();
  if (!doc) return;
  for (auto& r : doc->Process().roots_) {
    out_ << r->GetLabel().utf8() << " (" << r->GetTypeName().utf8() << ")\n";
    std::vector<std::pair<const HostActivity*, int>> work;
    for (auto it = r->Children().rbegin(); it != r->Children().rend(); ++it) work.emplace_back(it->get(), 1);
    while (!work.empty()) {
      auto [a, depth] = work.back();
      work.pop_back();
      out_ << std::string(static_cast<std::size_t>(depth) * 2, ' ') << a->GetLabel().utf8() << " (" << a->GetTypeName().utf8() << ")\n";
      for (auto it = a->Children().rbegin(); it != a->Children().rend(); ++it) work.emplace_back(it->get(), depth + 1);
    }
  }
  for (auto* list : {&doc->Products(), &doc->Resources()}) {
    out_ << list->GetListName().utf8() << '\n';
    std::vector<std::pair<const HostProduct*, int>> work;
    for (auto it = list->roots_.rbegin(); it != list->roots_.rend(); ++it) work.emplace_back(it->get(), 1);
    while (!work.empty()) {
      auto [p, depth] = work.back();
      work.pop_back();
      out_ << std::string(static_cast<std::size_t>(depth) * 2, ' ') << p->GetName().utf8();
      if (!p->GetPartNumber().IsEmpty()) out_ << " [" << p->GetPartNumber().utf8() << "]";
      out_ << '\n';
      for (auto it = p->Children().rbegin(); it != p->Children().rend(); ++it) work.emplace_back(it->get(), depth + 1);
    }
  }
  if (!doc->Assemblies().assemblies_.empty()) {
    out_ << "Assemblies\n";
    for (auto& a : doc->Assemblies().assemblies_) out_ << "  " << a->GetName().utf8() << " (type " << a->GetType() << ")\n";
  }
}

bool ScriptRunner::Print(const std::vector<std::string>& w, std::string& err) {
  if (!Need(w, 2, "print dialog NAME|dialogs|messages|hso|cso|object PATH|tree|command", err)) return false;
  const std::string& what = w[1];
  auto doc = session_->CurrentDocument();
  if (what == "dialog") {
    if (!Need(w, 3, "print dialog NAME", err)) return false;
    TavDlgWidget* d = ResolveWidget(w[2], err);
    if (!d) return false;
    std::string text;
    d->Dump(text, 0);
    out_ << text;
    return true;
  }
  if (what == "dialogs") {
    for (auto* d : TavDlgDialog::All())
      out_ << d->GetKind() << ' ' << d->GetName() << (d->IsVisible() ? " [shown]" : " [hidden]") << '\n';
    return true;
  }
  if (what == "messages") {
    for (auto& m : engine_->Messages()) out_ << "[" << m.kind << "] " << m.title << ": " << m.text << '\n';
    return true;
  }
  if (what == "hso" || what == "cso" || what == "pso") {
    auto ed = session_->CurrentHostEditor();
    if (!ed) {
      err = "no plant is open";
      return false;
    }
    TavSelectionSet& set = what == "hso" ? ed->GetHSO() : what == "cso" ? ed->GetCSO() : ed->GetPSO();
    out_ << set.GetName() << " (" << set.GetSize() << ")\n";
    for (auto& p : set.Items()) out_ << "  " << doc->PathString(p.GetLeaf()) << '\n';
    return true;
  }
  if (what == "object") {
    if (!Need(w, 3, "print object PATH", err)) return false;
    TavPathElement p = ResolvePath(w[2], err);
    if (p.IsEmpty()) return false;
    auto o = p.GetLeaf();
    out_ << doc->PathString(o);
    if (auto id = query<TavIModelIdentity>(o)) out_ << " #" << id->GetId().utf8();
    out_ << '\n';
    if (auto a = query<TavISPPAbstractActivity>(o)) {
      out_ << "  type " << a->GetTypeName().utf8() << ", time " << TavValueToText(a->GetTime()).utf8() << '\n';
      if (!a->GetDescription().IsEmpty()) out_ << "  description " << a->GetDescription().utf8() << '\n';
    }
    if (auto pr = query<TavIProduct>(o)) out_ << "  part number " << pr->GetPartNumber().utf8() << '\n';
    if (auto rel = query<TavIPCSRelations>(o))
      for (auto& r : rel->GetRelations()) {
        out_ << "  " << r->GetRelationType().utf8() << " " << doc->PathString(r->GetTarget()) << '\n';
        if (auto ra = query<TavIAttributeHolder>(r))
          for (auto& a : ra->GetAttributes()) out_ << "    attribute " << a.name.utf8() << " = " << TavValueToText(a.value).utf8() << '\n';
      }
    if (auto attrs = query<TavIAttributeHolder>(o))
      for (auto& a : attrs->GetAttributes()) out_ << "  attribute " << a.name.utf8() << " = " << TavValueToText(a.value).utf8() << '\n';
    return true;
  }
  if (what == "tree") {
    if (!doc) {
      err = "no plant is open";
      return false;
    }
    PrintTree();
    return true;
  }
  if (what == "command") {
    auto* c = engine_->RunningCommand();
    if (c) out_ << "running " << c->GetName() << " in state " << (c->GetCurrentState() ? c->GetCurrentState()->GetName() : "?") << '\n';
    else out_ << "no command running\n";
    return true;
  }
  err = "cannot print '" + what + "'";
  return false;
}

bool ScriptRunner::Expect(const std::vector<std::string>& w, std::string& err) {
  if (!Need(w, 2, "expect message|no-message|label|hso|cso|widget|running|ended ...", err)) return false;
  const std::string& what = w[1];
  auto fail = [&](const std::string& m) {
    err = "expectation failed: " + m;
    return false;
  };
  if (what == "message") {  // the newest message contains the text
    std::string text = Join(w, 2);
    if (engine_->Messages().empty()) return fail("no message was shown, expected one containing '" + text + "'");
    auto& m = engine_->Messages().back();
    if ((m.title + ": " + m.text).find(text) == std::string::npos)
      return fail("the last message is '" + m.title + ": " + m.text + "', expected it to contain '" + text + "'");
    return true;
  }
  if (what == "messages") {
    if (!Need(w, 3, "expect messages N", err)) return false;
    if (std::to_string(engine_->Messages().size()) != w[2])
      return fail(std::to_string(engine_->Messages().size()) + " messages were shown, expected " + w[2]);
    return true;
  }
  if (what == "no-message") {
    if (!engine_->Messages().empty()) return fail("a message was shown: " + engine_->Messages().back().text);
    return true;
  }
  if (what == "label" || what == "name") {
    if (!Need(w, 4, "expect label PATH TEXT", err)) return false;
    TavPathElement p = ResolvePath(w[2], err);
    if (p.IsEmpty()) return false;
    std::string actual;
    if (auto a = query<TavISPPAbstractActivity>(p.GetLeaf())) actual = a->GetLabel().utf8();
    else if (auto pr = query<TavIProduct>(p.GetLeaf())) actual = pr->GetName().utf8();
    if (actual != w[3]) return fail(w[2] + " is labelled '" + actual + "', expected '" + w[3] + "'");
    return true;
  }
  if (what == "hso" || what == "cso") {
    if (!Need(w, 4, "expect hso|cso count N | contains PATH | lacks PATH", err)) return false;
    auto ed = session_->CurrentHostEditor();
    if (!ed) return fail("no plant is open");
    TavSelectionSet& set = what == "hso" ? ed->GetHSO() : ed->GetCSO();
    if (w[2] == "count") {
      if (std::to_string(set.GetSize()) != w[3]) return fail(what + " holds " + std::to_string(set.GetSize()) + ", expected " + w[3]);
      return true;
    }
    TavPathElement p = ResolvePath(w[3], err);
    if (p.IsEmpty()) return false;
    bool has = set.ContainsObject(p.GetLeaf());
    if (w[2] == "contains" && !has) return fail(what + " does not hold " + w[3]);
    if (w[2] == "lacks" && has) return fail(what + " holds " + w[3]);
    return true;
  }
  if (what == "widget") {
    if (!Need(w, 3, "expect widget DIALOG.WIDGET [VALUE]", err)) return false;
    TavDlgWidget* wd = ResolveWidget(w[2], err);
    if (!wd) return false;
    std::string v = Join(w, 3);
    if (wd->ValueText() != v) return fail(w[2] + " holds '" + wd->ValueText() + "', expected '" + v + "'");
    return true;
  }
  if (what == "running") {
    auto* c = engine_->RunningCommand();
    if (!c) return fail("no command is running");
    if (w.size() > 2 && c->GetCurrentState() && c->GetCurrentState()->GetName() != w[2])
      return fail(c->GetName() + " is in state " + c->GetCurrentState()->GetName() + ", expected " + w[2]);
    return true;
  }
  if (what == "ended") {
    if (auto* c = engine_->RunningCommand()) return fail(c->GetName() + " is still running");
    return true;
  }
  if (what == "file") {
    if (!Need(w, 3, "expect file PATH", err)) return false;
    if (!fs::exists(FilePath(w[2], true))) return fail("no file " + w[2]);
    return true;
  }
  err = "unknown expectation '" + what + "'";
  return false;
}

}  // namespace host
