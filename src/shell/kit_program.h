#pragma once

#include <memory>
#include <string>

#include "form/item_making.h"
#include "platform/portable/program_run.h"

// The settings screen makes dropped photos into an item by running quillowbee-kit as a program
// of its own, so the child's program never loads the kit's drawing libraries and a photo that
// crashes a decoder takes only the kit down.
namespace KitProgram {

inline constexpr char kName[] = "quillowbee-kit";

// The kit beside the running program's own executable (both are built and installed together).
std::string BesideThisProgram();

// The one line the adult is shown for a run of the kit at `kit` that did not make the item, ""
// for one that did: the kit's own refusal without its name, or what ended it.
std::string RefusalOf(const platform::ProgramEnd& end, const std::string& kit);

// Runs the kit at `kit` on a worker thread for each item started: the item keeps its name; it
// is made in `content` (empty: the kit's per-user folder, seeded from the current folder). Once
// the kit has made it, the outcome's small picture is read on the worker from the item page (or,
// without one, from the item's button picture). Destroying the maker waits for a run in
// progress.
std::unique_ptr<ItemMaking::Maker> CreateMaker(std::string kit, std::string content);

}  // namespace KitProgram
