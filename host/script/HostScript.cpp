#include "HostScript.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "HostWorkbench.h"
#include "PlantDocument.h"
#include "ScriptTable.h"

namespace host {

namespace fs = std::filesystem;

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

std::vector<std::string> ScriptRunner::Statements() { return ScriptStatements().Names(); }

std::string ScriptRunner::FilePath(const std::string& p, bool output) const {
  fs::path path(p);
  if (path.is_absolute()) return p;
  if (output && !outDir_.empty()) return (fs::path(outDir_) / path).string();
  if (!base_.empty()) return (fs::path(base_) / path).string();
  return p;
}

void ScriptRunner::CancelForDocument(const char* why) {
  if (TavStateCommand* c = engine_->RunningCommand()) {
    out_ << "command " << c->GetName() << " is cancelled: " << why << '\n';
    engine_->Cancel(nullptr);
  }
}

bool ScriptRunner::Open(const std::string& path, std::string* error) {
  std::string err;
  auto doc = LoadPlant(path, err);
  if (!doc) {
    if (error) *error = err;
    return false;
  }
  CancelForDocument("another plant is opened");
  session_->OpenDocument(doc);
  return true;
}

bool ScriptRunner::MayGo(HostDocument& doc, bool discard, const char* statement, std::string& err) {
  if (discard || !doc.IsModified()) return true;
  const std::string name = doc.FilePath().empty() ? doc.GetDisplayName().utf8() : doc.FilePath();
  if (!ask_) {
    err = "'" + name + "' has unsaved changes: save it first, or " + statement + " --discard";
    return false;
  }
  switch (ask_(name)) {
    case Unsaved::Discard: return true;
    case Unsaved::Keep: return false;
    case Unsaved::Save: break;
  }
  if (doc.FilePath().empty()) {
    err = "'" + name + "' has no file yet: save FILE, then " + statement;
    return false;
  }
  if (!SavePlant(doc, doc.FilePath(), err)) return false;
  doc.MarkSaved();
  out_ << "saved " << doc.FilePath() << '\n';
  return true;
}

bool ScriptRunner::Close(std::string* error, bool discard) {
  auto ed = session_->CurrentHostEditor();
  if (!ed) return true;
  std::string err;
  // A plant open in another editor too stays open there: its changes are not lost.
  bool elsewhere = false;
  for (auto& e : session_->Editors()) elsewhere |= e != ed && e->Document() == ed->Document();
  if (!elsewhere && !MayGo(*ed->Document(), discard, "close", err)) {
    if (error) *error = err;
    return err.empty();
  }
  CancelForDocument("its plant is closed");
  session_->CloseEditor(ed);
  return true;
}

bool ScriptRunner::Quit(std::string* error, bool discard) {
  std::vector<HostDocument*> seen;
  for (auto& e : session_->Editors()) {
    HostDocument* doc = e->Document().get();
    if (!doc || std::find(seen.begin(), seen.end(), doc) != seen.end()) continue;
    seen.push_back(doc);
    std::string err;
    if (!MayGo(*doc, discard, "quit", err)) {
      if (error) *error = err;
      return err.empty();
    }
  }
  quit_ = true;
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
  ParsedScript parsed = ParseScript(text);
  auto fail = [&](int line, const std::string& message) {
    error_ = fileName + ":" + std::to_string(line) + ": " + message;
    return false;
  };
  // A line that does not split fails where it stands, after the lines before it ran.
  auto badLine = parsed.errors.begin();
  for (auto& s : parsed.statements) {
    if (badLine != parsed.errors.end() && badLine->line < s.line) return fail(badLine->line, badLine->message);
    std::string err;
    if (!Execute(s.words, err)) return fail(s.line, err);
    if (quit_) return true;
  }
  if (badLine != parsed.errors.end()) return fail(badLine->line, badLine->message);
  return true;
}

bool ScriptRunner::RunLine(const std::string& line, const std::string& fileName, int lineNo) {
  std::vector<std::string> w;
  std::string err;
  bool ok = SplitWords(line, w, err) && (w.empty() || Execute(w, err));
  if (!ok) error_ = fileName + ":" + std::to_string(lineNo) + ": " + err;
  return ok;
}

bool ScriptRunner::Execute(const std::vector<std::string>& w, std::string& err) {
  const ScriptTable& table = ScriptStatements();
  ScriptMatch m;
  if (!table.Match(w, m, err)) return false;
  engine_->TakeError();  // an error nobody saw belongs to an earlier statement
  ScriptWords args(w.begin() + static_cast<std::ptrdiff_t>(m.argsAt), w.end());
  if (!m.statement->run(*this, args, err)) return false;
  // A dialog callback or a state the statement set off failed inside the engine.
  std::string engineError = engine_->TakeError();
  if (!engineError.empty()) {
    err = engineError;
    return false;
  }
  return true;
}

Ref<HostDocument> ScriptRunner::Document(std::string& err) const {
  auto doc = session_->CurrentDocument();
  if (!doc) err = "no plant is open";
  return doc;
}

Ref<HostEditor> ScriptRunner::Editor(std::string& err) const {
  auto ed = session_->CurrentHostEditor();
  if (!ed) err = "no plant is open";
  return ed;
}

TavPathElement ScriptRunner::ResolvePath(const std::string& p, std::string& err) const {
  auto doc = Document(err);
  if (!doc) return {};
  TavPathElement path = doc->Resolve(p);
  if (path.IsEmpty()) err = "no object at '" + p + "'";
  return path;
}

TavPathElement ScriptRunner::ResolvePathIn(const std::string& plant, const std::string& p, std::string& err,
                                           bool& other) const {
  std::vector<std::string> names;
  for (auto& e : session_->Editors()) {
    const auto& d = e->Document();
    const bool named = d->GetDisplayName().utf8() == plant ||
                       (!d->FilePath().empty() && std::filesystem::path(d->FilePath()).stem().string() == plant);
    if (!named) {
      names.push_back(d->GetDisplayName().utf8());
      continue;
    }
    other = d != session_->CurrentDocument();
    TavPathElement path = d->Resolve(p);
    if (path.IsEmpty()) err = "no object at '" + p + "' in " + plant;
    return path;
  }
  err = "no open plant named '" + plant + "'" + DidYouMean(plant, names);
  return {};
}

TavDlgWidget* ScriptRunner::ResolveWidget(const std::string& spec, std::string& err) const {
  auto dot = spec.find('.');
  std::string dlgName = spec.substr(0, dot);
  TavDlgDialog* d = TavDlgDialog::FindByName(dlgName);
  if (!d) {
    std::vector<std::string> names;
    for (auto* x : TavDlgDialog::All()) names.push_back(x->GetName());
    err = "no dialog named '" + dlgName + "'" + DidYouMean(dlgName, names);
    return nullptr;
  }
  if (dot == std::string::npos) return d;
  // DIALOG.WIDGET names the first widget of that name (names may hold dots:
  // "ValueEditor.1"); DIALOG.FRAME.WIDGET looks inside FRAME, for dialogs that give two
  // widgets one name.
  std::string widget = spec.substr(dot + 1);
  TavDlgWidget* w = d->Find(widget);
  if (!w && widget.find('.') != std::string::npos) {
    w = d;
    for (std::size_t from = 0; w;) {
      const std::size_t end = widget.find('.', from);
      w = w->Find(widget.substr(from, end == std::string::npos ? std::string::npos : end - from));
      if (end == std::string::npos) break;
      from = end + 1;
    }
  }
  if (!w) {
    std::vector<std::string> names;
    std::vector<const TavDlgWidget*> work{d};
    while (!work.empty()) {
      const TavDlgWidget* x = work.back();
      work.pop_back();
      names.push_back(x->GetName());
      for (auto& c : x->Children()) work.push_back(c.get());
    }
    err = "dialog " + dlgName + " has no widget '" + widget + "'" + DidYouMean(widget, names);
  }
  return w;
}

}  // namespace host
