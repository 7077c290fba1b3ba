#pragma once

#include <memory>

#include "form/item_making.h"
#include "kit/kit.h"

namespace kit {

// The settings screen's item maker: MakeItem on a worker thread, the item keeping its name, in
// the content folder and from the seed that `base` names (its theme, position, name and photos
// are ignored). The outcome's small picture is the new button picture, read and shrunk on the
// worker as well. Destroying the maker waits for a run in progress.
std::unique_ptr<ItemMaking::Maker> CreateItemMaker(const KitOptions& base);

}  // namespace kit
