#pragma once
// The words of session-script statements: splitting a line (quotes, escapes,
// comments), splitting a whole text into statements with their line numbers, and
// quoting a word back. Pure functions: nothing here runs a statement.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// One word of a line, with where it stands (for completion).
struct ScriptToken {
  std::string text;        // unescaped, without its quotes
  std::size_t begin = 0;   // byte offset of its first character in the line
  std::size_t end = 0;     // one past its last character (the line's end for an open quote)
  bool quoted = false;     // a quoted part is in it
};

struct ScriptLine {
  std::vector<ScriptToken> tokens;
  bool openQuote = false;              // the last token's quote is not closed
  std::size_t comment = std::string::npos;  // where a comment starts
};

// Words are separated by blanks; "double quotes" group (\" and \\ escape inside);
// a comment is a '#' that begins the line (after blanks) or stands after a blank
// and before a blank or the line's end: `#op30_hinges` and `x#y` are words.
// Never fails; an open quote is flagged.
ScriptLine TokenizeLine(std::string_view line);

// The words of a statement; false on an open quote (err says so).
bool SplitWords(std::string_view line, std::vector<std::string>& words, std::string& err);

struct ParsedStatement {
  int line = 0;  // 1-based
  std::vector<std::string> words;
};
struct ParseError {
  int line = 0;
  std::string message;
};
struct ParsedScript {
  std::vector<ParsedStatement> statements;  // blank and comment lines left out
  std::vector<ParseError> errors;           // in line order
};

// Splits a whole script into statements with their line numbers, running nothing.
// Lines end at \n (a \r before it is dropped); a NUL byte is refused per line.
ParsedScript ParseScript(std::string_view text);

// A word as a statement would write it: quoted when it is empty, starts with '#'
// (a comment at the start of a line), or holds a blank or a quote; inside the
// quotes a quote and a backslash are escaped.
std::string QuoteWord(std::string_view word);

}  // namespace host
