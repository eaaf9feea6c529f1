#pragma once
// The linker for hub processes that are partially read-only with a persistent
// control flow: the nodes are locked before the link and the link is logged.
#include "OrvVekLinkCommand.h"

class OrvVekLinkActCmd : public OrvVekLinkCommand {
public:
  OrvVekLinkActCmd() : OrvVekLinkCommand("OrvVekLinkActCmd") {}

protected:
  bool Link() override;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekLinkActCmd();
