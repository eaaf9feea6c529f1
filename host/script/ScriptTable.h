#pragma once
// The statements of session scripts, as one table: each statement's words, its
// arguments, a one-line summary, a longer help with an example, and its handler.
// `help`, `help STATEMENT`, argument checks and completion all read this table,
// so they cannot drift apart. `print` and `expect` (and `expect hso`) choose a
// sub-statement by their first word; sub-statements are rows of the same kind.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class ScriptRunner;

// What an argument is: drives completion and the usage text.
enum class ArgKind {
  Word,        // anything
  Text,        // the rest of the line, joined by blanks
  Choice,      // one of `choices`
  Path,        // an object path or #id
  File,        // a file name
  Widget,      // DIALOG or DIALOG.WIDGET
  Header,      // a command header of the current workbench
  Module,      // a load module
  Class,       // a command class of the module before it
  Workbench,   // a workbench name
  Statement,   // a statement name (help)
  Number,
  Setting,     // a setting repository
  Variable,    // an environment variable
  WidgetValue, // a value for the widget named before it
};

struct ScriptArg {
  ScriptArg(std::string n, ArgKind k = ArgKind::Word, bool opt = false, bool rep = false, std::vector<std::string> ch = {})
      : name(std::move(n)), kind(k), optional(opt), repeat(rep), choices(std::move(ch)) {}
  std::string name;  // as the usage shows it: "PATH", "FILE"; empty for choices
  ArgKind kind;
  bool optional;                     // may be left out
  bool repeat;                       // takes every word left (Text always does)
  std::vector<std::string> choices;  // for ArgKind::Choice
};

using ScriptWords = std::vector<std::string>;
// A handler gets the words after the statement (and sub-statement) words.
using ScriptHandler = std::function<bool(ScriptRunner&, const ScriptWords& args, std::string& err)>;

struct ScriptStatement {
  ScriptStatement() = default;
  ScriptStatement(std::string n, std::vector<ScriptArg> a, std::string sum, std::string h, ScriptHandler r,
                  std::vector<ScriptStatement> s = {})
      : name(std::move(n)), args(std::move(a)), summary(std::move(sum)), help(std::move(h)), run(std::move(r)), subs(std::move(s)) {}
  std::string name;
  std::vector<ScriptArg> args;
  std::string summary;  // one line
  std::string help;     // what it does in more words, and an example
  ScriptHandler run;
  std::vector<ScriptStatement> subs;  // non-empty: the first argument names one of them

  // "pick [tree|viewer] PATH"; for a statement with sub-statements, one line each.
  std::string Usage(const std::string& prefix = {}) const;
  const ScriptStatement* Sub(std::string_view word) const;
  std::vector<std::string> SubNames() const;
  std::size_t MinArgs() const;
  std::size_t MaxArgs() const;  // SIZE_MAX for a repeating last argument
};

// A statement found for a line: the row and where its arguments begin.
struct ScriptMatch {
  const ScriptStatement* statement = nullptr;
  std::size_t argsAt = 0;
  std::string path;  // "expect hso count"
};

class ScriptTable {
public:
  // Adds a statement, replacing one of the same name.
  void Add(ScriptStatement s);
  // Adds a sub-statement under a statement (`print undo` under `print`); the
  // parent must exist and have sub-statements.
  void AddSub(const std::string& statement, ScriptStatement sub);
  const ScriptStatement* Find(std::string_view name) const;
  const std::vector<ScriptStatement>& All() const { return statements_; }
  std::vector<std::string> Names() const;

  // Finds the row for a line's words and checks the argument count, running
  // nothing. False with one message that names the nearest valid choices.
  bool Match(const ScriptWords& words, ScriptMatch& match, std::string& err) const;
  // `help` (every statement with its summary) and `help WORDS...`.
  std::string Help() const;
  bool Help(const ScriptWords& words, std::string& text, std::string& err) const;

private:
  std::vector<ScriptStatement> statements_;
};

// The table every script runner uses: the built-in statements (made on first use),
// then what the start-up sequence added with AddScriptStatements.
const ScriptTable& ScriptStatements();
void AddScriptStatements(const std::function<void(ScriptTable&)>& add);

// The built-in statements, by area (each in its own file).
void AddSessionStatements(ScriptTable& t);
void AddDialogStatements(ScriptTable& t);
void AddPrintStatements(ScriptTable& t);
void AddExpectStatements(ScriptTable& t);
void AddHelpStatements(ScriptTable& t);
void AddNavigStatements(ScriptTable& t);  // expand, print libraries (after print)

// Up to `max` choices nearest to a mistyped word (edit distance), best first;
// none when nothing is close.
std::vector<std::string> NearestWords(std::string_view word, const std::vector<std::string>& choices, std::size_t max = 3);
// "; did you mean X or Y?" or "" when nothing is near.
std::string DidYouMean(std::string_view word, const std::vector<std::string>& choices);

}  // namespace host
