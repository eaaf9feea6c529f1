#include "TavSettingComponents.h"

#include <mutex>
#include <set>

namespace {
std::mutex guard;
std::set<std::string>& Missing() {
  static std::set<std::string> missing;
  return missing;
}
}  // namespace

bool TavSettingComponents::CanCreate(const std::string& repository) {
  std::lock_guard lock(guard);
  return Missing().count(repository) == 0;
}

void TavSettingComponents::SetUnavailable(const std::string& repository, bool unavailable) {
  std::lock_guard lock(guard);
  if (unavailable) Missing().insert(repository);
  else Missing().erase(repository);
}
