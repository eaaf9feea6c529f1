#include "GanttMatchPattern.h"

namespace host::gantt {

namespace {
constexpr std::size_t kNone = std::string_view::npos;

// A character is a byte that is no UTF-8 continuation byte together with the
// continuation bytes after it, so '?' spans one code point of valid text and never
// stalls on invalid text.
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool StartsCharacter(std::string_view text, std::size_t at) { return at == 0 || !IsContinuation(text[at]); }
}  // namespace

GanttMatchPattern::GanttMatchPattern(std::string pattern) : pattern_(std::move(pattern)) {
  auto piece = [&](std::size_t begin, std::size_t end) {
    Piece p{begin, end - begin, end - begin};
    if (auto q = Bytes(p).find('?'); q != kNone) p.literal = q;
    return p;
  };
  const std::size_t first = pattern_.find('*');
  if (first == kNone) {
    head_ = piece(0, pattern_.size());
    return;
  }
  hasStar_ = true;
  const std::size_t last = pattern_.rfind('*');
  head_ = piece(0, first);
  tail_ = piece(last + 1, pattern_.size());
  for (std::size_t at = first; at < last;) {
    const std::size_t next = pattern_.find('*', at + 1);
    if (next > at + 1) middle_.push_back(piece(at + 1, next));  // "**" is one star
    at = next;
  }
}

// Where `p` ends when placed at `from`, staying before `limit`; kNone when it does not fit.
std::size_t GanttMatchPattern::MatchForward(const Piece& p, std::string_view text, std::size_t from,
                                            std::size_t limit) const {
  std::size_t at = from;
  for (char c : Bytes(p)) {
    if (at >= limit) return kNone;
    if (c == '?') {
      ++at;
      while (at < limit && IsContinuation(text[at])) ++at;
    } else if (text[at++] != c) {
      return kNone;
    }
  }
  return at;
}

// Where `p` starts when it ends the text, not before `lowest`; kNone when it does not fit.
std::size_t GanttMatchPattern::MatchBackward(const Piece& p, std::string_view text, std::size_t lowest) const {
  std::size_t at = text.size();
  const std::string_view bytes = Bytes(p);
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    if (at <= lowest) return kNone;
    --at;
    if (*it == '?') {
      while (at > lowest && !StartsCharacter(text, at)) --at;
      if (!StartsCharacter(text, at)) return kNone;  // the character began before `lowest`
    } else if (text[at] != *it) {
      return kNone;
    }
  }
  return at;
}

// Places `p` at its leftmost fit in [from, limit); on success `from` becomes its end.
bool GanttMatchPattern::FindLeftmost(const Piece& p, std::string_view text, std::size_t& from,
                                     std::size_t limit) const {
  const std::string_view window = text.substr(0, limit);
  const std::string_view literal = Bytes(p).substr(0, p.literal);
  for (std::size_t start = from; start < limit;) {
    if (!literal.empty()) {
      start = window.find(literal, start);  // a jump over whatever cannot begin the piece
      if (start == kNone) return false;
    }
    if (StartsCharacter(text, start)) {
      if (const std::size_t end = MatchForward(p, text, start, limit); end != kNone) {
        from = end;
        return true;
      }
    }
    ++start;
  }
  return false;
}

bool GanttMatchPattern::Matches(std::string_view text) const {
  if (!hasStar_) return MatchForward(head_, text, 0, text.size()) == text.size();
  const std::size_t afterHead = MatchForward(head_, text, 0, text.size());
  if (afterHead == kNone) return false;
  const std::size_t tailStart = MatchBackward(tail_, text, afterHead);
  if (tailStart == kNone) return false;
  // Each middle piece at its leftmost place leaves the most room to the pieces after it.
  std::size_t at = afterHead;
  for (const Piece& p : middle_)
    if (!FindLeftmost(p, text, at, tailStart)) return false;
  return true;
}

}  // namespace host::gantt
