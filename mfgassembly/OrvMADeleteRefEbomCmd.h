#pragma once
// Removes the link of a manufactured assembly to its engineering product: pick the
// assembly (a kit sends the command back to the pick).
#include "OrvMARefEbomCommon.h"

class OrvMADeleteRefEbomCmd : public OrvMARefEbomCommon {
public:
  OrvMADeleteRefEbomCmd() : OrvMARefEbomCommon("OrvMADeleteRefEbomCmd") {}
  void BuildGraph() override { BuildMASelection(GetInitialState("SelectMA"), [this] { return RemoveLink(); }); }

private:
  // A link there is none of leaves the assembly as it was; the command ends without a message.
  bool RemoveLink() { return Assembly() && SUCCEEDED(Assembly()->UnlinkRefEbom()); }
};

std::unique_ptr<TavStateCommand> fctCreateOrvMADeleteRefEbomCmd();
