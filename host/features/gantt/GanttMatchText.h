#pragma once
// How a Gantt query reads cells: case folding for text comparisons and the
// reading of numbers for numeric columns.
#include <optional>
#include <string>
#include <string_view>

namespace host::gantt {

// ASCII letters to lower case, other bytes as they are: the host's own lower-casing.
inline char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
// Replaces `out` with the folded text; `out` keeps its capacity, so a buffer reused
// for every cell of a run allocates only when a longer cell comes.
void FoldCaseInto(std::string_view text, std::string& out);
std::string FoldCase(std::string_view text);

// The number a text holds as the C conversion "%le" (strtod) reads it, when it reads
// the whole text; blanks at either end are allowed. Null for "", "12abc", "info".
std::optional<double> ReadNumber(std::string_view text);

}  // namespace host::gantt
