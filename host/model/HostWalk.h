#pragma once
// How walks over this host's objects load ahead (TavWalk).
#include "TavWalk.h"

namespace host {

// Starts loading the cache line at p. GCC 12 drops __builtin_prefetch when it is
// inlined into a template instantiation, so x86 gets the instruction itself.
inline void Prefetch(const void* p) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  asm volatile("prefetcht0 (%0)" : : "r"(p));
#else
  __builtin_prefetch(p);
#endif
}

// Installs the host's hint behind TavWalk::Ahead.
void InstallWalkHint();

}  // namespace host
