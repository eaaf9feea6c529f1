#pragma once
// A running host with the workbench module registered, a document of the chosen
// kind, and the workbench switches cleared (restored afterwards).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "HostRuntime.h"
#include "HostWorkbench.h"
#include "WorkbenchModule.h"

inline constexpr const char* kWorkbenchSwitches[] = {
    "VEK_ENABLE_KWFENN_TOOLBAR", "VEK_VERSION_REPORT_CMD", "VEK_STATIC_VERIFICATION_CMD", "VEK_MfgAssy_ODT_CMD",
    "WexVEK_ACTIVITY_INCRLOAD",  "ADL_ODT_IN",             "VEK_ENABLE_ZARNET"};

// Saves the variables it touches and puts them back on destruction.
class EnvGuard {
public:
  EnvGuard() {
    for (const char* v : kWorkbenchSwitches) Unset(v);
  }
  ~EnvGuard() {
    for (auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, const std::string& value) {
    Save(name);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Save(name);
    ::unsetenv(name.c_str());
  }

private:
  void Save(const std::string& name) {
    if (saved_.count(name)) return;
    const char* v = std::getenv(name.c_str());
    saved_[name] = v ? std::optional<std::string>(v) : std::nullopt;
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

class WorkbenchTest : public ::testing::Test {
protected:
  WorkbenchTest() { RegisterWorkbenchModule(); }

  Ref<host::HostEditor> Open(bool hub) { return session.OpenDocument(host::HostDocument::Create(hub)); }

  // Enters Mirt (in a new local document when none is open) and returns its layout.
  const TavWorkbenchLayout& Enter() {
    if (!session.CurrentDocument()) Open(false);
    std::string error;
    EXPECT_TRUE(workbenches.Enter("Mirt", &error)) << error;
    static const TavWorkbenchLayout empty;
    const TavWorkbenchLayout* l = workbenches.CurrentLayout();
    return l ? *l : empty;
  }

  static bool Available(const char* id) {
    TavCommandHeader* h = TavCommandHeader::GetHeaderFromList(id, 0);
    EXPECT_NE(h, nullptr) << id;
    return h && h->IsAvailable();
  }

  EnvGuard env;
  host::HostSession session;
  host::HostWorkbenches workbenches;
};
