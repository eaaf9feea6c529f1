// Activity library files from arbitrary bytes: accepted, or one error naming its
// place, never a crash; the same bytes always give the same answer. Checked without
// registering, so that one input's types do not change the next one's answer.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ActivityLibrary.h"
#include "Startup.h"
#include "XercesInit.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  support::EnsureXerces();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto& libraries = host::ActivityLibraries::Get();
  std::string error, again;
  const bool ok = libraries.Check(bytes, "fuzz.act", error);
  if (!ok && error.rfind("fuzz.act:", 0) != 0) std::abort();  // every failure names its place
  if (libraries.Check(bytes, "fuzz.act", again) != ok || again != error) std::abort();
  return 0;
}
