#pragma once
// Machine-readable forms of the batch verbs' reports: --json everywhere, --csv
// where the report is one table. docs/json-output.md holds the schemas.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace mirt {

using Json = nlohmann::ordered_json;  // keys in the documented order, not sorted

enum class Format { Text, Json, Csv };

struct FormatFlags {
  bool json = false, csv = false;
  Format Get() const { return json ? Format::Json : csv ? Format::Csv : Format::Text; }
};

// --json, and --csv with what the table holds when the report has one; they exclude each other.
inline void AddFormatFlags(CLI::App& sub, FormatFlags& f, const std::string& csvTable = {}) {
  CLI::Option* json = sub.add_flag("--json", f.json, "Print the report as JSON instead of text (schema: docs/json-output.md)");
  if (!csvTable.empty())
    sub.add_flag("--csv", f.csv, "Print " + csvTable + " as CSV: a header row, RFC 4180 quoting")->excludes(json);
}

// Two-space indent, one trailing newline. A text that is not UTF-8 is printed
// with replacement characters rather than failing the whole report.
inline void PrintJson(std::ostream& out, const Json& j) {
  out << j.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

// RFC 4180: a field holding a comma, a quote or a line break is quoted, its quotes doubled.
inline std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

// Rows end with LF, as every other line the program prints.
inline void PrintCsv(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
  for (auto& r : rows) {
    for (std::size_t c = 0; c < r.size(); ++c) out << (c ? "," : "") << CsvField(r[c]);
    out << '\n';
  }
}

}  // namespace mirt
