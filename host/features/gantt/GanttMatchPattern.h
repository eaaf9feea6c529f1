#pragma once
// A wildcard pattern over UTF-8 text: '*' stands for any run of characters (none
// too), '?' for exactly one character (one code point); every other byte stands for
// itself. Matching never backtracks across '*': the pattern is split at the stars and
// its pieces are placed leftmost-first, so a text is matched in time linear in its
// length for a given pattern.
#include <string>
#include <string_view>
#include <vector>

namespace host::gantt {

class GanttMatchPattern {
public:
  explicit GanttMatchPattern(std::string pattern);
  // Whether the whole text matches (not a part of it).
  bool Matches(std::string_view text) const;
  const std::string& Text() const { return pattern_; }

private:
  // A run of the pattern between two stars: bytes and '?'. Offsets, not views, so
  // that copies of the pattern stay valid.
  struct Piece {
    std::size_t begin = 0, size = 0;
    std::size_t literal = 0;  // how many bytes come before its first '?', used to skip ahead
  };
  std::string_view Bytes(const Piece& p) const { return std::string_view(pattern_).substr(p.begin, p.size); }
  std::size_t MatchForward(const Piece& p, std::string_view text, std::size_t from, std::size_t limit) const;
  std::size_t MatchBackward(const Piece& p, std::string_view text, std::size_t lowest) const;
  bool FindLeftmost(const Piece& p, std::string_view text, std::size_t& from, std::size_t limit) const;
  std::string pattern_;
  bool hasStar_ = false;
  Piece head_, tail_;          // before the first star, after the last one
  std::vector<Piece> middle_;  // between stars, in order, none empty
};

}  // namespace host::gantt
