#pragma once

#include <cairo.h>

#include <climits>

#include "item_catalog.h"
#include "scenes.h"

namespace make_demo {

struct Pose {
    double t = 0.0;            // film phase
    bool detailed = true;      // complex set
    int stageLimit = INT_MAX;  // build-up: how many stages are shown
    bool withName = true;
};

// An item's full-screen picture: its scene is the first stage, then the item's own stages,
// then its name. Paints the scene from the cache when one is given.
void DrawItemPicture(cairo_t* cr, const Item& item, const Pose& pose, SceneCache* cache);

// How many stages (and so build-up pictures) the item's simple or complex set has.
int BuildUpPictures(const Item& item, bool detailed);

// The item's complete picture, half-way through its film and without its name, fitted into
// a rounded window.
void DrawItemThumbnail(cairo_t* cr, const Item& item, double x, double y, double w, double h,
                       double radius);

}  // namespace make_demo
