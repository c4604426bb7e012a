#pragma once
#include <string>

namespace velmora {

// The per-user settings store: string values by section and key under one application name.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored value, or def when it is missing or cannot be read.
    virtual std::string Get(const std::string& section, const std::string& key, const std::string& def) = 0;
    // Failures are not reported: the value is then simply not stored.
    virtual void Save(const std::string& section, const std::string& key, const std::string& value) = 0;
};

}  // namespace velmora
