// "SCOPES" process files from arbitrary bytes: read whole, refused by their header, or
// refused with the line where reading stopped; never a crash, a hang or a non-finite
// time. A file that is read imports into a small plant, which saves and loads again to
// the same bytes; taking the import back gives the plant as it was.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "HostUndo.h"
#include "PlantDocument.h"
#include "Startup.h"
#include "TavMirtProcessImport.h"
#include "XercesInit.h"

namespace {
const std::string kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1">
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Load" type="PhysicalActivity"/>
  </process>
</plant>
)";
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  support::EnsureXerces();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TavMirtProcessFile f;
  std::string error;
  const auto status = TavMirtProcessFile::Parse(text, f, &error);
  if (status == TavMirtProcessFile::Status::Broken && error.find(": ") == std::string::npos) std::abort();
  if (status != TavMirtProcessFile::Status::Read) return 0;
  std::size_t bytes = f.header.size() + f.generationTime.size() + f.label.size();
  for (const auto& op : f.operations) {
    if (!std::isfinite(op.time)) std::abort();
    bytes += op.label.size() + op.type.size() + op.image.size();
  }
  for (const auto& l : f.links) bytes += l.source.size() + l.target.size();
  // Latin-1 text grows at most twice in UTF-8.
  if (bytes > 2 * size || f.operations.size() > size || f.links.size() > size) std::abort();

  auto plant = host::ParsePlant(kPlant, "plant.xml", error);
  if (!plant) std::abort();
  const std::string before = host::SerializePlant(*plant);
  auto activity = query<TavISPPActivity>(plant->Process().roots_.front());
  plant->Journal().Begin();
  TavMirtImportReport report;
  if (!TavMirtApplyProcessFile(activity, f, report, &error) || report.created.size() != f.operations.size()) std::abort();
  const std::string after = host::SerializePlant(*plant);
  auto again = host::ParsePlant(after, "again.xml", error);
  if (!again || host::SerializePlant(*again) != after) std::abort();
  if (!plant->Journal().Abort(&error) || host::SerializePlant(*plant) != before) std::abort();
  return 0;
}
