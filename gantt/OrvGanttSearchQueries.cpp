#include "OrvGanttSearchQueries.h"

#include <cstdio>

#include "TavServices.h"

namespace OrvGanttSearchQueries {

bool IsCombinator(const TavUnicodeString& s) { return s == kAnd || s == kOr; }
bool IsCondition(const TavUnicodeString& s) { return s.Contains("'"); }

bool IsWellFormed(const std::vector<TavUnicodeString>& query) {
  if (query.empty() || query.size() % 2 == 0) return false;
  for (std::size_t i = 0; i < query.size(); ++i)
    if (i % 2 == 0 ? !IsCondition(query[i]) || IsCombinator(query[i]) : !IsCombinator(query[i])) return false;
  return true;
}

TavUnicodeString BuildCondition(const TavUnicodeString& attribute, const TavUnicodeString& op,
                                const TavUnicodeString& value) {
  TavUnicodeString s;
  if (!attribute.IsEmpty()) s += "'" + attribute + "'";
  if (!op.IsEmpty()) s += op;
  if (!value.IsEmpty()) s += "'" + value + "'";
  return s;
}

std::vector<Relation> RelationsFor(bool numeric) {
  std::vector<Relation> r{{"DefineRelation", "define relation", kDefineRelation},
                          {"RelationEqualTo", "equals", "="},
                          {"RelationNotEqualTo", "does not equal", "!="}};
  if (numeric) {
    r.push_back({"RelationSmallerThan", "is less than", "<"});
    r.push_back({"RelationSmallerOrEqualTo", "is less than or equal to", "<="});
    r.push_back({"RelationGreaterThan", "is greater than", ">"});
    r.push_back({"RelationGreaterOrEqualTo", "is greater than or equal to", ">="});
  } else {
    r.push_back({"RelationContains", "contains", "="});
    r.push_back({"RelationMatchesExactly", "matches exactly", "=="});
    r.push_back({"RelationContainsExactly", "contains exactly", "=="});
  }
  return r;
}

TavUnicodeString RelationText(const Relation& r) {
  return TavMsgCatalog::BuildMessage("OrvGanttSearchDlg", r.key, {}, r.text);
}

TavUnicodeString OperatorOf(const TavUnicodeString& relationText, bool numeric) {
  for (const Relation& r : RelationsFor(numeric))
    if (RelationText(r) == relationText) return r.op;
  return kDefineRelation;
}

int RelationLineOf(const TavUnicodeString& op, bool numeric) {
  const auto relations = RelationsFor(numeric);
  for (std::size_t i = 1; i < relations.size(); ++i)
    if (op == relations[i].op) return static_cast<int>(i);
  return 0;
}

bool ReadsAsNumber(const TavUnicodeString& text) {
  double d = 0;
  return std::sscanf(text.c_str(), "%le", &d) == 1;
}

std::vector<TavUnicodeString> FormQueriesForQuickSearch(const TavUnicodeString& text,
                                                        const std::vector<TavUnicodeString>& headers,
                                                        const std::function<bool(const TavUnicodeString&)>& isNumeric) {
  std::vector<TavUnicodeString> out;
  const bool number = ReadsAsNumber(text);
  for (const TavUnicodeString& h : headers) {
    TavUnicodeString condition;
    if (isNumeric(h)) {
      if (!number) continue;
      condition = BuildCondition(h, "=", text);
    } else {
      condition = BuildCondition(h, "=", "*" + text + "*");
    }
    if (!out.empty()) out.push_back(kOr);
    out.push_back(condition);
  }
  return out;
}

}  // namespace OrvGanttSearchQueries
