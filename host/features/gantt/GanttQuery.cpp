#include "GanttQuery.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "GanttMatchPattern.h"
#include "GanttMatchText.h"
#include "GanttQueryColumns.h"

namespace host::gantt {

namespace {
// Longest first, so that "==" is never read as "=" followed by a value starting "=".
constexpr std::array<std::string_view, 7> kOperators{"==", "!=", ">=", "<=", "=", ">", "<"};

enum class Op { Equal, EqualCase, NotEqual, Greater, Less, GreaterEqual, LessEqual };

Op ToOp(std::string_view op) {
  if (op == "==") return Op::EqualCase;
  if (op == "!=") return Op::NotEqual;
  if (op == ">=") return Op::GreaterEqual;
  if (op == "<=") return Op::LessEqual;
  if (op == ">") return Op::Greater;
  if (op == "<") return Op::Less;
  return Op::Equal;
}

bool IsCombinator(std::string_view s) { return s == "AND" || s == "OR"; }

struct Condition {
  std::size_t column = 0;
  Op op = Op::Equal;
  bool numeric = false;
  std::optional<double> number;  // a numeric condition whose value is no number matches nothing
  std::size_t slot = 0;          // the row cache entry of the column (number or folded text)
  std::optional<GanttMatchPattern> pattern;  // "=", "==" and "!=" on text
  std::string folded;                         // the value folded, for the orderings on text
};

template <class T>
bool Ordered(Op op, const T& a, const T& b) {
  switch (op) {
    case Op::Greater: return a > b;
    case Op::Less: return a < b;
    case Op::GreaterEqual: return a >= b;
    case Op::LessEqual: return a <= b;
    case Op::Equal:
    case Op::EqualCase: return a == b;
    case Op::NotEqual: return a != b;
  }
  return false;
}

// What one run reads of a row, each cell at most once however many conditions test it.
struct RowCache {
  std::vector<std::size_t> stamp;  // row + 1 when the entry holds that row's cell
  std::vector<std::optional<double>> numbers;
  std::vector<std::string> folded;  // kept between rows: their capacity is reused
};

class CompiledQuery final : public GanttQuery {
public:
  CompiledQuery(std::vector<Condition> conditions, std::vector<std::size_t> groupEnds, std::size_t slots)
      : conditions_(std::move(conditions)), groupEnds_(std::move(groupEnds)), slots_(slots) {}

  std::vector<GanttMatch> Run(const GanttCells& cells) const override {
    std::vector<GanttMatch> out;
    // A table that lost columns since the query was compiled fails their conditions.
    std::vector<char> present(conditions_.size());
    for (std::size_t i = 0; i < conditions_.size(); ++i) present[i] = conditions_[i].column < cells.ColumnCount();
    RowCache cache{std::vector<std::size_t>(slots_, 0), std::vector<std::optional<double>>(slots_),
                   std::vector<std::string>(slots_)};
    std::vector<signed char> held(conditions_.size());  // -1 not yet tested, 0 false, 1 true
    const std::size_t rows = cells.RowCount();
    for (std::size_t row = 0; row < rows; ++row) {
      std::fill(held.begin(), held.end(), static_cast<signed char>(-1));
      auto test = [&](std::size_t i) {
        if (held[i] < 0) held[i] = present[i] && Holds(conditions_[i], cells, row, cache);
        return held[i] == 1;
      };
      // OR of AND groups, each group stopping at its first failing condition.
      bool matched = false;
      for (std::size_t g = 0, begin = 0; g < groupEnds_.size() && !matched; begin = groupEnds_[g++]) {
        matched = true;
        for (std::size_t i = begin; i < groupEnds_[g] && matched; ++i) matched = test(i);
      }
      if (!matched) continue;
      GanttMatch m{row, {}};
      for (std::size_t i = 0; i < conditions_.size(); ++i)
        if (test(i)) m.columns.push_back(conditions_[i].column);
      std::sort(m.columns.begin(), m.columns.end());
      m.columns.erase(std::unique(m.columns.begin(), m.columns.end()), m.columns.end());
      out.push_back(std::move(m));
    }
    return out;
  }

private:
  static bool Holds(const Condition& c, const GanttCells& cells, std::size_t row, RowCache& cache) {
    if (c.numeric && !c.number) return false;
    if (c.op == Op::EqualCase && !c.numeric) return c.pattern->Matches(cells.Cell(row, c.column));
    // A column is numeric or not for the whole query, so its cache entry is a number or a folded text.
    const bool fresh = cache.stamp[c.slot] != row + 1;
    cache.stamp[c.slot] = row + 1;
    if (c.numeric) {
      if (fresh) cache.numbers[c.slot] = ReadNumber(cells.Cell(row, c.column));
      const auto& cell = cache.numbers[c.slot];
      return cell && Ordered(c.op, *cell, *c.number);
    }
    if (fresh) FoldCaseInto(cells.Cell(row, c.column), cache.folded[c.slot]);
    const std::string& cell = cache.folded[c.slot];
    if (c.op == Op::Equal) return c.pattern->Matches(cell);
    if (c.op == Op::NotEqual) return !c.pattern->Matches(cell);
    return Ordered(c.op, std::string_view(cell), std::string_view(c.folded));
  }

