#include "TavActivityLib.h"

namespace {
OrvVekPlantypeCache* g_cache = nullptr;
}

OrvVekPlantypeCache* OrvVekPlantypeCache::GetInstance() { return g_cache; }
void OrvVekPlantypeCache::Install(OrvVekPlantypeCache* cache) { g_cache = cache; }

void TavDeclareActivityLibInterfaces() {
  TavInterfaceNames::Declare<TavLibraryDocument>();
  TavInterfaceNames::Declare<TavIActivityType>();
  TavInterfaceNames::Declare<TavIActivityLibrary>();
  TavInterfaceNames::Declare<TavIActivityLibraryMgt>();
  TavInterfaceNames::Declare<OrvIMHIPlanType>();
  TavInterfaceNames::Declare<OrvIMHIPlanTypeObject>();
  TavInterfaceNames::Declare<OrvIBehaviorContainer>();
  TavInterfaceNames::Declare<TavINavigateObjectActivity>();
  TavInterfaceNames::Declare<TavISPPLogicalActivity>();
}
