#pragma once

#include <filesystem>
#include <string_view>

#include "kit/staging.h"

namespace kit {

// ${XDG_DATA_HOME:-~/.local/share}/Quillowbee: where the program reads a family's content.
std::filesystem::path DefaultContentFolder();

// Whether the folder holds content: a Data folder with theme files.
bool HoldsContent(const std::filesystem::path& folder);

// Makes sure `folder` holds content: when it holds none yet, copies the content of `source`
// there first (into a work folder beside it, then moved into place), so the content the
// program came with is never changed. Returns whether it copied. No content in either is a
// failure saying what to do.
bool EnsureContent(const std::filesystem::path& folder, const std::filesystem::path& source,
                   const StepHook& hook);

// The native path of a path text of the program ("Data\\Djur.dat") below `folder`, each part
// found whatever its case; a part not found is kept as written.
std::filesystem::path ResolveIn(const std::filesystem::path& folder, std::string_view systemPath);

}  // namespace kit
