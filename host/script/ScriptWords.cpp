#include "ScriptWords.h"

namespace host {

namespace {
bool Blank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

ScriptLine TokenizeLine(std::string_view line) {
  ScriptLine out;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && Blank(line[i])) ++i;
  if (i < n && line[i] == '#') {
    out.comment = i;
    return out;
  }
  while (i < n) {
    if (Blank(line[i])) {
      ++i;
      continue;
    }
    // A '#' standing alone between blanks (or before the end) starts a comment.
    if (line[i] == '#' && (i + 1 == n || Blank(line[i + 1]))) {
      out.comment = i;
      return out;
    }
    ScriptToken t;
    t.begin = i;
    bool quoted = false;
    for (; i < n; ++i) {
      char c = line[i];
      if (quoted) {
        if (c == '\\' && i + 1 < n) {
          t.text += line[++i];
        } else if (c == '"') {
          quoted = false;
        } else {
          t.text += c;
        }
      } else if (c == '"') {
        quoted = t.quoted = true;
      } else if (Blank(c)) {
        break;
      } else {
        t.text += c;
      }
    }
    t.end = i;
    out.openQuote = quoted;
    out.tokens.push_back(std::move(t));
  }
  return out;
}

bool SplitWords(std::string_view line, std::vector<std::string>& words, std::string& err) {
  ScriptLine l = TokenizeLine(line);
  words.clear();
  if (l.openQuote) {
    err = "unterminated quoted text";
    return false;
  }
  for (auto& t : l.tokens) words.push_back(std::move(t.text));
  return true;
}

ParsedScript ParseScript(std::string_view text) {
  ParsedScript out;
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    std::string_view line = text.substr(pos, eol - pos);
    pos = eol + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) {
      out.errors.push_back({lineNo, "a NUL byte in the line"});
      continue;
    }
    ParsedStatement s;
    s.line = lineNo;
    std::string err;
    if (!SplitWords(line, s.words, err)) {
      out.errors.push_back({lineNo, err});
      continue;
    }
    if (!s.words.empty()) out.statements.push_back(std::move(s));
  }
  return out;
}

std::string QuoteWord(std::string_view word) {
  bool plain = !word.empty() && word[0] != '#';  // a line may start with it: a comment
  for (char c : word)
    if (Blank(c) || c == '"') plain = false;  // a backslash outside quotes is kept as typed
  if (plain) return std::string(word);
  std::string out = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

}  // namespace host
