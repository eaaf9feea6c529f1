#pragma once
// A double click on a manufactured assembly: a kit opens the kit command on it,
// any other assembly the assembly command in edit mode. An assembly marked not
// directly changeable opens nothing; an error window says why.
#include "TavMfgAssy.h"
#include "TavStates.h"

class OrvMfgAssyEdit final : public virtual TavIEditExtension {
public:
  static constexpr const char* kLateType = "OrvMfgAssy";
  explicit OrvMfgAssyEdit(Ref<TavBaseUnknown> ma) : ma_(std::move(ma)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return ma_; }
  // S_OK when an editor opened; S_FALSE when the assembly is not directly changeable
  // (the error window shown); E_FAIL without an assembly or when no command can start.
  HRESULT Activate(const TavPathElement& path) override;
  // The error window's text for an assembly that is not directly changeable.
  static TavUnicodeString NotChangeableText(const Ref<OrvIMfgAssembly>& ma);
  static void Register();

private:
  Ref<TavBaseUnknown> ma_;
};
