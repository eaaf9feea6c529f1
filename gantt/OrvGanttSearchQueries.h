#pragma once
// The strings of a composed Gantt query: elementary conditions 'Attribute'op'Value'
// and the combinators "AND" and "OR" between them; the relations the dialog shows and
// their operators; the conditions of a quick search.
#include <functional>
#include <vector>

#include "TavString.h"

namespace OrvGanttSearchQueries {

inline constexpr const char* kAnd = "AND";
inline constexpr const char* kOr = "OR";
// Placeholders for an operator or combinator not chosen yet.
inline constexpr const char* kDefineRelation = "Define Relation";
inline constexpr const char* kDefineCombined = "Define Combined Condition";

bool IsCombinator(const TavUnicodeString& s);
// A condition row: it holds a single quote.
bool IsCondition(const TavUnicodeString& s);
// Condition, combinator, condition, ... starting and ending with a condition.
bool IsWellFormed(const std::vector<TavUnicodeString>& query);

// 'attribute'op'value', each part only when its input is not empty ("" when all are).
TavUnicodeString BuildCondition(const TavUnicodeString& attribute, const TavUnicodeString& op,
                                const TavUnicodeString& value);

// One relation line of the dialog: its catalogue key, default text and operator.
struct Relation {
  const char* key;
  const char* text;
  const char* op;
};
// "define relation", then equals and does not equal, then the orderings for a numeric
// column (or none chosen) or contains / matches exactly / contains exactly for a text column.
std::vector<Relation> RelationsFor(bool numeric);
// The operator of a relation text as the catalogue gives it; "Define Relation" when unknown.
TavUnicodeString OperatorOf(const TavUnicodeString& relationText, bool numeric);
// The relation line showing an operator (the first that maps to it), for editing a condition.
int RelationLineOf(const TavUnicodeString& op, bool numeric);
// The relation's text from catalogue "OrvGanttSearchDlg".
TavUnicodeString RelationText(const Relation& r);

// The quick search for a text over the visible columns, in column order: a column
// holding numbers takes the text as value when it reads as a number ("%le") and is
// skipped otherwise; a text column takes "*text*". Joined by "OR".
std::vector<TavUnicodeString> FormQueriesForQuickSearch(const TavUnicodeString& text,
                                                        const std::vector<TavUnicodeString>& headers,
                                                        const std::function<bool(const TavUnicodeString&)>& isNumeric);
// Whether the C conversion "%le" reads a number at the start of the text.
bool ReadsAsNumber(const TavUnicodeString& text);

}  // namespace OrvGanttSearchQueries
