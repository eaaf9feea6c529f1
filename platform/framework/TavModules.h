#pragma once
// Command classes are created by (load module, class name) through their
// fctCreate<ClassName> functions, registered here.
#include <functional>
#include <map>
#include <memory>
#include <string>

class TavStateCommand;

class TavModuleRegistry {
public:
  using Factory = std::function<std::unique_ptr<TavStateCommand>()>;
  static TavModuleRegistry& Get();

  // A real command class; replaces a placeholder of the same name.
  void Register(const std::string& module, const std::string& className, Factory f);
  // Fills the slot only when nothing is registered there yet.
  void RegisterPlaceholder(const std::string& module, const std::string& className, Factory f);
  bool IsRegistered(const std::string& module, const std::string& className) const;
  bool IsPlaceholder(const std::string& module, const std::string& className) const;
  // Null with a message in `error` when the class is unknown or its creation fails.
  std::unique_ptr<TavStateCommand> Create(const std::string& module, const std::string& className,
                                          std::string* error = nullptr) const;
  std::vector<std::pair<std::string, std::string>> Classes() const;

private:
  struct Entry {
    Factory factory;
    bool placeholder = false;
  };
  std::map<std::pair<std::string, std::string>, Entry> entries_;
};
