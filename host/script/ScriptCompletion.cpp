#include "ScriptCompletion.h"

#include <algorithm>
#include <set>

#include "HostModel.h"
#include "ScriptTable.h"
#include "ScriptWords.h"
#include "TavPathText.h"

namespace host {

namespace {
bool NeedsQuotes(std::string_view w) {
  return w.empty() || w == "#" || w.find_first_of(" \t\"") != std::string_view::npos;
}

std::string EscapePathSegment(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '/' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// The offset just past the last unescaped '/' (0 when there is none).
std::size_t SegmentStart(std::string_view p) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] == '\\' && i + 1 < p.size()) ++i;
    else if (p[i] == '/') start = i + 1;
  }
  return start;
}


// Gathers the matches of one completion: keeps the first `limit`, counts all,
// and keeps the common start of all.
class Matches {
public:
  Matches(std::string prefix, std::size_t limit) : prefix_(std::move(prefix)), limit_(limit) {}
  void Add(std::string word, std::string display, bool final) {
    if (word.compare(0, prefix_.size(), prefix_) != 0) return;
    if (!seen_.insert(word).second) return;
    if (total_ == 0) {
      common_ = word;
      commonFinal_ = final;
    } else {
      std::size_t n = 0;
      while (n < common_.size() && n < word.size() && common_[n] == word[n]) ++n;
      if (n < common_.size() || word.size() > n) commonFinal_ = false;
      common_.resize(n);
    }
    ++total_;
    if (out_.size() < limit_) out_.push_back({std::move(word), std::move(display), final});
  }
  void Into(Completion& c) {
    c.candidates = std::move(out_);
    c.total = total_;
    c.common = total_ ? common_ : prefix_;
    c.commonFinal = total_ == 1 ? commonFinal_ : false;
  }

private:
  std::string prefix_;
  std::size_t limit_;
  std::size_t total_ = 0;
  std::string common_;
  bool commonFinal_ = false;
  std::set<std::string> seen_;
  std::vector<CompletionCandidate> out_;
};

void CompletePath(const HostDocument& doc, const std::string& typed, Matches& m) {
  if (!typed.empty() && typed[0] == '#') return;  // ids are typed, not browsed
  const std::size_t cut = SegmentStart(typed);
  const std::string parent = typed.substr(0, cut);
  auto offer = [&](const std::string& name, bool hasChildren) {
    std::string seg = EscapePathSegment(name);
    m.Add(parent + seg + (hasChildren ? "/" : ""), seg + (hasChildren ? "/" : ""), !hasChildren);
  };
  if (cut == 0) {
    offer("Products", true);
    offer("Resources", true);
    if (!doc.Assemblies().assemblies_.empty()) offer("Assemblies", true);
    for (auto& r : doc.Process().roots_) offer(r->GetLabel().utf8(), !r->Children().empty());
    return;
  }
  std::vector<std::string> parts = TavSplitPathText(std::string_view(typed).substr(0, cut - 1));
  if (parts[0] == "Products" || parts[0] == "Resources") {
    const std::vector<Ref<HostProduct>>* level = parts[0] == "Products" ? &doc.Products().roots_ : &doc.Resources().roots_;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      const HostProduct* found = nullptr;
      for (auto& p : *level)
        if (p->GetName().utf8() == parts[i]) {
          found = p.get();
          break;
        }
      if (!found) return;
      level = &found->Children();
    }
    for (auto& p : *level) offer(p->GetName().utf8(), !p->Children().empty());
    return;
  }
  if (parts[0] == "Assemblies") {
    if (parts.size() == 1)
      for (auto& a : doc.Assemblies().assemblies_) offer(a->GetName().utf8(), false);
    return;
  }
  for (auto& root : doc.Process().roots_) {
    if (root->GetLabel().utf8() != parts[0]) continue;
    const HostActivity* cur = root.get();
    for (std::size_t i = 1; i < parts.size() && cur; ++i) {
      const HostActivity* next = nullptr;
      for (auto& c : cur->Children())
        if (c->GetLabel().utf8() == parts[i]) {
          next = c.get();
          break;
        }
      cur = next;
    }
    if (cur)
      for (auto& c : cur->Children()) offer(c->GetLabel().utf8(), !c->Children().empty());
  }
}

