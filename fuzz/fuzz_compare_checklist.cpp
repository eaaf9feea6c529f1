// Report-attribute check lists from arbitrary bytes (a settings file edited by hand):
// the first line is the feature, the rest the stored text. Never a crash; what is
// read holds no "$" or "|" and only kinds V and E; a block replaced reads back as it
// was given, or is refused with a message and the text left as it was.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "OrvVekCompareUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = bytes.find('\n');
  const TavUnicodeString feature(bytes.substr(0, nl == std::string::npos ? 0 : nl));
  const TavUnicodeString text(nl == std::string::npos ? bytes : bytes.substr(nl + 1));
  using U = OrvVekCompareUtilities;
  std::vector<TavUnicodeString> names, kinds;
  U::BuildCheckList(text, names, kinds, feature);
  if (names.size() != kinds.size()) std::abort();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i].IsEmpty() || names[i].Contains("$") || names[i].Contains("|") || !(kinds[i] == "V" || kinds[i] == "E"))
      std::abort();
  TavUnicodeString written = text;
  std::vector<TavUnicodeString> reversed(names.rbegin(), names.rend()), reversedKinds(kinds.rbegin(), kinds.rend());
  std::string problem;
  if (!U::ReplaceFeatureBlock(written, feature, reversed, reversedKinds, problem)) {
    if (!(written == text) || problem.empty()) std::abort();
    return 0;
  }
  std::vector<TavUnicodeString> again, againKinds;
  U::BuildCheckList(written, again, againKinds, feature);
  if (again != reversed || againKinds != reversedKinds) std::abort();
  return 0;
}
