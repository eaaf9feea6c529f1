// The impacted components file from arbitrary names: fields split at 0x1F, records
// at 0x1E, three fields a record. A standard reader (double quotes enclose, a
// doubled one stands for itself) gets back one line per record, three fields a
// line, each the name with its commas as "; ", its line breaks as blanks and its
// malformed bytes as U+FFFD; the file is UTF-8 without CR.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "OrvVekReplaceProductDlg.h"

namespace {

std::vector<std::string> Split(const std::string& s, char at) {
  std::vector<std::string> out{{}};
  for (char c : s) {
    if (c == at) out.emplace_back();
    else out.back() += c;
  }
  return out;
}

// What a field should read back as.
std::string Expected(const std::string& name) {
  std::string out;
  for (char32_t cp : TavUnicodeString(name).CodePoints()) {
    if (cp == ',') out += "; ";
    else if (cp == '\r' || cp == '\n') out += ' ';
    else AppendUtf8(out, cp);
  }
  return out;
}

// RFC 4180 lines: fields separated by ",", a field may be enclosed in double quotes.
std::vector<std::vector<std::string>> Read(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::size_t i = 0;
  while (i < text.size()) {
    std::vector<std::string> row{{}};
    bool quoted = false;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (quoted) {
        if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') row.back() += '"', ++i;
        else if (c == '"') quoted = false;
        else row.back() += c;
      } else if (c == '"' && row.back().empty()) {
        quoted = true;
      } else if (c == ',') {
        row.emplace_back();
      } else if (c == '\n') {
        ++i;
        break;
      } else {
        row.back() += c;
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::vector<std::string>> records;
  for (const auto& r : Split(bytes, '\x1e')) {
    auto fields = Split(r, '\x1f');
    fields.resize(3);
    records.push_back(std::move(fields));
  }
  std::string text;
  for (const auto& r : records)
    text += OrvVekReplaceProductDlg::CsvField(r[0]) + "," + OrvVekReplaceProductDlg::CsvField(r[1]) + "," +
            OrvVekReplaceProductDlg::CsvField(r[2]) + "\n";
  if (text.find('\r') != std::string::npos) std::abort();
  std::string valid;  // well-formed UTF-8 decodes and encodes to itself
  for (char32_t cp : TavUnicodeString(text).CodePoints()) AppendUtf8(valid, cp);
  if (valid != text) std::abort();
  const auto rows = Read(text);
  if (rows.size() != records.size()) std::abort();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].size() != 3) std::abort();
    for (int f = 0; f < 3; ++f)
      if (rows[i][f] != Expected(records[i][f])) std::abort();
  }
  return 0;
}
