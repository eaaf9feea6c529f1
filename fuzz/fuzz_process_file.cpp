// "SCOPES" process files from arbitrary bytes: read to the end or refused by their
// header, never a crash, a hang or a non-finite time; what is read is bounded by the
// input.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TavMirtProcessFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TavMirtProcessFile f;
  if (!TavMirtProcessFile::Parse(text, f)) return 0;
  std::size_t bytes = f.header.size() + f.generationTime.size() + f.label.size();
  for (const auto& op : f.operations) {
    if (!std::isfinite(op.time)) std::abort();
    bytes += op.label.size() + op.type.size() + op.image.size();
  }
  for (const auto& l : f.links) bytes += l.source.size() + l.target.size();
  if (bytes > size || f.operations.size() > size || f.links.size() > size) std::abort();
  return 0;
}
