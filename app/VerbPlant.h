#pragma once
// Plants loaded, changed and saved by batch verbs.
#include <string>

#include <CLI/CLI.hpp>

#include "HostEngine.h"
#include "PlantDocument.h"

namespace mirt {

// Loads a plant for a batch verb and keeps its model until the process ends: the
// operating system takes the memory back at once, where taking a 10^6-object model
// apart object by object costs seconds. Sanitizer builds still take it apart when
// the verb lets go of it, so the leak checker sees the whole teardown.
Ref<host::HostDocument> LoadPlantForVerb(const std::string& path, std::string& error);

// The options of a verb that rewrites a plant: -o OUT, or --in-place.
void AddPlantOutputOptions(CLI::App& sub, std::string& out, bool& inPlace);
// Where such a verb saves: OUT, or the plant itself with --in-place. Throws VerbError
// for neither, both, or an output that is one of the inputs.
std::string PlantOutput(const std::string& plant, const std::string& out, bool inPlace);

// The activity a verb works on: the one at `rootPath`, or the plant's first process
// when it is empty. Throws VerbError: "the plant has no process to WHAT", "--root:
// nothing at 'P'", "--root: 'P' is no activity" followed by `notActivity`.
Ref<host::HostActivity> RootActivityForVerb(const host::HostDocument& doc, const std::string& rootPath,
                                            const std::string& what, const std::string& notActivity = {});

// Every node of the plant's processes: each root activity, then its descendants,
// a father before its children (control nodes included).
std::vector<Ref<TavBaseUnknown>> ProcessNodes(const host::HostDocument& doc);

// One plant open as the current document, with the engine its commands need.
// Throws VerbError naming the file when the plant cannot be loaded.
struct VerbSession {
  explicit VerbSession(const std::string& plant);
  host::HostSession session;
  host::HostEngine engine;
  Ref<host::HostDocument> doc;
};

}  // namespace mirt
