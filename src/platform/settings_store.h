#pragma once

#include <string>

namespace platform {

// The per-user settings store: one text value under (application, section, key).
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual void WriteText(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
};

}  // namespace platform
