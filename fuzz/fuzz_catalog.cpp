// Message catalogues from arbitrary bytes: entries and "file:line: ..." errors,
// never a crash; every key is one word.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "HostRuntime.h"
#include "Startup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  const auto entries = host::MessageCatalogs::Parse(text, "fuzz.msg", &errors);
  for (const auto& e : errors)
    if (e.rfind("fuzz.msg:", 0) != 0) std::abort();
  for (const auto& [key, value] : entries)
    if (key.empty() || key.find_first_of(" \t\n") != std::string::npos) std::abort();
  return 0;
}
