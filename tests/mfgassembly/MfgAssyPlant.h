#pragma once
// The assembly plant (a body with four parts, a station with a robot, nested
// assemblies DoorAssy > HingeAssy inside SideAssy, a kit) open in a session with
// an engine, and helpers to drive the assembly and kit commands.
#include <gtest/gtest.h>

#include "EnginePlant.h"
#include "OrvMfgAssyCmd.h"

struct MfgAssyPlant : EnginePlant {
  virtual const char* PlantFile() const { return "ma-plant.xml"; }
  void SetUp() override { Open(std::string("mfgassembly/data/") + PlantFile()); }
  Ref<OrvIMfgAssembly> MA(const std::string& id) const { return query<OrvIMfgAssembly>(Obj(id)); }
  bool PickPath(const TavPathElement& p) { return engine.Pick(p, &err); }

  // Starts a command; returns it typed.
  template <class C>
  C* Start(std::unique_ptr<C> c) {
    C* raw = c.get();
    EXPECT_TRUE(engine.StartCommand(std::move(c), &err)) << err;
    return raw;
  }
  static void Push(TavDlgPushButton* b) { b->Notify(TavDlgNotification::Activate); }
  static void Type(TavDlgEditor* e, const std::string& text) { e->SetText(text, true); }

  // Names of the assemblies in the container, in order.
  std::string Assemblies() const {
    std::string s;
    for (auto& a : OrvEMfgAssemblyFactory::GetMAsInContainer(doc)) s += (s.empty() ? "" : " ") + a->GetName().utf8();
    return s;
  }
  // An assembly's content by name, in order.
  static std::string Content(const Ref<OrvIMfgAssembly>& ma) {
    std::vector<Ref<TavBaseUnknown>> parts;
    if (ma) ma->GetParts(parts);
    std::string s;
    for (auto& p : parts) {
      std::string n;
      if (auto a = query<OrvIMfgAssembly>(p)) n = a->GetName().utf8();
      else if (auto pr = query<TavIProduct>(p)) n = pr->GetName().utf8();
      s += (s.empty() ? "" : " ") + n;
    }
    return s;
  }
  static Ref<OrvIMfgAssembly> Named(const std::string& name) {
    for (auto& a : OrvEMfgAssemblyFactory::GetMAsInContainer(nullptr))
      if (a->GetName().utf8() == name) return a;
    return nullptr;
  }
  // The rows of the dialog's list as "Type|Name".
  static std::string Rows(OrvMfgAssyDialog* d) {
    std::string s;
    auto* l = d->PartsList();
    for (int i = 0; i < l->GetLineCount(); ++i)
      s += (s.empty() ? "" : " ") + l->GetColumnItem(0, i).utf8() + "|" + l->GetColumnItem(1, i).utf8();
    return s;
  }
  std::vector<std::string> MessageNames() const {
    std::vector<std::string> v;
    for (auto& m : engine.Messages()) v.push_back(m.name);
    return v;
  }
};
