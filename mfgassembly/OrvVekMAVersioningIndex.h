#pragma once
// Which assemblies contain which, for the versioning: the assemblies that contain a
// seed directly or through others, and the walk that versions contained assemblies
// before their containers. Built once per dialog from every assembly of the document.
#include <unordered_map>
#include <unordered_set>

#include "TavPPR.h"

class OrvVekMAVersioningIndex {
public:
  explicit OrvVekMAVersioningIndex(const std::vector<Ref<OrvIMfgAssembly>>& all);
  // IndirectMAs: every assembly of `all` containing a seed, directly or through other
  // assemblies, each once: the seeds' containers in the order of `all`, then theirs.
  std::vector<Ref<OrvIMfgAssembly>> IndirectMAs(const std::vector<Ref<OrvIMfgAssembly>>& seeds) const;
  // The assemblies an assembly holds as content, in content order.
  static std::vector<Ref<OrvIMfgAssembly>> ContentMAs(const Ref<OrvIMfgAssembly>& ma);
  // The literal definition, with its repeats: the test oracle on small plants (it
  // never ends on a damaged plant whose assemblies contain each other).
  static std::vector<Ref<OrvIMfgAssembly>> LiteralIndirectMAs(const std::vector<Ref<OrvIMfgAssembly>>& all,
                                                              const std::vector<Ref<OrvIMfgAssembly>>& seeds);

private:
  std::unordered_map<const void*, std::vector<Ref<OrvIMfgAssembly>>> containers_;
};

// Drops repeats, keeping first occurrences in order.
std::vector<Ref<OrvIMfgAssembly>> OrvVekUniqueMAs(const std::vector<Ref<OrvIMfgAssembly>>& list);
