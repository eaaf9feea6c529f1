#include "TavResources.h"

namespace {
TavPlantFileReader* g_reader = nullptr;
}

TavPlantFileReader* TavPlantFileReader::Get() { return g_reader; }
void TavPlantFileReader::Install(TavPlantFileReader* reader) { g_reader = reader; }

void TavDeclareResourceInterfaces() {
  TavInterfaceNames::Declare<TavIResource>();
  TavInterfaceNames::Declare<TavISPPControlIO>();
  TavInterfaceNames::Declare<TavISPPActivityModificationEvents>();
  TavInterfaceNames::Declare<TavIProductInstances>();
  TavInterfaceNames::Declare<TavIBlockMovable>();
  TavInterfaceNames::Declare<TavIProductInSession>();
  TavInterfaceNames::Declare<TavIResourceContexts>();
}
