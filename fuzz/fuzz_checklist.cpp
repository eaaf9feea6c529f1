// Column-visibility strings from arbitrary bytes (a settings file edited by hand).
// Never a crash; every column read holds no "$$", no blank at its ends and no "$"
// at its end, and the columns written again read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "OrvGanttAddAttributeDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TavUnicodeString value(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<TavUnicodeString> columns;
  OrvGanttAddAttributeDlg::BuildCheckList(value, columns);
  for (const auto& c : columns)
    if (c.IsEmpty() || c.Contains("$$") || c.Strip() != c || c.EndsWith("$")) std::abort();
  const TavUnicodeString written = OrvGanttAddAttributeDlg::BuildColumnString(columns);
  if (columns.empty() != written.IsEmpty()) std::abort();
  std::vector<TavUnicodeString> again;
  OrvGanttAddAttributeDlg::BuildCheckList(written, again);
  if (again != columns) std::abort();
  return 0;
}
