#include "VerbPlant.h"

#include <vector>

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

}  // namespace mirt
