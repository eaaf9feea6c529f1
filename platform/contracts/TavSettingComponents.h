#pragma once
// Setting components are created on demand and an installation may lack one: a
// command asks before it reads or writes the settings it depends on. The host
// decides which are missing (its test hook takes one away for the session).
#include <string>

class TavSettingComponents {
public:
  static bool CanCreate(const std::string& repository);
  static void SetUnavailable(const std::string& repository, bool unavailable);
};
