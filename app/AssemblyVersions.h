#pragma once
// The versioning side of `mirt assemblies`: the modified assemblies, new versions,
// reference links, the externally-produced mark and new child assemblies.
#include <string>
#include <vector>

#include "Output.h"

namespace mirt {

struct AssemblyVersionOptions {
  bool modified = false, allModified = false;
  std::vector<std::string> newVersion, linkEbom, addChild;
  std::string unlinkEbom, toggleExternallyProduced;
  // Which of them was given; "" for none.
  std::string Given() const;
};

// Runs the one given: prints the modified assemblies, or changes the plant and saves it
// to `target`. Throws VerbError naming what is wrong; nothing is written then.
int RunAssemblyVersions(const std::string& plant, const std::string& target, const AssemblyVersionOptions& v, Format format);

}  // namespace mirt
