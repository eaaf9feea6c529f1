#pragma once
// A plant open in a host session for one test. The windows a test opened close
// with it, while the session still stands: the frame would otherwise drop them
// later, after the test's callbacks are gone.
#include <string>

#include "HostRuntime.h"
#include "HostWindows.h"
#include "PlantText.h"

struct PlantSession {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  Ref<host::HostEditor> editor;

  explicit PlantSession(Ref<host::HostDocument> d) : doc(std::move(d)), editor(session.OpenDocument(doc)) {}
  explicit PlantSession(const std::string& plantText) : PlantSession(LoadPlantText(plantText)) {}
  ~PlantSession() {
    for (auto& w : host::HostWindows::Get().Windows()) host::HostWindows::Get().Close(w);
  }
  PlantSession(const PlantSession&) = delete;
  PlantSession& operator=(const PlantSession&) = delete;
  Ref<TavBaseUnknown> At(const std::string& path) const { return doc->Resolve(path).GetLeaf(); }
};
