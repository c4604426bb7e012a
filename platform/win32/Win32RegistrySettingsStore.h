#pragma once
#include <string>
#include <utility>

#include "platform/SettingsStore.h"

namespace velmora {

// The per-user settings store in the current user's registry: one key per section below the base key, one
// REG_SZ value per setting.
class Win32RegistrySettingsStore : public SettingsStore {
  public:
    static constexpr const char* kDefaultBaseKey = "Software\\VB and VBA Program Settings\\Velmora";

    explicit Win32RegistrySettingsStore(std::string baseKey = kDefaultBaseKey)
        : baseKey_(std::move(baseKey)) {}
    std::string Get(const std::string& section, const std::string& key, const std::string& def) override;
    void Save(const std::string& section, const std::string& key, const std::string& value) override;

  private:
    std::string baseKey_;
};

}  // namespace velmora
