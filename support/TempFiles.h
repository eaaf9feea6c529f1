#pragma once
// Temporary files that a signal must not leave behind. The registry is a fixed
// table that the signal handler reads without locks or allocation; the handler
// removes every registered file, then lets the signal do what it did before
// (the default action ends the program, re-raised so the exit status tells).
// Installed for SIGINT, SIGTERM, SIGHUP and SIGPIPE the first time a file is
// registered; a signal the program ignores stays ignored.

#include <signal.h>

namespace support {

// The signals that remove the registered files. A writer blocks them while it
// makes and registers a temporary file, so no signal falls between the two.
inline constexpr int kTempFileSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Returns the file's slot, or -1 when the table is full (the file then is only
// removed by its writer). `path` is copied.
int RegisterTempFile(const char* path);
void UnregisterTempFile(int slot);

}  // namespace support
