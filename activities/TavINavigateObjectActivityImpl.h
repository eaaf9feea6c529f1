#pragma once
// How the host's trees show a process document's activity libraries: a library
// container names its library and lists the types worth offering; a type node
// takes its type's icon.
#include "TavNavigBox.h"

class TavINavigateObjectActivityImpl final : public virtual TavINavigateObjectActivity {
public:
  explicit TavINavigateObjectActivityImpl(Ref<TavBaseUnknown> container) : container_(std::move(container)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return container_; }
  // The library's name: its environment's name for it (outside the hub), else its
  // display name, else its storage name.
  std::vector<TavUnicodeString> GetIdentificators() const override;
  // The library's types that have a super type which is "PhysicalActivity" or lives
  // in another document; none for a workbench ("feat") library.
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override;

private:
  Ref<TavBaseUnknown> container_;
};

class TavNavigModifyActivity final : public virtual TavINavigModify {
public:
  void UpdateElem(TavNavigNode& node) override;
};

// Registers both on the host's late types "SPPLibCont" and "LibraryActivity_node".
void RegisterActivityLibraryNavigation();
