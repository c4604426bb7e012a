#pragma once
#include <string>

namespace velmora {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// String values of the registry.
class Registry {
  public:
    virtual ~Registry() = default;
    // The text up to its first NUL; empty when the key, the value or a string type is missing.
    virtual std::string GetString(RegistryRoot root, const std::string& subkey, const std::string& name) = 0;
    // Creates the key when needed; an empty name writes the key's default value.
    [[nodiscard]] virtual bool SetString(RegistryRoot root, const std::string& subkey,
                                         const std::string& name, const std::string& value) = 0;
};

}  // namespace velmora
