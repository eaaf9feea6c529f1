#pragma once
// Session scripts: what a planner does in the workbench, one statement a line
// (see docs/script-language.md). Used by `mirt run`, `mirt shell`, `mirt demo`
// and the end-to-end tests. The statements themselves are rows of the table in
// ScriptTable.h; this runner is what they act on.
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "HostEngine.h"
#include "HostRuntime.h"
#include "ScriptCompletion.h"
#include "ScriptWords.h"

namespace host {

class HostWorkbenches;

class ScriptRunner {
public:
  // Output (what the user sees) goes to `out`.
  explicit ScriptRunner(std::ostream& out);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Runs a whole script; stops at the first failing statement (or `quit`). The
  // failure is "file:line: message" in Error().
  bool RunFile(const std::string& path);
  bool RunText(const std::string& text, const std::string& fileName);
  // One statement; false with Error() set.
  bool RunLine(const std::string& line, const std::string& fileName = "<input>", int lineNo = 0);
  const std::string& Error() const { return error_; }

  // Opens a plant as the current document; a running command is cancelled first,
  // since it may hold objects of the document it was started on.
  bool Open(const std::string& path, std::string* error);
  // What becomes of a plant's unsaved changes when it is about to close.
  enum class Unsaved { Save, Discard, Keep };
  // The interactive shell asks its user (the plant's name is given). Without a
  // question, as in a script, a modified plant does not close unless the statement
  // lets its changes go (--discard).
  void SetUnsavedQuestion(std::function<Unsaved(const std::string& plant)> ask) { ask_ = std::move(ask); }
  // Closes the current document, cancelling a running command first. True when
  // nothing was open, or when the user chose to keep working (nothing closed then).
  bool Close(std::string* error, bool discard = false);
  // Ends the session (`quit`) once every open plant is unmodified, saved or let go.
  bool Quit(std::string* error, bool discard = false);

  HostSession& Session() { return *session_; }
  HostEngine& Engine() { return *engine_; }
  HostWorkbenches& Workbenches() { return *workbenches_; }
  std::ostream& Out() { return out_; }
  // Relative file names in statements are taken from here (the script's folder by default).
  void SetBaseDirectory(const std::string& dir) { base_ = dir; }
  void SetOutputDirectory(const std::string& dir) { outDir_ = dir; }

  // ---- for statements: each returns null (false) with a message in `err`
  Ref<HostDocument> Document(std::string& err) const;
  Ref<HostEditor> Editor(std::string& err) const;
  TavPathElement ResolvePath(const std::string& p, std::string& err) const;
  // A path in the open plant named by its display name or its file's stem (`pick in
  // PLANT PATH`); `other` says whether that plant is not the current one.
  TavPathElement ResolvePathIn(const std::string& plant, const std::string& p, std::string& err, bool& other) const;
  TavDlgWidget* ResolveWidget(const std::string& spec, std::string& err) const;
  // A file named in a statement: read beside the script, written into the output folder.
  std::string FilePath(const std::string& p, bool output) const;
  // Ends the script (a `quit`): RunText stops after this statement, successfully.
  void RequestQuit() { quit_ = true; }
  bool QuitRequested() const { return quit_; }

  // Statement words, for completion and help.
  static std::vector<std::string> Statements();
  // What completion may offer now: the open plant, live dialogs, headers, classes.
  CompletionModel Completions() const;
  // What the running command waits for, in short ("" when none runs): the kinds
  // of object its agents take ("pick activity|product"), the dialogs it shows.
  std::string WaitingFor() const;

private:
  bool Execute(const std::vector<std::string>& w, std::string& err);
  // Cancels the running command because its document goes away.
  void CancelForDocument(const char* why);
  // Whether `doc` may go: unmodified, let go, or saved now at the user's word.
  // False with `err` empty when the user keeps working.
  bool MayGo(HostDocument& doc, bool discard, const char* statement, std::string& err);

  std::ostream& out_;
  std::unique_ptr<HostSession> session_;
  std::unique_ptr<HostEngine> engine_;
  std::unique_ptr<HostWorkbenches> workbenches_;
  std::string error_, base_, outDir_;
  bool quit_ = false;
  std::function<Unsaved(const std::string&)> ask_;
};

// `pick dialog DIALOG.WIDGET/PATH`: the objects from a navigation box's root to the
// node at PATH, that node shown and selected; empty with `err` set.
TavPathElement ResolveDialogPick(ScriptRunner& r, const std::string& spec, std::string& err);

}  // namespace host
