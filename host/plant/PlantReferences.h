#pragma once
// The references the plant loader cannot make while the stream is read (assembly
// parts, links between activities), kept as records, then checked and made once
// every id is known: unknown ids, kinds, duplicates, containment cycles, the rules of
// synchronisations. Internal to host/plant/.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "HostModel.h"

namespace host::plant {

// The loader's side of a failure: one located error; a problem kept while reading
// (index + 1, or 0 for none) is reported when the work reaches its record.
class LoadProblems {
public:
  virtual ~LoadProblems() = default;
  virtual bool Fail(std::uint32_t line, std::uint32_t column, const std::string& message) = 0;
  virtual bool Report(std::uint32_t problem) = 0;
};

struct PartRecord {
  HostAssembly* assembly;
  std::string ref;
  std::uint32_t line, column;
  std::uint32_t problem, childProblem;
};
// The element of each kind of link record.
inline constexpr const char* kLinkNames[] = {"flow", "precedence", "constraint", "prevCycle"};
struct LinkRecord {
  enum Kind : std::uint8_t { Flow, Precedence, Constraint, PrevCycle, ProblemOnly } kind;
  std::string from, to;
  std::string id;  // a flow's, when stored
  std::uint32_t line, column;
  std::uint32_t problem, childProblem;
  int type = TavConstraintType::Plain;  // a constraint's kind
};
// The `type` of a constraint: none for a plain one, else a synchronisation.
int ConstraintTypeOf(std::string_view text);

// Where each assembly element stood, for a cycle found through its parts.
using AssemblyPlaces = std::unordered_map<const HostAssembly*, std::pair<std::uint32_t, std::uint32_t>>;

// The object of an id; null after failing with "WHAT names an unknown id".
Ref<TavBaseUnknown> ResolveId(HostDocument& doc, LoadProblems& problems, std::uint32_t line, std::uint32_t column,
                              std::string_view what, const std::string& id);
// Every part resolved and checked before any is added (assemblies hold their parts
// strongly: a cycle must never be made); false after the first failure.
bool LoadParts(HostDocument& doc, const std::vector<PartRecord>& parts, const AssemblyPlaces& assemblyAt, LoadProblems& problems);
bool LoadLinks(HostDocument& doc, const std::vector<LinkRecord>& links, LoadProblems& problems);

}  // namespace host::plant