  std::vector<Condition> conditions_;
  std::vector<std::size_t> groupEnds_;  // one past the last condition of each AND group
  std::size_t slots_;
};

std::string At(const std::string& s, std::size_t index) {
  return "'" + s + "' at position " + std::to_string(index + 1) + ": ";
}

// Why the query's shape is wrong (conditions and combinators alternating), or empty.
std::string ShapeProblem(const std::vector<std::string>& strings) {
  if (strings.empty()) return "the query is empty";
  std::string a, o, v;
  for (std::size_t i = 0; i < strings.size(); ++i) {
    const std::string& s = strings[i];
    const bool wantCondition = i % 2 == 0;
    if (wantCondition && IsCombinator(s))
      return At(s, i) + (i == 0 ? "a query starts with a condition, not with AND or OR" : "two combinators in a row");
    if (wantCondition && !ParseCondition(s, a, o, v)) return At(s, i) + "not a condition 'Attribute'op'Value'";
    if (!wantCondition && !IsCombinator(s))
      return At(s, i) + (ParseCondition(s, a, o, v) ? "two conditions in a row need AND or OR between them"
                                                     : "expected AND or OR");
  }
  if (strings.size() % 2 == 0)
    return At(strings.back(), strings.size() - 1) + "a query ends with a condition, not with AND or OR";
  return {};
}
}  // namespace

bool ParseCondition(std::string_view text, std::string& attribute, std::string& op, std::string& value) {
  if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') return false;
  for (std::size_t q = text.find('\'', 1); q != std::string_view::npos; q = text.find('\'', q + 1)) {
    const std::string_view rest = text.substr(q + 1);
    for (std::string_view candidate : kOperators) {
      if (rest.size() <= candidate.size() || rest.substr(0, candidate.size()) != candidate ||
          rest[candidate.size()] != '\'')
        continue;
      // The first quote followed by an operator and a quote ends the attribute; the
      // value needs a closing quote of its own after that quote.
      const std::size_t valueBegin = q + 1 + candidate.size() + 1;
      if (q == 1 || valueBegin >= text.size()) return false;
      attribute.assign(text.substr(1, q - 1));
      op.assign(candidate);
      value.assign(text.substr(valueBegin, text.size() - 1 - valueBegin));
      return true;
    }
  }
  return false;
}

std::unique_ptr<GanttQuery> GanttQuery::Compile(const std::vector<std::string>& strings, const GanttCells& cells,
                                                std::string& error) {
  error = ShapeProblem(strings);
  if (!error.empty()) return nullptr;
  const ColumnIndex columns(cells);
  std::vector<Condition> conditions;
  std::vector<std::size_t> groupEnds;
  std::vector<std::size_t> slotOfColumn(cells.ColumnCount(), SIZE_MAX);
  std::size_t slots = 0;
  std::string attribute, op, value;
  for (std::size_t i = 0; i < strings.size(); i += 2) {
    ParseCondition(strings[i], attribute, op, value);
    const auto column = columns.Find(attribute);
    if (!column) {
      error = At(strings[i], i) + "no column '" + attribute + "'" + columns.Suggestion(attribute);
      return nullptr;
    }
    Condition c;
    c.column = *column;
    c.op = ToOp(op);
    c.numeric = cells.IsNumeric(c.column);
    if (slotOfColumn[c.column] == SIZE_MAX) slotOfColumn[c.column] = slots++;
    c.slot = slotOfColumn[c.column];
    if (c.numeric) {
      c.number = ReadNumber(value);
    } else if (c.op == Op::Equal || c.op == Op::NotEqual) {
      c.pattern.emplace(FoldCase(value));
    } else if (c.op == Op::EqualCase) {
      c.pattern.emplace(value);
    } else {
      c.folded = FoldCase(value);
    }
    conditions.push_back(std::move(c));
    if (i + 1 == strings.size() || strings[i + 1] == "OR") groupEnds.push_back(conditions.size());
  }
  return std::make_unique<CompiledQuery>(std::move(conditions), std::move(groupEnds), slots);
}

void QuickSearchHistory::Add(const std::string& text) {
  constexpr std::size_t kKept = 50;
  std::erase(texts_, text);
  texts_.push_back(text);
  if (texts_.size() > kKept) texts_.erase(texts_.begin(), texts_.end() - kKept);
}

}  // namespace host::gantt
