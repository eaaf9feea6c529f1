#pragma once
// Hands the picked manufactured assemblies (the deep variant: with every assembly
// they contain) to the hub's MA-context import command.
#include <memory>

#include "TavCommand.h"
#include "TavPPR.h"

class OrvVekImportSelectedASTFromHubCmd : public TavStateCommand {
public:
  static constexpr const char* kImportHeader = "WexPrcImportMAContextHdr";
  explicit OrvVekImportSelectedASTFromHubCmd(bool deep = false, std::string name = "OrvVekImportSelectedASTFromHubCmd")
      : TavStateCommand(std::move(name)), deep_(deep) {}
  void BuildGraph() override;
  // The list handed over: the picks' assemblies, with their sub-assemblies when deep,
  // each once.
  static std::vector<Ref<OrvIMfgAssembly>> ImportList(const std::vector<Ref<OrvIMfgAssembly>>& picked, bool deep);

private:
  bool ImportThisASTFromHubCmd();
  bool deep_;
  std::unique_ptr<TavPathElementAgent> agent_;
};

class OrvVekDeepImpSelASTFromHubCmd final : public OrvVekImportSelectedASTFromHubCmd {
public:
  OrvVekDeepImpSelASTFromHubCmd() : OrvVekImportSelectedASTFromHubCmd(true, "OrvVekDeepImpSelASTFromHubCmd") {}
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekImportSelectedASTFromHubCmd();
std::unique_ptr<TavStateCommand> fctCreateOrvVekDeepImpSelASTFromHubCmd();
