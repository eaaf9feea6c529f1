#include "TavMirtProcessFile.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <stdexcept>

#include "TavString.h"

namespace {

bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    // Most files are ASCII: eight bytes at a time while no high bit is set.
    std::uint64_t word;
    if (i + 8 <= s.size() && (std::memcpy(&word, s.data() + i, 8), (word & 0x8080808080808080ull) == 0)) {
      i += 8;
      continue;
    }
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    if (extra == 4 || (extra == 1 && c < 0xC2) || i + extra >= s.size() + (extra == 0)) return false;
    const auto c1 = extra ? static_cast<unsigned char>(s[i + 1]) : 0;
    // Overlong forms, surrogates and code points above U+10FFFF are no UTF-8.
    if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0) || (c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 >= 0x90) || c > 0xF4)
      return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

// Where reading stops: the line it names and what went wrong there.
struct Broken : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The one reader of the format: logical lines, comments and empty lines skipped, a
// quoted line taken without its first and last character. A line is a view of the
// text (of a converted copy for Latin-1), good until the next read.
class LineReader {
public:
  LineReader(std::string_view text, bool latin1) : text_(text), latin1_(latin1), nul_(text.find('\0')) {}

  // The next logical line; at the end of the file, an error naming what was due.
  std::string_view Next(std::string_view due) {
    if (!TryNext()) Fail("the file ends where " + std::string(due) + " is due");
    return current_;
  }
  // The same, where a keyword closes a list.
  std::string_view NextOrKeyword(std::string_view keyword) {
    if (!TryNext()) Fail("the file ends where \"" + std::string(keyword) + "\" is due");
    return current_;
  }
  bool TryNext() {
    while (pos_ < text_.size()) {
      std::size_t end = text_.find('\n', pos_);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      ++number_;
      if (nul_ < end) Fail("the line holds a NUL byte");  // the lines before had none
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.size() > TavMirtProcessFile::kMaxLine)
        Fail("the line is longer than " + std::to_string(TavMirtProcessFile::kMaxLine) + " bytes");
      if (line.empty() || line.substr(0, 2) == "##") continue;
      // A lone quote has no inner text: the line is empty, never a read before it.
      if (line.front() == '"') line = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
      if (latin1_) {
        converted_ = TavUnicodeString::FromLatin1(line).utf8();
        line = converted_;
      }
      current_ = line;
      return true;
    }
    current_ = {};
    return false;
  }
  std::string_view Current() const { return current_; }
  int Number() const { return number_; }
  [[noreturn]] void Fail(const std::string& what) const { throw Broken(std::to_string(number_) + ": " + what); }

private:
  std::string_view text_;
  bool latin1_;
  std::size_t nul_;  // the first NUL byte, or npos
  std::size_t pos_ = 0;
  int number_ = 0;
  std::string_view current_;
  std::string converted_;
};

// The line's leading decimal number, read the same whatever the locale; 0 when it
// begins with none. A number no save could keep ("inf", "nan", "1e999") is an error.
double LeadingNumber(std::string_view s, const LineReader& r) {
  std::size_t i = s.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  if (s[i] == '+') ++i;
  double value = 0;
  const char* first = s.data() + i;
  const auto [end, ec] = std::from_chars(first, s.data() + s.size(), value);
  if (end == first) return 0;
  if (ec == std::errc::result_out_of_range) {
    // Too small to hold is as good as 0 (a negative exponent); too large is no number.
    const std::string_view number(first, static_cast<std::size_t>(end - first));
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-') return 0;
  }
  if (ec != std::errc() || !std::isfinite(value)) r.Fail("the time '" + std::string(s) + "' is no finite number");
  return value;
}

std::string Quoted(const char* keyword) { return std::string("\"") + keyword + "\""; }

// Lines up to the keyword `end`, each added to `text` with a line feed.
void ReadList(LineReader& r, std::string_view end, std::string& text) {
  for (std::string_view line = r.NextOrKeyword(end); line != end; line = r.NextOrKeyword(end)) {
    text.append(line);
    text.push_back('\n');
  }
}

TavMirtProcessFile::Operation ReadOperation(LineReader& r, int line) {
  TavMirtProcessFile::Operation op;
  op.line = line;
  op.label = r.Next("the operation's label");
  op.type = r.Next("the operation's type");
  op.time = LeadingNumber(r.Next("the operation's time"), r);
  op.image = r.Next("the operation's image file");
  op.description = r.Next("the operation's description");
  op.description += "\n";
  // Each list's heading line is read and not tested.
  r.Next("the resources heading");
  op.description += "Assigned Resources : \n";
  ReadList(r, "EndOfResources", op.description);
  r.Next("the components heading");
  op.description += "Assigned Components : \n";
  ReadList(r, "EndOfComponents", op.description);
  r.Next("the welds heading");
  op.description += "Assigned Welds : \n";
  ReadList(r, "EndOfWelds", op.description);
  return op;
}

}  // namespace

TavMirtProcessFile::Status TavMirtProcessFile::Parse(std::string_view text, TavMirtProcessFile& out, std::string* error) {
  out = TavMirtProcessFile();
  // A byte-order mark is no part of the header.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  out.latin1 = !IsUtf8(text);
  LineReader r(text, out.latin1);
  try {
    if (!r.TryNext()) return Status::NotScopes;
    out.header = r.Current();
    if (out.header.compare(0, 5, "SCOPE") != 0) {
      out.header.clear();
      return Status::NotScopes;
    }
    out.generationTime = r.Next("the generation time");
    out.label = r.Next("the process label");
    r.Next("the line after the process label");
    const std::string operationDue = Quoted("Operation") + " or " + Quoted("EndOfOperations");
    for (;;) {
      const std::string_view line = r.Next(operationDue);
      if (line == "EndOfOperations") break;
      if (line != "Operation") r.Fail("'" + std::string(line) + "' where " + operationDue + " is due");
      out.operations.push_back(ReadOperation(r, r.Number()));
    }
    r.Next("the sequence heading");
    const std::string linkDue = Quoted("Link") + " or " + Quoted("EndOfSequence");
    for (;;) {
      const std::string_view line = r.Next(linkDue);
      if (line == "EndOfSequence") break;
      if (line != "Link") r.Fail("'" + std::string(line) + "' where " + linkDue + " is due");
      Link link;
      link.line = r.Number();
      link.source = r.Next("the link's source");
      link.target = r.Next("the link's target");
      out.links.push_back(std::move(link));
    }
  } catch (const Broken& e) {
    if (error) *error = e.what();
    const bool latin1 = out.latin1;
    out = TavMirtProcessFile();
    out.latin1 = latin1;
    return Status::Broken;
  }
  return Status::Read;
}
