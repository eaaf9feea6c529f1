#pragma once
// A process with one parent activity and its children, open in a session, for the
// linking tests; helpers to read its flow.
#include <string>

#include "HostModel.h"
#include "HostRuntime.h"

struct LinkPlant {
  host::HostSession session;
  Ref<host::HostDocument> doc;
  Ref<host::HostRootActivity> root;
  Ref<host::HostActivity> parent;

  explicit LinkPlant(bool hub = false) : doc(host::HostDocument::Create(hub)) {
    root = doc->CreateRootProcess("proc", "Process");
    parent = Add(root, "Cell");
    session.OpenDocument(doc);
  }
  Ref<host::HostActivity> Add(const Ref<host::HostActivity>& father, const std::string& label,
                              const std::string& type = "PhysicalActivity") {
    return doc->CreateActivity(father, type, "", label);
  }
  Ref<host::HostActivity> Child(const std::string& label, const std::string& type = "PhysicalActivity") {
    return Add(parent, label, type);
  }
  static bool Linked(const Ref<host::HostActivity>& a, const Ref<host::HostActivity>& b) {
    for (auto& n : a->GetNextNodes())
      if (n == b) return true;
    return false;
  }
  // Every link below the parent, "A>B" in child order, space-separated.
  std::string Flow() const {
    std::string out;
    for (auto& c : parent->Children())
      for (auto& n : c->GetNextNodes())
        out += (out.empty() ? "" : " ") + c->GetLabel().utf8() + ">" + std::dynamic_pointer_cast<host::HostActivity>(n)->GetLabel().utf8();
    return out;
  }
  std::string Children() const {
    std::string out;
    for (auto& c : parent->Children()) out += (out.empty() ? "" : " ") + c->GetLabel().utf8();
    return out;
  }
};
