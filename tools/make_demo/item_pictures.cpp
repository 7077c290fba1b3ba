#include "item_pictures.h"

#include <algorithm>

#include "paint.h"
#include "theme_style.h"

namespace make_demo {
namespace {

void NameBanner(cairo_t* cr, const Item& item) {
    const double size = 46;
    const double w = TextWidth(cr, item.name, size) + 70;
    RoundedRectPath(cr, 400 - w / 2, 516, w, 72, 30);
    FillInk(cr, Hex(0xFFF8E1), 6);
    DrawText(cr, item.name, 400, 568, size, ThemeColour(item.theme), Align::Centre);
}

}  // namespace

void DrawItemPicture(cairo_t* cr, const Item& item, const Pose& pose, SceneCache* cache) {
    Sketch sketch(cr, pose.t, pose.detailed, pose.stageLimit);
    cairo_save(cr);
    if (sketch.Part()) {
        if (cache != nullptr) {
            cairo_set_source_surface(cr, cache->Get(item.scene, pose.detailed).Surface(), 0, 0);
            cairo_paint(cr);
        } else {
            DrawScene(cr, item.scene, pose.detailed);
        }
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    item.draw(sketch);
    if (pose.withName && sketch.Part()) NameBanner(cr, item);
    cairo_restore(cr);
}

int BuildUpPictures(const Item& item, bool detailed) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(surface);
    Sketch sketch(cr, 0.0, detailed, 0);
    sketch.Part();
    item.draw(sketch);
    sketch.Part();
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return sketch.StagesSeen();
}

void DrawItemThumbnail(cairo_t* cr, const Item& item, double x, double y, double w, double h,
                       double radius) {
    double cropH = 500;
    double cropW = cropH * w / h;
    if (cropW > 640) {
        cropW = 640;
        cropH = cropW * h / w;
    }
    cairo_save(cr);
    RoundedRectPath(cr, x, y, w, h, radius);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / cropW, h / cropH);
    cairo_translate(cr, -(400 - cropW / 2), -(282 - cropH / 2));
    // Half-way through its film each item is in the middle of its action: the ball in the
    // air, the hammer on the nail.
    Pose pose;
    pose.t = 0.5;
    pose.withName = false;
    DrawItemPicture(cr, item, pose, nullptr);
    cairo_restore(cr);
    RoundedRectPath(cr, x, y, w, h, radius);
    Stroke(cr, kInk, std::max(2.0, w / 60));
}

}  // namespace make_demo
