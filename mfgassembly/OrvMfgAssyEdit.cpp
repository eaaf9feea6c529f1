#include "OrvMfgAssyEdit.h"

#include "OrvMfgAssyCmd.h"
#include "OrvMfgKitCmd.h"
#include "OrvVekMfgAssyUtilities.h"

namespace {
TavUnicodeString Msg(const std::string& key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvMfgAssyCmd::kCatalog, key, {}, fallback);
}
}  // namespace

void OrvMfgAssyEdit::Register() {
  TavExtensionRegistry::Get().Register(kLateType, TavIEditExtension::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& ma) -> Ref<TavBaseUnknown> {
                                         return std::make_shared<OrvMfgAssyEdit>(ma);
                                       });
}

TavUnicodeString OrvMfgAssyEdit::NotChangeableText(const Ref<OrvIMfgAssembly>& ma) {
  TavUnicodeString word;
  switch (ma->GetType()) {
    case 1: word = Msg("ASTErrorWindow.mAssembly", "manufactured assembly"); break;
    case 2: word = Msg("ASTErrorWindow.mKit", "manufacturing kit"); break;
    case 3: word = Msg("ASTErrorWindow.mOutput", "manufactured assembly output"); break;
    case 4: word = Msg("ASTErrorWindow.mAST", "AST"); break;
    default: word = Msg("ASTErrorWindow.default", "assembly"); break;
  }
  return Msg("ASTErrorWindow.Message1", "The") + " " + word + " " + ma->GetName() + " " +
         Msg("ASTErrorWindow.Message2", "is not directly changeable.") + "\n" +
         Msg("ASTErrorWindow.Message3", "Change it through the command that made it.");
}

HRESULT OrvMfgAssyEdit::Activate(const TavPathElement& path) {
  auto ma = OrvVekMfgAssyUtilities::AssemblyOf(path, ma_);
  if (!ma) return E_FAIL;
  if (ma->IsNotDirectlyChangeable()) {
    TavDlgNotify box(nullptr, "ASTErrorWindow", TavDlgNotify::Error);
    box.DisplayBox(Msg("ASTErrorWindow.Title", "Error"), NotChangeableText(ma));
    box.DisplayBlocked();
    return S_FALSE;
  }
  auto* host = TavCommandHost::Get();
  if (!host) return E_FAIL;
  std::unique_ptr<TavStateCommand> cmd;
  if (ma->GetTypeText() == "ManufacturingKit") cmd = std::make_unique<OrvMfgKitCmd>(ma);
  else cmd = std::make_unique<OrvMfgAssyCmd>(ma);
  std::string error;
  return host->StartCommand(std::move(cmd), &error) ? S_OK : E_FAIL;
}
