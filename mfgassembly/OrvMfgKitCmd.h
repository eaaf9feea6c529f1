#pragma once
// Creates a manufacturing kit from picked products, resources and assemblies, or
// edits one: the assembly rules, with a type column, the resource tree allowed,
// WSC products refused, and a plan type chosen among the session's kit plan types.
#include "OrvMfgAssyCmd.h"

class OrvMfgKitCmd : public OrvMfgAssyCmd {
public:
  static constexpr const char* kPlanTypeName = "ergocompmanufacturingkit";
  explicit OrvMfgKitCmd(Ref<OrvIMfgAssembly> kit = nullptr) : OrvMfgAssyCmd("OrvMfgKitCmd", std::move(kit)) {}
  // The session's plan types for kits, in catalogue order; none without a catalogue.
  static std::vector<TavUnicodeString> KitPlanTypes();

protected:
  const char* Title() const override { return "OrvMfgKit"; }
  const char* InitialStateName() const override { return "InitialState"; }
  std::string DialogMode() override;
  bool AcceptProduct(const Ref<TavIProduct>& product, TavUnicodeString& why) override;
  bool AcceptAssembly(const Ref<OrvIMfgAssembly>& ma, TavUnicodeString& why) override;
  TavUnicodeString TypeTextOf(const Ref<TavBaseUnknown>& object) override;
  void SetValues(const Ref<OrvIMfgAssembly>& ma, const TavUnicodeString& name) override;
  void RefreshLists() override;

private:
  std::vector<TavUnicodeString> planTypes_;
};

std::unique_ptr<TavStateCommand> fctCreateOrvMfgKitCmd();
