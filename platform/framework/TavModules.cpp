#include "TavModules.h"

#include <vector>

#include "TavCommand.h"

TavModuleRegistry& TavModuleRegistry::Get() {
  static TavModuleRegistry r;
  return r;
}

void TavModuleRegistry::Register(const std::string& module, const std::string& className, Factory f) {
  entries_[{module, className}] = Entry{std::move(f), false};
}

void TavModuleRegistry::RegisterPlaceholder(const std::string& module, const std::string& className, Factory f) {
  entries_.try_emplace({module, className}, Entry{std::move(f), true});
}

bool TavModuleRegistry::IsRegistered(const std::string& module, const std::string& className) const {
  return entries_.count({module, className}) > 0;
}

bool TavModuleRegistry::IsPlaceholder(const std::string& module, const std::string& className) const {
  auto it = entries_.find({module, className});
  return it != entries_.end() && it->second.placeholder;
}

std::unique_ptr<TavStateCommand> TavModuleRegistry::Create(const std::string& module, const std::string& className,
                                                           std::string* error) const {
  auto it = entries_.find({module, className});
  if (it == entries_.end() || !it->second.factory) {
    if (error) *error = "no command class '" + className + "' in module '" + module + "'";
    return nullptr;
  }
  try {
    auto cmd = it->second.factory();
    if (!cmd && error) *error = "the creation function of '" + className + "' returned no command";
    return cmd;
  } catch (const std::exception& e) {
    if (error) *error = "creating '" + className + "' failed: " + e.what();
    return nullptr;
  }
}

std::vector<std::pair<std::string, std::string>> TavModuleRegistry::Classes() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (auto& [k, e] : entries_) out.push_back(k);
  return out;
}
