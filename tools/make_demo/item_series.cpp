#include "item_series.h"

#include <stdexcept>

#include "canvas.h"
#include "item_pictures.h"
#include "jpeg_writer.h"
#include "scenes.h"

namespace make_demo {
namespace {

// Keeps the drawings within what the activities are meant to show: a short build-up, a
// longer one with more detail, and a short film.
void CheckCounts(const Item& item, const SeriesCounts& counts) {
    const bool fits = counts.simpleLast + 1 >= 4 && counts.simpleLast + 1 <= 7 &&
                      counts.complexLast + 1 >= 8 && counts.complexLast + 1 <= 11 &&
                      counts.complexLast > counts.simpleLast && counts.filmLast + 1 >= 8 &&
                      counts.filmLast + 1 <= 24;
    if (!fits) {
        throw std::runtime_error("picture series of " + FolderText(item) +
                                 " have unexpected lengths");
    }
}

}  // namespace

SeriesCounts CountItemSeries(const Item& item) {
    const SeriesCounts counts{BuildUpPictures(item, false) - 1, BuildUpPictures(item, true) - 1,
                              item.filmPictures - 1};
    CheckCounts(item, counts);
    return counts;
}

std::string PictureFileName(int index) {
    const int number = index + 1;
    return (number < 10 ? "0" : "") + std::to_string(number) + ".jpg";
}

void WriteItemSeries(PackWriter& pack, const Item& item) {
    const SeriesCounts counts = CountItemSeries(item);
    const std::string folder = FolderText(item);
    SceneCache scenes;
    // Every picture paints its scene over the whole canvas first, so one canvas serves all.
    Canvas canvas(800, 600);
    for (const bool detailed : {false, true}) {
        const std::string set = detailed ? "Komplex\\" : "Enkel\\";
        const int buildLast = detailed ? counts.complexLast : counts.simpleLast;
        for (int n = 0; n <= buildLast; ++n) {
            Pose pose;
            pose.detailed = detailed;
            pose.stageLimit = n + 1;
            DrawItemPicture(canvas.Cr(), item, pose, &scenes);
            pack.Write(folder + set + "Byggupp\\" + PictureFileName(n),
                       EncodeJpeg(canvas, JpegQuality::Series));
        }
        for (int n = 0; n <= counts.filmLast; ++n) {
            Pose pose;
            pose.detailed = detailed;
            pose.t = static_cast<double>(n) / (counts.filmLast + 1);
            DrawItemPicture(canvas.Cr(), item, pose, &scenes);
            pack.Write(folder + set + "Film\\" + PictureFileName(n),
                       EncodeJpeg(canvas, JpegQuality::Series));
        }
    }
}

}  // namespace make_demo
