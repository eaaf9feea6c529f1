#include "PlantReferences.h"

#include <unordered_set>

#include "HostFlow.h"
#include "PlantFormat.h"

namespace host::plant {

namespace {
struct PairHash {
  std::size_t operator()(const std::pair<const void*, const void*>& p) const {
    return std::hash<const void*>()(p.first) * 0x9E3779B97F4A7C15ull + std::hash<const void*>()(p.second);
  }
};
}  // namespace

int ConstraintTypeOf(std::string_view text) {
  return text == "startStart" ? TavConstraintType::StartStart : text == "endEnd" ? TavConstraintType::EndEnd : -1;
}

Ref<TavBaseUnknown> ResolveId(HostDocument& doc, LoadProblems& problems, std::uint32_t line, std::uint32_t column,
                              std::string_view what, const std::string& id) {
  Ref<TavBaseUnknown> o = doc.ObjectById(id);
  if (!o) problems.Fail(line, column, std::string(what) + " names an unknown id " + Quote(id));
  return o;
}

bool LoadParts(HostDocument& doc, const std::vector<PartRecord>& parts, const AssemblyPlaces& assemblyAt, LoadProblems& problems) {
  // Resolve everything first: a containment cycle must be refused before any
  // part is added, since assemblies hold their parts strongly.
  std::vector<Ref<TavBaseUnknown>> targets;
  targets.reserve(parts.size());
  std::unordered_map<HostAssembly*, std::vector<HostAssembly*>> sub;
  std::unordered_set<std::pair<const void*, const void*>, PairHash> seen;
  seen.reserve(parts.size());
  for (auto& pr : parts) {
    if (!problems.Report(pr.problem)) return false;
    Ref<TavBaseUnknown> t = ResolveId(doc, problems, pr.line, pr.column, "part", pr.ref);
    if (!t) return false;
    t = t->ExtendedObject();
    auto* p = dynamic_cast<HostProduct*>(t.get());
    auto* sa = dynamic_cast<HostAssembly*>(t.get());
    // Kits gather resources too; the resource root is no object and has no id.
    if (!p && !sa)
      return problems.Fail(pr.line, pr.column, "part " + Quote(pr.ref) + " is an " + KindOf(t) + ", not a product, a resource or an assembly");
    if (sa == pr.assembly) return problems.Fail(pr.line, pr.column, "assembly " + Quote(pr.ref) + " cannot contain itself");
    if (!seen.insert({pr.assembly, t.get()}).second) return problems.Fail(pr.line, pr.column, "duplicate part " + Quote(pr.ref));
    if (sa) sub[pr.assembly].push_back(sa);
    targets.push_back(std::move(t));
    if (!problems.Report(pr.childProblem)) return false;
  }
  // Iterative three-colour search for a cycle among assemblies.
  std::unordered_map<HostAssembly*, int> colour;
  for (auto& [start, unused] : sub) {
    if (colour[start]) continue;
    std::vector<std::pair<HostAssembly*, std::size_t>> work{{start, 0}};
    colour[start] = 1;
    while (!work.empty()) {
      auto& [a, i] = work.back();
      auto it = sub.find(a);
      if (it == sub.end() || i == it->second.size()) {
        colour[a] = 2;
        work.pop_back();
        continue;
      }
      HostAssembly* next = it->second[i++];
      int& c = colour[next];
      if (c == 1) {
        auto at = assemblyAt.find(next);
        return problems.Fail(at->second.first, at->second.second,
                    "assembly " + Quote(next->IdString()) + " contains itself through its parts");
      }
      if (c == 0) {
        c = 1;
        work.emplace_back(next, 0);
      }
    }
  }
  for (std::size_t i = 0; i < parts.size(); ++i) parts[i].assembly->AppendNewPart(std::move(targets[i]));
  return true;
}

bool LoadLinks(HostDocument& doc, const std::vector<LinkRecord>& links, LoadProblems& problems) {
  // Duplicates are found here, so an activity with many links is not searched per link.
  std::unordered_set<std::pair<const void*, const void*>, PairHash> flows, precedences, constraints, prevCycles, syncs[2];
  // Room for all at once: a plant of 10^6 activities would rehash these sets some 20 times.
  std::size_t flowCount = 0;
  for (auto& l : links) flowCount += l.kind == LinkRecord::Flow;
  flows.reserve(flowCount);
  precedences.reserve(links.size() - flowCount);
  for (auto& l : links) {
    if (!problems.Report(l.problem)) return false;
    if (l.kind == LinkRecord::ProblemOnly) continue;
    const bool flow = l.kind == LinkRecord::Flow;
    const char* what = kLinkNames[l.kind];
    Ref<HostActivity> ends[2];
    const std::string* ids[2] = {&l.from, &l.to};
    for (int k = 0; k < 2; ++k) {
      Ref<TavBaseUnknown> o = ResolveId(doc, problems, l.line, l.column, k ? "'to'" : "'from'", *ids[k]);
      if (!o) return false;
      ends[k] = TavCast<HostActivity>(o->ExtendedObject());
      if (!ends[k])
        return problems.Fail(l.line, l.column, std::string(k ? "'to' " : "'from' ") + Quote(*ids[k]) + " is a " + KindOf(o) + ", not an activity");
    }
    if (ends[0] == ends[1]) return problems.Fail(l.line, l.column, "activity " + Quote(l.from) + " cannot be linked to itself");
    const bool sync = l.kind == LinkRecord::Constraint && l.type != TavConstraintType::Plain;
    auto& seen = flow ? flows : l.kind == LinkRecord::Precedence ? precedences : l.kind == LinkRecord::Constraint ? constraints : prevCycles;
    if (sync) {
      // A synchronisation is one pair, whichever activity the file names first.
      auto& pairs = syncs[l.type - 1];
      if (pairs.count({ends[1].get(), ends[0].get()}) || !pairs.insert({ends[0].get(), ends[1].get()}).second)
        return problems.Fail(l.line, l.column, "duplicate synchronisation of " + Quote(l.from) + " and " + Quote(l.to));
    } else if (!seen.insert({ends[0].get(), ends[1].get()}).second)
      return problems.Fail(l.line, l.column, std::string("duplicate ") + what + " from " + Quote(l.from) + " to " + Quote(l.to));
    switch (l.kind) {
      case LinkRecord::Flow:
        HostActivity::AppendNewFlow(ends[0], ends[1]);
        if (!l.id.empty()) {
          if (doc.FindById(l.id)) return problems.Fail(l.line, l.column, "duplicate id " + Quote(l.id));
          doc.Flows().Adopt(ends[0], ends[1], l.id);
        }
        break;
      case LinkRecord::Precedence: HostActivity::AppendNewPrecedence(ends[0], ends[1]); break;
      case LinkRecord::Constraint:
      case LinkRecord::PrevCycle:
        if (!ends[0]->Type()->IsA("Activity") || !ends[1]->Type()->IsA("Activity"))
          return problems.Fail(l.line, l.column, std::string("a ") + what + " joins activities, not flow nodes");
        if (sync) HostActivity::AppendNewSync(ends[0], ends[1], l.type);
        else HostActivity::AppendNewConstraint(ends[0], ends[1], l.kind == LinkRecord::PrevCycle);
        break;
      case LinkRecord::ProblemOnly: break;
    }
    if (!problems.Report(l.childProblem)) return false;
  }
  return true;
}

}  // namespace host::plant
