#include "TavVisu.h"

void TavDeclareVisuInterfaces() {
  TavInterfaceNames::Declare<TavI3DGeoVisu>();
  TavInterfaceNames::Declare<TavIVisProperties>();
  TavInterfaceNames::Declare<TavIVisuManager>();
}
