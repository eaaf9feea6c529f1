// Resource type libraries from arbitrary bytes: a list of valid, distinct type names,
// or one error naming the file and line, never a crash; the same bytes always give
// the same answer.
#include <cstdint>
#include <cctype>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "HostResources.h"
#include "Startup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<TavUnicodeString> types, again;
  std::string error, error2;
  const bool ok = host::ParseResourceTypes(bytes, "fuzz.feat", types, error);
  if (ok != host::ParseResourceTypes(bytes, "fuzz.feat", again, error2) || types != again || error != error2) std::abort();
  if (!ok) {
    if (error.rfind("fuzz.feat:", 0) != 0 || !types.empty()) std::abort();  // every failure names its place
    return 0;
  }
  if (types.empty()) std::abort();
  std::unordered_set<std::string> seen;
  for (auto& t : types) {
    const std::string& s = t.utf8();
    if (s.empty() || s.size() > 64 || !seen.insert(s).second) std::abort();
    for (unsigned char c : s)
      if (!(std::isalnum(c) || c == '_' || c == '-' || c == '.')) std::abort();
  }
  return 0;
}
