#include "platform/win32/Win32RegistrySettingsStore.h"

#include "platform/win32/RegistryText.h"

namespace velmora {

std::string Win32RegistrySettingsStore::Get(const std::string& section, const std::string& key,
                                            const std::string& def) {
    // A value of another type cannot be read as a setting, so it counts as absent.
    return ReadRegistryText(HKEY_CURRENT_USER, baseKey_ + "\\" + section, key).value_or(def);
}

void Win32RegistrySettingsStore::Save(const std::string& section, const std::string& key,
                                      const std::string& value) {
    WriteRegistryText(HKEY_CURRENT_USER, baseKey_ + "\\" + section, key, value);
}

}  // namespace velmora
