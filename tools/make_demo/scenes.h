#pragma once

#include <cairo.h>

#include <map>
#include <utility>

#include "canvas.h"
#include "item_catalog.h"

namespace make_demo {

// Paints the whole 800 × 600 background of a scene; the complex set gets more detail.
void DrawScene(cairo_t* cr, Scene scene, bool detailed);

// Scenes already painted, so that a series paints each background only once.
class SceneCache {
  public:
    const Canvas& Get(Scene scene, bool detailed);

  private:
    std::map<std::pair<Scene, bool>, Canvas> painted_;
};

}  // namespace make_demo
