#pragma once
// Xerces-C++ must be initialised before any parser or DOM object is made.
#include <xercesc/util/PlatformUtils.hpp>

namespace support {

// Initialises Xerces the first time it is called; later calls do nothing. Xerces
// counts initialisations, so code that pairs its own Initialize/Terminate keeps
// working beside this. The library stays up until the process ends. Not thread-safe:
// everything runs on the one user-interface thread.
inline void EnsureXerces() {
  static bool initialised = false;
  if (initialised) return;
  xercesc::XMLPlatformUtils::Initialize();
  initialised = true;
}

}  // namespace support
