#pragma once
// Session scripts: what a planner does in the workbench, one statement a line
// (see docs/script-language.md). Used by `mirt run`, `mirt shell`, `mirt demo`
// and the end-to-end tests.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "HostEngine.h"
#include "HostRuntime.h"

namespace host {

class HostWorkbenches;

class ScriptRunner {
public:
  // Output (what the user sees) goes to `out`.
  explicit ScriptRunner(std::ostream& out);
  ~ScriptRunner();

  // Runs a whole script; stops at the first failing statement. The failure is
  // "file:line: message" in Error().
  bool RunFile(const std::string& path);
  bool RunText(const std::string& text, const std::string& fileName);
  // One statement; false with Error() set.
  bool RunLine(const std::string& line, const std::string& fileName = "<input>", int lineNo = 0);
  const std::string& Error() const { return error_; }

  // Opens a plant as the current document.
  bool Open(const std::string& path, std::string* error);
  HostSession& Session() { return *session_; }
  HostEngine& Engine() { return *engine_; }
  // Relative file names in statements are taken from here (the script's folder by default).
  void SetBaseDirectory(const std::string& dir) { base_ = dir; }
  void SetOutputDirectory(const std::string& dir) { outDir_ = dir; }

  // Statement words and object paths, for completion in the shell.
  static std::vector<std::string> Statements();
  std::vector<std::string> ObjectPaths() const;

private:
  bool Execute(const std::vector<std::string>& w, std::string& err);
  bool Print(const std::vector<std::string>& w, std::string& err);
  bool Expect(const std::vector<std::string>& w, std::string& err);
  TavPathElement ResolvePath(const std::string& p, std::string& err) const;
  TavDlgWidget* ResolveWidget(const std::string& spec, std::string& err) const;
  std::string FilePath(const std::string& p, bool output) const;
  void PrintTree();

  std::ostream& out_;
  std::unique_ptr<HostSession> session_;
  std::unique_ptr<HostEngine> engine_;
  std::unique_ptr<HostWorkbenches> workbenches_;
  std::string error_, base_, outDir_;
};

// Splits a statement into words; double quotes group, \" and \\ escape. False on an open quote.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& err);

}  // namespace host
