#include "TavDevices.h"

void TavDeclareDeviceInterfaces() {
  TavInterfaceNames::Declare<OrvIDeviceManager>();
  TavInterfaceNames::Declare<OrvITask>();
}
