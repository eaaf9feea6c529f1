#include "TavModelChanges.h"

namespace {
std::uint64_t (*g_source)() = nullptr;
std::uint64_t g_uncounted = 0;
}  // namespace

std::uint64_t TavModelChanges::Count() { return g_source ? g_source() : ++g_uncounted; }

void TavModelChanges::Install(std::uint64_t (*source)()) { g_source = source; }
