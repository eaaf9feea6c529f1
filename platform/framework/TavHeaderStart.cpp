#include "TavHeaderStart.h"

#include "TavModules.h"

namespace {
// The object of the command started last, until it takes it or the next start. A host
// may start the command later (after the step that fired the header has settled).
struct Pending {
  const TavStateCommand* command = nullptr;
  std::unique_ptr<TavHeaderArgument> argument;
};
Pending& Last() {
  static Pending pending;
  return pending;
}
}  // namespace

bool TavStartHeaderCommand(const TavCommandHeader& header, std::unique_ptr<TavHeaderArgument> argument, std::string* error) {
  const std::string cls = header.GetClassName().utf8();
  std::string module = header.GetModuleName().utf8();
  auto& registry = TavModuleRegistry::Get();
  // No module: whichever declares the class.
  if (module.empty())
    for (auto& [m, c] : registry.Classes())
      if (c == cls) {
        module = m;
        break;
      }
  auto cmd = registry.Create(module, cls, error);
  TavCommandHost* host = TavCommandHost::Get();
  if (!cmd || !host) {
    if (error && error->empty()) *error = "no host to start " + cls;
    return false;
  }
  Last() = {cmd.get(), std::move(argument)};
  const bool started = host->StartCommand(std::move(cmd), error);
  // A command that could not start takes its object with it.
  if (!started) Last() = {};
  return started;
}

std::unique_ptr<TavHeaderArgument> TavTakeHeaderArgument(const TavStateCommand& command) {
  if (Last().command != &command) return nullptr;
  auto arg = std::move(Last().argument);
  Last() = {};
  return arg;
}
