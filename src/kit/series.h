#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "make_demo/canvas.h"
#include "make_demo/paint.h"

namespace kit {

// Receives each picture of a series in order, numbered from 0.
using PictureSink = std::function<void(int number, const make_demo::Canvas& picture)>;

// The build-up: a puzzle of the photo whose pieces land one by one. Picture 0 is the empty
// board with the photo faint on it, then one more piece a picture (the newest one glowing),
// and last the whole photo. `columns` × `rows` pieces; returns the highest picture number.
int WritePuzzleSeries(const make_demo::Canvas& work, int columns, int rows, make_demo::Rgb board,
                      const PictureSink& sink);

// The film: slow pans and zooms over each photo, with soft changes from one to the next and
// from the last back to the first, so the film runs round without a jump. Returns the delay of
// each picture in milliseconds.
std::vector<int16_t> WriteFilmSeries(const std::vector<const make_demo::Canvas*>& works,
                                     const PictureSink& sink);

}  // namespace kit
