// Plant documents from arbitrary bytes: a document or one error, never a crash or a leak;
// what loads must save and load again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PlantDocument.h"
#include "Startup.h"
#include "XercesInit.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  support::EnsureXerces();
  std::string error;
  auto doc = host::ParsePlant(std::string(reinterpret_cast<const char*>(data), size), "fuzz.xml", error);
  if (!doc) {
    if (error.rfind("fuzz.xml:", 0) != 0) std::abort();  // every failure names its place
    return 0;
  }
  std::string once = host::SerializePlant(*doc);
  auto again = host::ParsePlant(once, "fuzz.xml", error);
  if (!again || host::SerializePlant(*again) != once) std::abort();
  return 0;
}
