#pragma once
// Completion of session-script statements: a pure function of what can be
// offered (the statement table, the document, dialogs, headers, classes) and
// the line with its cursor. It knows which argument the cursor is in from the
// statement table, completes object paths one segment at a time, quotes what
// needs quoting, and never offers more than a limit at once.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

class HostDocument;
class ScriptTable;

struct CompletionModel {
  const ScriptTable* statements = nullptr;  // required
  const HostDocument* document = nullptr;   // paths, when a plant is open
  // Live dialogs: name -> widget names (for DIALOG.WIDGET), and per widget the
  // values `set` takes (list lines, check states, tab pages).
  struct Dialog {
    std::string name;
    std::vector<std::pair<std::string, std::vector<std::string>>> widgets;
  };
  std::vector<Dialog> dialogs;
  std::vector<std::string> headers;                          // header identifiers (fire)
  std::vector<std::pair<std::string, std::string>> classes;  // (module, class) that run (start)
  std::vector<std::string> workbenches;
  // Entries of a folder for file names: (name, is a folder). None when not set.
  std::function<std::vector<std::pair<std::string, bool>>(const std::string& dir)> listDirectory;
  std::size_t limit = 100;  // most candidates offered at once
};

struct CompletionCandidate {
  std::string word;     // the whole word, unquoted
  std::string display;  // what a list shows (a path's last segment)
  bool final = true;    // a complete word (a path segment with children is not)
};

struct Completion {
  std::size_t from = 0, to = 0;  // the bytes of the line the insertion replaces
  bool quoted = false;           // the word being completed opened a quote
  std::vector<CompletionCandidate> candidates;  // at most the model's limit, in model order
  std::size_t total = 0;          // how many matched before the limit
  std::string common;             // the longest start every match shares (unquoted)
  bool commonFinal = false;       // the common start is itself one complete candidate

  // The text that replaces [from, to) for a candidate: quoted when needed (or
  // when the user opened a quote), closed and followed by a blank when final.
  std::string Insertion(const CompletionCandidate& c) const;
  // The same for the common start of every match (an open quote stays open).
  std::string CommonInsertion() const;
};

Completion Complete(const CompletionModel& model, std::string_view line, std::size_t cursor);

}  // namespace host
