#include "WexDDPHeader.h"

#include "WorkbenchTrace.h"

WexDDPHeader::WexDDPHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
                           const TavUnicodeString& className, void* argument, int initialState)
    : TavCommandHeader(identifier, moduleName, className, argument, initialState) {}

WexDDPHeader::WexDDPHeader(const TavUnicodeString& identifier, const TavUnicodeString& moduleName,
                           const TavUnicodeString& className, int initialState)
    : TavCommandHeader(identifier, moduleName, className, initialState) {}

WexDDPHeader::WexDDPHeader(const TavUnicodeString& identifier, const TavUnicodeString& className, int initialState)
    : TavCommandHeader(identifier, className, initialState) {}

WexDDPHeader::WexDDPHeader(const WexDDPHeader& other) = default;

std::unique_ptr<TavCommandHeader> WexDDPHeader::Clone() const {
  TavTraceScope trace(WorkbenchTrace(), "WexDDPHeader", "Clone");
  return std::make_unique<WexDDPHeader>(*this);
}

const TavUnicodeString& WexDDPHeader::GetResourceFile(int level) const {
  TavTraceScope trace(WorkbenchTrace(), "WexDDPHeader", "GetResourceFile");
  static const TavUnicodeString own("WexDDPHeader");
  if (level <= 0) return own;
  return TavCommandHeader::GetResourceFile(level - 1);
}

TavUnicodeString WexDDPHeader::GetFW() const {
  TavTraceScope trace(WorkbenchTrace(), "WexDDPHeader", "GetFW");
  return "OrvVekPlanner";
}
