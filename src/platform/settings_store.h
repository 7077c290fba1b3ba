#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// A settings file as read: `name` says where it lies, for messages; `error` is empty when the
// file was read, else it says why it could not be.
struct SettingsFileText {
    std::string name;
    std::string text;
    std::string error;
};

using SettingsValues = std::vector<std::pair<std::string, std::string>>;

// The settings store: text values under (application, section, key), in the system's settings
// files and the user's own.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The application's settings files that exist, the least important first: the system-wide
    // ones, then the user's own.
    virtual std::vector<SettingsFileText> ReadFiles(const std::string& application) = 0;

    // Sets every key of `values` in the user's own file, all in one change of the file.
    virtual void WriteValues(const std::string& application, const std::string& section,
                             const SettingsValues& values) = 0;

    void WriteText(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) {
        WriteValues(application, section, {{key, value}});
    }
};

}  // namespace platform