void CompleteFile(const CompletionModel& model, const std::string& typed, Matches& m) {
  if (!model.listDirectory) return;
  const std::size_t slash = typed.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : typed.substr(0, slash + 1);
  for (auto& [name, isDir] : model.listDirectory(dir.empty() ? "." : dir))
    m.Add(dir + name + (isDir ? "/" : ""), name + (isDir ? "/" : ""), !isDir);
}

const CompletionModel::Dialog* FindDialog(const CompletionModel& model, std::string_view name) {
  for (auto it = model.dialogs.rbegin(); it != model.dialogs.rend(); ++it)
    if (it->name == name) return &*it;
  return nullptr;
}

void CompleteWidget(const CompletionModel& model, const ScriptArg& arg, const std::string& typed, Matches& m) {
  const std::size_t dot = typed.find('.');
  if (dot == std::string::npos) {
    const bool alone = arg.name.find("[.") != std::string::npos;  // DIALOG[.WIDGET], not DIALOG.WIDGET[/PATH]
    for (auto& d : model.dialogs) {
      if (alone) m.Add(d.name, d.name, true);
      if (!d.widgets.empty()) m.Add(d.name + ".", d.name + ".", false);
    }
    return;
  }
  if (auto* d = FindDialog(model, std::string_view(typed).substr(0, dot)))
    for (auto& [w, values] : d->widgets) m.Add(d->name + "." + w, w, true);
}

void CompleteWidgetValue(const CompletionModel& model, const std::string& spec, Matches& m) {
  const std::size_t dot = spec.find('.');
  if (dot == std::string::npos) return;
  if (auto* d = FindDialog(model, std::string_view(spec).substr(0, dot)))
    for (auto& [w, values] : d->widgets)
      if (w == spec.substr(dot + 1))
        for (auto& v : values) m.Add(v, v, true);
}

// The argument positions the next word can fill, after the words already given.
std::vector<std::size_t> ArgPositions(const std::vector<ScriptArg>& args, const std::vector<std::string>& given) {
  auto close = [&](std::set<std::size_t> s) {
    std::set<std::size_t> out;
    std::vector<std::size_t> work(s.begin(), s.end());
    while (!work.empty()) {
      std::size_t p = work.back();
      work.pop_back();
      if (!out.insert(p).second) continue;
      if (p < args.size() && args[p].optional) work.push_back(p + 1);
    }
    return out;
  };
  std::set<std::size_t> at = close({0});
  for (auto& w : given) {
    std::set<std::size_t> next;
    for (std::size_t p : at) {
      if (p >= args.size()) continue;
      const ScriptArg& a = args[p];
      if (a.kind == ArgKind::Choice && std::find(a.choices.begin(), a.choices.end(), w) == a.choices.end()) continue;
      next.insert(a.repeat || a.kind == ArgKind::Text ? p : p + 1);
    }
    at = close(next);
  }
  std::vector<std::size_t> out;
  for (std::size_t p : at)
    if (p < args.size()) out.push_back(p);
  return out;
}

