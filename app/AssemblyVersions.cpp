#include "AssemblyVersions.h"

#include <iostream>

#include "HostUndo.h"
#include "OrvMARefEbomCmd.h"
#include "OrvVekASTViewerAddMACmd.h"
#include "OrvVekMAVersioningCmd.h"
#include "OrvVekSetMAExternallyProducedCmd.h"
#include "PlantDocument.h"
#include "TavMfgVersioning.h"
#include "VerbPlant.h"
#include "Verbs.h"

namespace mirt {

std::string AssemblyVersionOptions::Given() const {
  std::vector<std::string> given;
  if (modified) given.push_back("--modified");
  if (allModified) given.push_back("--all-modified");
  if (!newVersion.empty()) given.push_back("--new-version");
  if (!linkEbom.empty()) given.push_back("--link-ebom");
  if (!unlinkEbom.empty()) given.push_back("--unlink-ebom");
  if (!toggleExternallyProduced.empty()) given.push_back("--toggle-externally-produced");
  if (!addChild.empty()) given.push_back("--add-child");
  if (given.size() > 1) throw VerbError(given[0] + " and " + given[1] + " cannot be given together");
  return given.empty() ? "" : given[0];
}

namespace {

std::string Names(const std::vector<Ref<OrvIMfgAssembly>>& list) {
  std::string s;
  for (auto& m : list) s += (s.empty() ? "" : ", ") + m->GetName().utf8();
  return s;
}

Ref<OrvIMfgAssembly> AssemblyAt(const host::HostDocument& doc, const std::string& path, const std::string& option) {
  auto leaf = doc.Resolve(path).GetLeaf();
  auto ma = query<OrvIMfgAssembly>(leaf);
  if (!ma) throw VerbError(option + ": '" + path + "' is " + (leaf ? "no manufactured assembly" : "not in the plant"));
  return ma;
}

Json List(host::HostDocument& doc, const std::vector<Ref<OrvIMfgAssembly>>& list) {
  Json out = Json::array();
  for (auto& m : list)
    out.push_back({{"name", m->GetName().utf8()}, {"path", doc.PathString(m)},
                   {"version", query<OrvIMfgAssemblyReference>(m)->GetVersion()}});
  return out;
}

}  // namespace

int RunAssemblyVersions(const std::string& plant, const std::string& target, const AssemblyVersionOptions& v, Format format) {
  VerbSession session(plant);
  auto& doc = *session.doc;
  auto container = OrvVekMfgAssyVersioningUtilities::GetMBNContainer(session.doc);
  const auto all = container ? container->GetAssemblies() : std::vector<Ref<OrvIMfgAssembly>>{};
  const auto modified = all.empty() ? all : OrvVekMAVersioningCmd::ModifiedMAs(container);
  OrvVekMAVersioningIndex index(all);
  const std::string op = v.Given();

  if (op == "--modified") {
    const auto indirect = index.IndirectMAs(modified);
    if (format == Format::Json) {
      PrintJson(std::cout, {{"plant", plant}, {"modified", List(doc, modified)}, {"containing", List(doc, indirect)}});
    } else {
      std::cout << "modified: " << modified.size() << '\n';
      for (auto& m : modified) std::cout << "  " << doc.PathString(m) << '\n';
      std::cout << "containing them: " << indirect.size() << '\n';
      for (auto& m : indirect) std::cout << "  " << doc.PathString(m) << '\n';
    }
    return 0;
  }

  std::string done;
  {
    host::UndoScope job(doc);
    if (op == "--new-version" || op == "--all-modified") {
      std::vector<Ref<OrvIMfgAssembly>> chosen;
      if (op == "--all-modified") chosen = modified;
      else
        for (auto& path : v.newVersion) chosen.push_back(AssemblyAt(doc, path, "--new-version"));
      // As the dialog's OK: the chosen ones and those containing them, contents first.
      auto toVersion = chosen;
      for (auto& m : index.IndirectMAs(chosen)) toVersion.push_back(m);
      toVersion = OrvVekUniqueMAs(toVersion);
      std::vector<Ref<OrvIMfgAssembly>> versioned, failed;
      OrvVekMAVersioningCmd::VersionModMAs(toVersion, toVersion, versioned, &failed);
      if (!failed.empty()) throw VerbError("no new version could be made of " + Names(failed) + "; nothing was written");
      done = "new versions: " + (versioned.empty() ? std::string("none") : Names(versioned));
    } else if (op == "--link-ebom") {
      auto ma = AssemblyAt(doc, v.linkEbom[0], "--link-ebom");
      auto product = doc.Resolve(v.linkEbom[1]).GetLeaf();
      if (query<OrvIMfgAssemblyReference>(ma)->GetTypeName() == TavUnicodeString("Manufacturing Kit"))
        throw VerbError("--link-ebom: '" + v.linkEbom[0] + "' is a manufacturing kit: only assemblies realise a product");
      if (!OrvMARefEbomCmd::IsReferenceProduct(product) || FAILED(query<OrvIMfgAssemblyReference>(ma)->LinkRefEbom(product)))
        throw VerbError("--link-ebom: '" + v.linkEbom[1] + "' is no engineering product of the plant");
      done = ma->GetName().utf8() + " realises " + doc.PathString(product);
    } else if (op == "--unlink-ebom") {
      auto ma = AssemblyAt(doc, v.unlinkEbom, "--unlink-ebom");
      if (FAILED(query<OrvIMfgAssemblyReference>(ma)->UnlinkRefEbom()))
        throw VerbError("--unlink-ebom: '" + v.unlinkEbom + "' is linked to no product");
      done = ma->GetName().utf8() + " is linked to no product";
    } else if (op == "--toggle-externally-produced") {
      auto ma = AssemblyAt(doc, v.toggleExternallyProduced, "--toggle-externally-produced");
      OrvVekSetMAExternallyProducedCmd::Toggle(ma);
      done = ma->GetName().utf8() + (query<OrvIMfgAssemblyReference>(ma)->IsExternallyProduced() ? " is" : " is not") +
             " produced outside the plant";
    } else if (op == "--add-child") {
      auto ma = AssemblyAt(doc, v.addChild[0], "--add-child");
      OrvVekASTViewerAddMACmd::Made made;
      if (!OrvVekASTViewerAddMACmd::CreateMA(ma, v.addChild[1], made))
        throw VerbError("--add-child: no assembly could be made in '" + v.addChild[0] + "'");
      done = "made " + doc.PathString(made.assembly) +
             (made.operation ? " and " + doc.PathString(made.operation) : std::string(" (no operation produces its father)"));
    }
    job.Keep(op);
  }
  std::string error;
  if (!host::SavePlant(doc, target, error)) throw VerbError(error);
  if (format == Format::Json) PrintJson(std::cout, {{"plant", plant}, {"done", done}, {"output", target}});
  else std::cout << done << "\nsaved " << target << '\n';
  return 0;
}

}  // namespace mirt
