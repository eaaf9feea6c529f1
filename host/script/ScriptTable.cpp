#include "ScriptTable.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

namespace host {

namespace {
// An argument with no name is shown by the one before it ("[--depth N]").
std::string ArgUsage(const ScriptArg& a) {
  if (a.name.empty() && a.kind != ArgKind::Choice) return {};
  std::string s = a.name;
  if (a.kind == ArgKind::Choice && s.empty())
    for (std::size_t i = 0; i < a.choices.size(); ++i) s += (i ? "|" : "") + a.choices[i];
  if (a.repeat && a.kind != ArgKind::Text) s += "...";
  return a.optional ? "[" + s + "]" : s;
}

std::string JoinWords(const std::vector<std::string>& w, const char* sep) {
  std::string s;
  for (std::size_t i = 0; i < w.size(); ++i) s += (i ? sep : "") + w[i];
  return s;
}

// Optimal string alignment distance (an adjacent swap costs one).
std::size_t Distance(std::string_view a, std::string_view b) {
  const std::size_t n = a.size(), m = b.size();
  std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
  for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= n; ++i)
    for (std::size_t j = 1; j <= m; ++j) {
      std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[n][m];
}
}  // namespace

std::string ScriptStatement::Usage(const std::string& prefix) const {
  const std::string head = prefix + name;
  if (!subs.empty()) {
    std::string out;
    for (auto& s : subs) out += (out.empty() ? "" : "\n") + s.Usage(head + " ");
    return out;
  }
  std::string s = head;
  for (auto& a : args)
    if (std::string u = ArgUsage(a); !u.empty()) s += " " + u;
  return s;
}

const ScriptStatement* ScriptStatement::Sub(std::string_view word) const {
  for (auto& s : subs)
    if (s.name == word) return &s;
  return nullptr;
}

std::vector<std::string> ScriptStatement::SubNames() const {
  std::vector<std::string> out;
  for (auto& s : subs) out.push_back(s.name);
  return out;
}

std::size_t ScriptStatement::MinArgs() const {
  return static_cast<std::size_t>(std::count_if(args.begin(), args.end(), [](const ScriptArg& a) { return !a.optional; }));
}

std::size_t ScriptStatement::MaxArgs() const {
  for (auto& a : args)
    if (a.repeat || a.kind == ArgKind::Text) return SIZE_MAX;
  return args.size();
}

void ScriptTable::Add(ScriptStatement s) {
  for (auto& have : statements_)
    if (have.name == s.name) {
      have = std::move(s);
      return;
    }
  statements_.push_back(std::move(s));
}

void ScriptTable::AddSub(const std::string& statement, ScriptStatement sub) {
  for (auto& have : statements_)
    if (have.name == statement) {
      std::erase_if(have.subs, [&](const ScriptStatement& s) { return s.name == sub.name; });
      have.subs.push_back(std::move(sub));
      return;
    }
}

const ScriptStatement* ScriptTable::Find(std::string_view name) const {
  for (auto& s : statements_)
    if (s.name == name) return &s;
  return nullptr;
}

std::vector<std::string> ScriptTable::Names() const {
  std::vector<std::string> out;
  for (auto& s : statements_) out.push_back(s.name);
  return out;
}

bool ScriptTable::Match(const ScriptWords& words, ScriptMatch& match, std::string& err) const {
  if (words.empty()) {
    err = "no statement";
    return false;
  }
  const ScriptStatement* s = Find(words[0]);
  if (!s) {
    err = "unknown statement '" + words[0] + "'" + DidYouMean(words[0], Names()) + " (help lists them)";
    return false;
  }
  std::string path = s->name;
  std::size_t i = 1;
  while (!s->subs.empty()) {
    if (i >= words.size()) {
      err = path + " needs one of: " + JoinWords(s->SubNames(), ", ");
      return false;
    }
    const ScriptStatement* sub = s->Sub(words[i]);
    if (!sub) {
      err = path + ": unknown '" + words[i] + "'" + DidYouMean(words[i], s->SubNames()) + " (one of: " +
            JoinWords(s->SubNames(), ", ") + ")";
      return false;
    }
    s = sub;
    path += " " + sub->name;
    ++i;
  }
  const std::size_t n = words.size() - i;
  if (n < s->MinArgs() || n > s->MaxArgs()) {
    err = "usage: " + s->Usage(path.substr(0, path.size() - s->name.size()));
    return false;
  }
  match = {s, i, path};
  return true;
}

std::string ScriptTable::Help() const {
  std::vector<std::pair<std::string, std::string>> rows;
  std::size_t width = 0;
  for (auto& s : statements_) {
    std::string usage = s.subs.empty() ? s.Usage() : s.name + " " + JoinWords(s.SubNames(), "|");
    if (!s.subs.empty() && usage.size() > 32) usage = s.name + " WHAT...";
    width = std::max(width, usage.size());
    rows.emplace_back(usage, s.summary);
  }
  std::string out = "Statements (help STATEMENT explains one, with an example):\n";
  for (auto& [u, sum] : rows) out += "  " + u + std::string(width - u.size() + 2, ' ') + sum + "\n";
  return out;
}

bool ScriptTable::Help(const ScriptWords& words, std::string& text, std::string& err) const {
  const ScriptStatement* s = words.empty() ? nullptr : Find(words[0]);
  if (!s) {
    err = "no statement '" + (words.empty() ? std::string() : words[0]) + "'" +
          DidYouMean(words.empty() ? "" : words[0], Names()) + " (help lists them)";
    return false;
  }
  std::string prefix;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const ScriptStatement* sub = s->Sub(words[i]);
    if (!sub) {
      err = prefix + s->name + ": no '" + words[i] + "'" + DidYouMean(words[i], s->SubNames()) + " (one of: " +
            JoinWords(s->SubNames(), ", ") + ")";
      return false;
    }
    prefix += s->name + " ";
    s = sub;
  }
  text = s->Usage(prefix) + "\n  " + s->summary + "\n";
  if (!s->help.empty()) text += "\n" + s->help + (s->help.back() == '\n' ? "" : "\n");
  if (!s->subs.empty()) {
    text += "\n";
    for (auto& sub : s->subs) text += "  " + prefix + s->name + " " + sub.name + ": " + sub.summary + "\n";
  }
  return true;
}