void CompleteArg(const CompletionModel& model, const ScriptArg& arg, const std::vector<std::string>& given,
                 const std::string& typed, Matches& m) {
  switch (arg.kind) {
    case ArgKind::Choice:
      for (auto& c : arg.choices) m.Add(c, c, true);
      break;
    case ArgKind::Path:
      // `pick dialog` takes a navigation box (DIALOG.WIDGET/PATH), not an object.
      if (!given.empty() && given.back() == "dialog") CompleteWidget(model, ScriptArg("DIALOG.WIDGET"), typed, m);
      else if (model.document) CompletePath(*model.document, typed, m);
      break;
    case ArgKind::File:
      CompleteFile(model, typed, m);
      break;
    case ArgKind::Widget:
      CompleteWidget(model, arg, typed, m);
      break;
    case ArgKind::WidgetValue:
      if (!given.empty() && given.size() == 1) CompleteWidgetValue(model, given.back(), m);
      break;
    case ArgKind::Header:
      for (auto& h : model.headers) m.Add(h, h, true);
      break;
    case ArgKind::Module: {
      for (auto& [mod, cls] : model.classes) m.Add(mod, mod, true);
      break;
    }
    case ArgKind::Class:
      if (!given.empty())
        for (auto& [mod, cls] : model.classes)
          if (mod == given.back()) m.Add(cls, cls, true);
      break;
    case ArgKind::Workbench:
      for (auto& w : model.workbenches) m.Add(w, w, true);
      break;
    case ArgKind::Statement: {
      // help STATEMENT [SUB...]: statements, then the sub-statements of the words given
      const ScriptStatement* s = nullptr;
      for (std::size_t i = 0; i < given.size(); ++i) {
        s = i == 0 ? model.statements->Find(given[0]) : (s ? s->Sub(given[i]) : nullptr);
        if (!s) return;
      }
      if (!s)
        for (auto& st : model.statements->All()) m.Add(st.name, st.name, true);
      else
        for (auto& sub : s->subs) m.Add(sub.name, sub.name, true);
      break;
    }
    default:
      break;
  }
}
}  // namespace

std::string Completion::Insertion(const CompletionCandidate& c) const {
  if (!quoted && !NeedsQuotes(c.word)) return c.word + (c.final ? " " : "");
  std::string out = "\"";
  for (char ch : c.word) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return c.final ? out + "\" " : out;
}

std::string Completion::CommonInsertion() const { return Insertion({common, {}, commonFinal}); }

Completion Complete(const CompletionModel& model, std::string_view line, std::size_t cursor) {
  Completion c;
  cursor = std::min(cursor, line.size());
  c.from = c.to = cursor;
  const std::string_view before = line.substr(0, cursor);
  ScriptLine tokens = TokenizeLine(before);
  if (tokens.comment != std::string::npos) return c;
  std::vector<std::string> given;
  std::string typed;
  const bool inWord = !tokens.tokens.empty() &&
                      (tokens.openQuote || (tokens.tokens.back().end == cursor && !before.empty() &&
                                            before.back() != ' ' && before.back() != '\t'));
  for (std::size_t i = 0; i < tokens.tokens.size(); ++i) {
    if (inWord && i + 1 == tokens.tokens.size()) {
      typed = tokens.tokens[i].text;
      c.from = tokens.tokens[i].begin;
      c.quoted = tokens.tokens[i].quoted;
    } else {
      given.push_back(tokens.tokens[i].text);
    }
  }
  Matches m(typed, model.limit);
  const ScriptTable& table = *model.statements;
  if (given.empty()) {
    for (auto& s : table.All()) m.Add(s.name, s.name, true);
    m.Into(c);
    return c;
  }
  const ScriptStatement* s = table.Find(given[0]);
  std::size_t i = 1;
  while (s && !s->subs.empty()) {
    if (i == given.size()) {
      for (auto& sub : s->subs) m.Add(sub.name, sub.name, true);
      m.Into(c);
      return c;
    }
    s = s->Sub(given[i++]);
  }
  if (s) {
    std::vector<std::string> args(given.begin() + static_cast<std::ptrdiff_t>(i), given.end());
    for (std::size_t p : ArgPositions(s->args, args)) {
      // Arguments before this one that a kind reads (MODULE for CLASS, the widget for a value).
      std::vector<std::string> context = args;
      if (s->args[p].kind != ArgKind::Statement && !context.empty()) context = {context.back()};
      if (s->args[p].kind == ArgKind::WidgetValue && args.size() != 1) context.clear();
      CompleteArg(model, s->args[p], context, typed, m);
    }
  }
  m.Into(c);
  return c;
}

}  // namespace host
