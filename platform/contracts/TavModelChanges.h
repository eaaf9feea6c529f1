#pragma once
// A count of the model changes the host has made (each recorded change, undo and
// redo included, and each change of assembly content): an answer kept beside the
// model stays good while the count stands. Without a host every call gives a new
// count, so nothing is kept.
#include <cstdint>

class TavModelChanges {
public:
  static std::uint64_t Count();
  static void Install(std::uint64_t (*source)());
};
