#pragma once
// The header class of every header of the workbench: its titles, help texts and
// icons come first from the "WexDDPHeader" resources, then from the base header's.
#include "TavWorkbench.h"

class WexDDPHeader : public TavCommandHeader {
public:
  WexDDPHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
               const TavUnicodeString& className, void* argument, int initialState);
  WexDDPHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
               const TavUnicodeString& className, int initialState);
  WexDDPHeader(const TavUnicodeString& identifier, const TavUnicodeString& className, int initialState);
  WexDDPHeader(const WexDDPHeader& other);

  std::unique_ptr<TavCommandHeader> Clone() const override;
  const TavUnicodeString& GetResourceFile(int level) const override;
  TavUnicodeString GetFW() const override;
};
