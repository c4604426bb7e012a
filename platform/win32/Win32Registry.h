#pragma once
#include "platform/Registry.h"

namespace velmora {

// The class root, current user and local machine hives of the system registry.
class Win32Registry : public Registry {
  public:
    std::string GetString(RegistryRoot root, const std::string& subkey, const std::string& name) override;
    bool SetString(RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& value) override;
};

}  // namespace velmora
