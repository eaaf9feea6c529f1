#pragma once
// A fresh MIRT_CONFIG_DIR (settings, preferences, saved queries) for one test, put
// back and removed afterwards, so tests neither see nor leave the user's settings.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

struct ConfigFolder {
  explicit ConfigFolder(const std::string& prefix = "mirt-config")
      : tmpl((std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string()),
        path(::mkdtemp(tmpl.data())),
        previous(std::getenv("MIRT_CONFIG_DIR") ? std::getenv("MIRT_CONFIG_DIR") : "") {
    ::setenv("MIRT_CONFIG_DIR", path.c_str(), 1);
  }
  ~ConfigFolder() {
    ::setenv("MIRT_CONFIG_DIR", previous.c_str(), 1);
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  ConfigFolder(const ConfigFolder&) = delete;
  ConfigFolder& operator=(const ConfigFolder&) = delete;
  // Where a setting repository of that name is kept.
  std::filesystem::path SettingsFile(const std::string& repository) const {
    return path / "settings" / (repository + ".repo");
  }

  std::string tmpl;
  std::filesystem::path path;
  std::string previous;
};
