#pragma once

#include <filesystem>
#include <string>

#include "platform/settings_store.h"

namespace platform {

// The settings store as an INI file per application:
// <base folder>/<application>/settings.ini, with [section] headers and one key=value a line.
// A write changes only its own key's line and keeps every other line as it was; the new file
// replaces the old one in one step, so a crash or a full disk never leaves half a file. A write
// that cannot be done leaves the old file and returns quietly: the program goes on without it.
// Sections and keys are matched ignoring ASCII case, as Windows' profile files match them.
class IniSettingsStore : public SettingsStore {
  public:
    // The base folder is ${XDG_CONFIG_HOME:-$HOME/.config}.
    IniSettingsStore();
    explicit IniSettingsStore(std::filesystem::path baseFolder);

    void WriteText(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) override;

    // The file the writes for `application` go to.
    std::filesystem::path FileFor(const std::string& application) const;

  private:
    std::filesystem::path baseFolder_;
};

}  // namespace platform