namespace {
struct Registry {
  std::mutex mutex;
  std::vector<std::function<void(ScriptTable&)>> additions;
  ScriptTable table;
  bool built = false;
};
Registry& TheRegistry() {
  static Registry r;
  return r;
}
void Build(Registry& r) {
  ScriptTable t;
  AddSessionStatements(t);
  AddDialogStatements(t);
  AddPrintStatements(t);
  AddNavigStatements(t);
  AddExpectStatements(t);
  AddHelpStatements(t);
  for (auto& add : r.additions) add(t);
  r.table = std::move(t);
  r.built = true;
}
}  // namespace

const ScriptTable& ScriptStatements() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  if (!r.built) Build(r);
  return r.table;
}

void AddScriptStatements(const std::function<void(ScriptTable&)>& add) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.additions.push_back(add);
  if (r.built) add(r.table);
}

std::vector<std::string> NearestWords(std::string_view word, const std::vector<std::string>& choices, std::size_t max) {
  std::vector<std::pair<std::size_t, std::string>> scored;
  const std::size_t limit = std::max<std::size_t>(1, word.size() / 3);
  for (auto& c : choices) {
    std::size_t d = Distance(word, c);
    if (!word.empty() && c.size() > word.size() && c.compare(0, word.size(), word) == 0) d = std::min<std::size_t>(d, 1);
    if (d <= limit && d > 0) scored.emplace_back(d, c);
  }
  std::stable_sort(scored.begin(), scored.end(), [](auto& a, auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (auto& [d, c] : scored) {
    if (out.size() == max) break;
    if (std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
  }
  return out;
}

std::string DidYouMean(std::string_view word, const std::vector<std::string>& choices) {
  auto near = NearestWords(word, choices);
  if (near.empty()) return {};
  std::string s = "; did you mean ";
  for (std::size_t i = 0; i < near.size(); ++i) s += (i ? (i + 1 == near.size() ? " or " : ", ") : "") + near[i];
  return s + "?";
}

}  // namespace host
