#include "TavMirtProcessFile.h"

#include <cmath>
#include <cstdlib>

namespace {

// The one reader of the format: logical lines, comments and empty lines skipped, a
// quoted line taken without its first and last character.
class LineReader {
public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // False at the end of the file (the current line is then empty).
  bool Next() {
    while (pos_ < text_.size()) {
      std::size_t end = text_.find('\n', pos_);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      ++number_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.empty() || line.substr(0, 2) == "##") continue;
      if (line.front() == '"') line = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
      current_.assign(line);
      return true;
    }
    current_.clear();
    atEnd_ = true;
    return false;
  }
  const std::string& Current() const { return current_; }
  bool AtEnd() const { return atEnd_; }
  int Number() const { return number_; }

private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
  bool atEnd_ = false;
  std::string current_;
};

std::string At(const LineReader& r, const std::string& what) {
  return (r.AtEnd() ? std::string("end of file") : "line " + std::to_string(r.Number())) + ": " + what;
}

// Lines up to `end`, each added to `text` with a line feed. False when the list was
// cut short (the end of the file).
bool ReadList(LineReader& r, const char* end, std::string& text, std::vector<std::string>& notes) {
  while (r.Next()) {
    if (r.Current() == end) return true;
    text += r.Current() + "\n";
  }
  notes.push_back(At(r, std::string("the file ends before \"") + end + "\""));
  return false;
}

double LeadingNumber(const std::string& s, const LineReader& r, std::vector<std::string>& notes) {
  const double value = std::strtod(s.c_str(), nullptr);
  if (std::isfinite(value)) return value;
  notes.push_back(At(r, "the time '" + s + "' is no finite number: 0 is taken"));
  return 0;
}

// One operation after its "Operation" line; false when the file ended inside it.
bool ReadOperation(LineReader& r, TavMirtProcessFile& out) {
  TavMirtProcessFile::Operation op;
  op.line = r.Number();
  const std::size_t notesBefore = out.notes.size();
  auto next = [&](std::string& into) {
    if (!r.Next()) return false;
    into = r.Current();
    return true;
  };
  std::string time, skipped;
  bool whole = next(op.label) && next(op.type);
  if (!whole) {
    out.notes.push_back(At(r, "the file ends inside an operation before its type: it is left out"));
    return false;
  }
  if ((whole = next(time))) op.time = LeadingNumber(time, r, out.notes);
  whole = whole && next(op.image) && next(op.description);
  if (whole) op.description += "\n";
  // Each list's heading line is read and not tested.
  whole = whole && next(skipped);
  if (whole) {
    op.description += "Assigned Resources : \n";
    whole = ReadList(r, "EndOfResources", op.description, out.notes) && next(skipped);
  }
  if (whole) {
    op.description += "Assigned Components : \n";
    whole = ReadList(r, "EndOfComponents", op.description, out.notes) && next(skipped);
  }
  if (whole) {
    op.description += "Assigned Welds : \n";
    whole = ReadList(r, "EndOfWelds", op.description, out.notes);
  }
  if (!whole && out.notes.size() == notesBefore) out.notes.push_back(At(r, "the file ends inside operation '" + op.label + "'"));
  out.operations.push_back(std::move(op));
  return whole;
}

}  // namespace

bool TavMirtProcessFile::Parse(std::string_view text, TavMirtProcessFile& out) {
  out = TavMirtProcessFile();
  LineReader r(text);
  if (!r.Next() || r.Current().compare(0, 5, "SCOPE") != 0) return false;
  out.header = r.Current();
  std::string skipped;
  r.Next();
  out.generationTime = r.Current();
  r.Next();
  out.label = r.Current();
  r.Next();  // read and ignored
  // Operations, up to "EndOfOperations"; anything else ends the block where it stands.
  bool more = r.Next();
  while (more && r.Current() == "Operation") {
    if (!ReadOperation(r, out)) return true;
    more = r.Next();
  }
  if (!more) {
    out.notes.push_back(At(r, "the file ends before \"EndOfOperations\""));
    return true;
  }
  if (r.Current() != "EndOfOperations")
    out.notes.push_back(At(r, "'" + r.Current() + "' where \"Operation\" or \"EndOfOperations\" was expected: the operations end here"));
  // The sequence heading, read and not tested; then the links.
  r.Next();
  more = r.Next();
  while (more && r.Current() == "Link") {
    Link link;
    link.line = r.Number();
    if (!r.Next()) break;
    link.source = r.Current();
    if (!r.Next()) break;
    link.target = r.Current();
    out.links.push_back(std::move(link));
    more = r.Next();
  }
  if (r.AtEnd())
    out.notes.push_back(At(r, "the file ends before \"EndOfSequence\""));
  else if (r.Current() != "EndOfSequence")
    out.notes.push_back(At(r, "'" + r.Current() + "' where \"Link\" or \"EndOfSequence\" was expected: the links end here"));
  return true;
}
