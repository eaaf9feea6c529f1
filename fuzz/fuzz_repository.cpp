// Setting and preference repository files from arbitrary bytes: values and string
// arrays, or one "line N: ..." error, never a crash. What loads writes back to a text
// that loads to the same contents (recall) and writes to the same bytes again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "HostRuntime.h"
#include "Startup.h"

namespace {
// Contents equal, a NaN read back counting as the NaN written.
bool Same(const host::RepositoryContents& a, const host::RepositoryContents& b) {
  if (a.arrays != b.arrays || a.values.size() != b.values.size()) return false;
  for (auto ia = a.values.begin(), ib = b.values.begin(); ia != a.values.end(); ++ia, ++ib) {
    if (ia->first != ib->first || ia->second.index() != ib->second.index()) return false;
    const double* da = std::get_if<double>(&ia->second);
    const double* db = std::get_if<double>(&ib->second);
    if (da && std::isnan(*da) && std::isnan(*db)) continue;
    if (ia->second != ib->second) return false;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  host::RepositoryContents first;
  try {
    first = host::FileRepository::Deserialize(text);
  } catch (const std::runtime_error& e) {
    if (std::string(e.what()).rfind("line ", 0) != 0) std::abort();  // every refusal names its line
    return 0;
  }
  const std::string once = host::FileRepository::Serialize(first);
  const host::RepositoryContents again = host::FileRepository::Deserialize(once);  // must not throw
  if (!Same(first, again)) std::abort();
  if (host::FileRepository::Serialize(again) != once) std::abort();
  return 0;
}
