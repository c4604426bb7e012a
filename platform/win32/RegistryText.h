#pragma once
// String values of the registry, shared by the registry port and the per-user settings store.
#include <optional>
#include <string>

#include "platform/win32/Win32.h"

namespace velmora {

// The text of a REG_SZ value up to its first NUL; nothing when the key or value is missing or the value has
// another type. An empty name reads the key's default value.
std::optional<std::string> ReadRegistryText(HKEY root, const std::string& subkey, const std::string& name);

// Creates the key when needed and writes a NUL-terminated REG_SZ value.
bool WriteRegistryText(HKEY root, const std::string& subkey, const std::string& name,
                       const std::string& value);

}  // namespace velmora
