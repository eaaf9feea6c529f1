#include "HostWalk.h"

#include <cstdint>
#include <memory>

namespace host {

namespace {
// Every handle is a shared pointer: the object's address, then its control block,
// which the host's objects (made with make_shared) sit right behind. A walk at
// position i starts loading the object 2 * ahead places on and, ahead places on (by
// then that line is in), the control block and the object's first `bytes`, where
// the counts, the type and the label sit. Loading more than a walk reads costs
// bandwidth; a walk that does little per object needs a longer `ahead`.
static_assert(sizeof(std::shared_ptr<int>) == 2 * sizeof(void*));

void Hint(const void* handles, std::size_t count, std::size_t at, TavWalkReach reach) {
  const auto* words = static_cast<const void* const*>(handles);
  const bool label = reach == TavWalkReach::Label;
  const std::size_t ahead = label ? 64 : 8, bytes = label ? 192 : 640;
  if (at + 2 * ahead < count)
    if (const void* object = words[2 * (at + 2 * ahead)]) Prefetch(object);
  if (at + ahead < count)
    if (const void* block = words[2 * (at + ahead) + 1]) {
      const auto start = reinterpret_cast<std::uintptr_t>(block);
      for (std::size_t b = 0; b < bytes; b += 64) Prefetch(reinterpret_cast<const void*>(start + b));
    }
}
}  // namespace

void InstallWalkHint() { TavWalk::Install(Hint); }

}  // namespace host
