#include "WorkbenchModule.h"

#include "MirtCommands.h"
#include "MirtFactory.h"
#include "TavIMirtConfigurationAddin.h"
#include "TavMarkerWB.h"
#include "TavMirtWorkbenchInit.h"

void RegisterWorkbenchModule() {
  TavInterfaceNames::Declare<TavIMirtConfigurationFactory>();
  TavInterfaceNames::Declare<TavIMirtConfigurationAddin>();
  TavWorkbenchDictionary::Declare("WSPROC", "Mirt", TavIMirtConfigurationFactory::kInterfaceName);

  auto& ext = TavExtensionRegistry::Get();
  ext.Register(kTavApplicationFrameLateType, TavIMirtConfigurationFactory::kInterfaceName,
               [](const Ref<TavBaseUnknown>& frame) -> Ref<TavBaseUnknown> { return std::make_shared<MirtFactory>(frame); });
  ext.Register("Mirt_mark", TavIMarkerWorkbench::kInterfaceName,
               [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> { return std::make_shared<TavMarkerWB>(o); });
  auto init = [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> { return std::make_shared<TavMirtWorkbenchInit>(o); };
  ext.Register("Mirt_init", TavIWorkbenchInitialization::kInterfaceName, init);
  ext.Register("Mirt_trans", TavIWorkbenchTransition::kInterfaceName, init);
  RegisterMirtCommandPlaceholders();
}
