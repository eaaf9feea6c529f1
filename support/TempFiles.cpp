#include "TempFiles.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace support {

namespace {

enum : int { kFree = 0, kFilling = 1, kLive = 2 };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots' state");

// Constant-initialised: no code runs before main for these.
Slot g_slots[64];
constexpr const auto& kSignals = kTempFileSignals;
struct sigaction g_previous[std::size(kSignals)];
bool g_installed = false;

void RemoveAll() {
  for (auto& s : g_slots)
    if (s.state.load() == kLive) ::unlink(s.path);
}

void OnSignal(int sig, siginfo_t* info, void* context) {
  const int saved = errno;
  RemoveAll();
  std::size_t i = 0;
  while (i < std::size(kSignals) && kSignals[i] != sig) ++i;
  const struct sigaction& before = g_previous[i];
  if (before.sa_flags & SA_SIGINFO) {
    if (before.sa_sigaction) before.sa_sigaction(sig, info, context);
  } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
    before.sa_handler(sig);
  } else {
    // The default action, as if this handler had never been there: the signal
    // is blocked while we run, so it is delivered again as soon as we return.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
  }
  errno = saved;
}

void InstallOnce() {
  if (g_installed) return;
  g_installed = true;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    struct sigaction now {};
    if (::sigaction(kSignals[i], nullptr, &now) != 0) continue;
    if (!(now.sa_flags & SA_SIGINFO) && now.sa_handler == SIG_IGN) continue;
    g_previous[i] = now;
    struct sigaction ours {};
    ours.sa_sigaction = OnSignal;
    ours.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&ours.sa_mask);
    ::sigaction(kSignals[i], &ours, nullptr);
  }
}

}  // namespace

int RegisterTempFile(const char* path) {
  if (std::strlen(path) >= PATH_MAX) return -1;
  InstallOnce();
  for (int i = 0; i < static_cast<int>(std::size(g_slots)); ++i) {
    int expected = kFree;
    if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::strcpy(g_slots[i].path, path);
    g_slots[i].state.store(kLive);
    return i;
  }
  return -1;
}

void UnregisterTempFile(int slot) {
  if (slot >= 0 && slot < static_cast<int>(std::size(g_slots))) g_slots[slot].state.store(kFree);
}

}  // namespace support
