#pragma once
// The factory the host asks for the workbench Mirt; an extension of the
// application frame.
#include "TavIMirtConfigurationFactory.h"

class MirtFactory : public TavWorkshopConfigurationFactory, public virtual TavIMirtConfigurationFactory {
public:
  explicit MirtFactory(Ref<TavBaseUnknown> applicationFrame = nullptr)
      : TavWorkshopConfigurationFactory(std::move(applicationFrame)) {}

  // True exactly for "Mirt" (case-sensitive).
  bool Support(const TavUnicodeString& name) override;
  // A new workbench's interface of that name; null when the workbench does not offer it.
  Ref<TavBaseUnknown> Create(const TavUnicodeString& interfaceName) override;
};
