// Setting and preference repository files from arbitrary bytes: values or one
// "line N: ..." error, never a crash; what loads writes back to a text that loads
// to the same text again.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "HostRuntime.h"
#include "Startup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string once;
  try {
    once = host::FileRepository::Serialize(host::FileRepository::Deserialize(text));
  } catch (const std::runtime_error& e) {
    if (std::string(e.what()).rfind("line ", 0) != 0) std::abort();  // every refusal names its line
    return 0;
  }
  if (host::FileRepository::Serialize(host::FileRepository::Deserialize(once)) != once) std::abort();
  return 0;
}
