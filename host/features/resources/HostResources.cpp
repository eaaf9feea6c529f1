#include "HostResources.h"

namespace host {

void RegisterResourcesHost() {
  RegisterResourceTypes();
  RegisterResourceFactory();
  RegisterResourceLinks();
  RegisterResourcePlaces();
}

}  // namespace host
