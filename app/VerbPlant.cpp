#include "VerbPlant.h"

#include <vector>

#include "FileWriter.h"
#include "Verbs.h"

namespace mirt {

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeep = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kKeep = false;
#else
constexpr bool kKeep = true;
#endif
#else
constexpr bool kKeep = true;
#endif
}  // namespace

Ref<host::HostDocument> LoadPlantForVerb(const std::string& path, std::string& error) {
  Ref<host::HostDocument> doc = host::LoadPlant(path, error);
  if (doc && kKeep) {
    // Never destroyed: reachable from here until exit.
    static auto* kept = new std::vector<Ref<host::HostDocument>>;
    kept->push_back(doc);
  }
  return doc;
}

void AddPlantOutputOptions(CLI::App& sub, std::string& out, bool& inPlace) {
  sub.add_option("-o,--output", out, "Where to save the plant");
  sub.add_flag("--in-place", inPlace, "Overwrite the input plant");
}

std::string PlantOutput(const std::string& plant, const std::string& out, bool inPlace) {
  if (out.empty() && !inPlace) throw VerbError("give the output with -o OUT, or --in-place to rewrite " + plant);
  if (!out.empty() && inPlace) throw VerbError("-o and --in-place exclude each other");
  if (std::string clash = support::OutputIsInput(out, {plant}); !clash.empty())
    throw VerbError(clash + "; use --in-place to overwrite it");
  return inPlace ? plant : out;
}

VerbSession::VerbSession(const std::string& plant) {
  std::string error;
  doc = LoadPlantForVerb(plant, error);
  if (!doc) throw VerbError(error);
  session.OpenDocument(doc);
}

Ref<host::HostActivity> RootActivityForVerb(const host::HostDocument& doc, const std::string& rootPath,
                                            const std::string& what, const std::string& notActivity) {
  if (rootPath.empty()) {
    if (doc.Process().roots_.empty()) throw VerbError("the plant has no process to " + what);
    return doc.Process().roots_.front();
  }
  auto leaf = doc.Resolve(rootPath).GetLeaf();
  if (!leaf) throw VerbError("--root: nothing at '" + rootPath + "'");
  auto root = std::dynamic_pointer_cast<host::HostActivity>(leaf->ExtendedObject());
  if (!root) throw VerbError("--root: '" + rootPath + "' is no activity" + notActivity);
  return root;
}

std::vector<Ref<TavBaseUnknown>> ProcessNodes(const host::HostDocument& doc) {
  std::vector<Ref<TavBaseUnknown>> out;
  for (auto& root : doc.Process().GetRootActivities()) {
    out.push_back(root);
    if (auto cm = query<TavISPPChildManagement>(root))
      for (auto& c : cm->GetAllChildren()) out.push_back(c);
  }
  return out;
}

}  // namespace mirt
