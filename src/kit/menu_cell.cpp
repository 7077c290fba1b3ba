#include "kit/menu_cell.h"

#include <turbojpeg.h>

#include <algorithm>

#include "kit/kit_error.h"
#include "kit/picture_fit.h"
#include "make_demo/cell_style.h"
#include "make_demo/jpeg_writer.h"
#include "make_demo/menu_art.h"
#include "make_demo/theme_style.h"

namespace kit {
namespace {

using make_demo::Canvas;

std::string Encode(const Canvas& canvas) {
    return make_demo::EncodeJpeg(canvas, make_demo::JpegQuality::Menu);
}

// The photo's middle filling a box of any shape, with rounded corners.
void Thumbnail(cairo_t* cr, const Canvas& work, double x, double y, double w, double h, double r) {
    cairo_save(cr);
    make_demo::RoundedRectPath(cr, x, y, w, h, r);
    cairo_clip(cr);
    const double scale = std::max(w / kWorkWidth, h / kWorkHeight);
    cairo_translate(cr, x + (w - kWorkWidth * scale) / 2, y + (h - kWorkHeight * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, work.Surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    make_demo::RoundedRectPath(cr, x, y, w, h, r);
    make_demo::Stroke(cr, make_demo::kInk, 3);
}

Canvas PlainBackground(make_demo::Theme theme) {
    Canvas canvas(800, 600);
    cairo_rectangle(canvas.Cr(), 0, 0, 800, 600);
    make_demo::Fill(canvas.Cr(), make_demo::ThemePale(theme));
    return canvas;
}

}  // namespace

Canvas DecodeJpegTo(const std::string& jpeg, int width, int height) {
    tjhandle handle = tjInitDecompress();
    if (handle == nullptr) Fail("cannot start the JPEG decoder");
    const auto* bytes = reinterpret_cast<const unsigned char*>(jpeg.data());
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle, bytes, jpeg.size(), &w, &h, &subsampling, &colourspace) != 0 ||
        w <= 0 || h <= 0) {
        tjDestroy(handle);
        Fail("a menu picture of the content cannot be read");
    }
    Canvas natural(w, h);
    cairo_surface_flush(natural.Surface());
    const int result =
        tjDecompress2(handle, bytes, jpeg.size(), cairo_image_surface_get_data(natural.Surface()),
                      w, cairo_image_surface_get_stride(natural.Surface()), h, TJPF_BGRX, 0);
    const bool fatal = result != 0 && tjGetErrorCode(handle) == TJERR_FATAL;
    tjDestroy(handle);
    if (fatal) Fail("a menu picture of the content cannot be read");
    cairo_surface_mark_dirty(natural.Surface());
    if (w == width && h == height) return natural;
    Canvas stretched(width, height);
    cairo_scale(stretched.Cr(), 1.0 * width / w, 1.0 * height / h);
    cairo_set_source_surface(stretched.Cr(), natural.Surface(), 0, 0);
    cairo_paint(stretched.Cr());
    cairo_identity_matrix(stretched.Cr());
    return stretched;
}

MenuPictures DrawMenuPictures(const std::optional<std::string>& subMenu,
                              const std::optional<std::string>& note, make_demo::Theme theme,
                              int position, std::string_view nameUtf8, const Canvas& work) {
    const make_demo::CellBox cell = make_demo::CellRect(position);
    Canvas background = subMenu ? DecodeJpegTo(*subMenu, 800, 600) : PlainBackground(theme);
    make_demo::ItemCell(background.Cr(), cell, theme, nameUtf8,
                        [&work](cairo_t* cr, double x, double y, double w, double h, double r) {
                            Thumbnail(cr, work, x, y, w, h, r);
                        });
    MenuPictures pictures;
    pictures.button = Encode(make_demo::ButtonHighlight(background, cell));

    Canvas notes = note ? DecodeJpegTo(*note, 800, 600) : PlainBackground(theme);
    cairo_set_source_surface(notes.Cr(), background.Surface(), 0, 0);
    cairo_rectangle(notes.Cr(), cell.x, cell.y, cell.w, cell.h);
    cairo_fill(notes.Cr());
    make_demo::NotNowCell(notes, cell);
    pictures.note = Encode(notes);
    pictures.subMenu = Encode(background);
    return pictures;
}

std::string CopyCell(const std::string& into, const std::string& from, int position) {
    const make_demo::CellBox cell = make_demo::CellRect(position);
    Canvas target = DecodeJpegTo(into, 800, 600);
    const Canvas source = DecodeJpegTo(from, 800, 600);
    cairo_set_source_surface(target.Cr(), source.Surface(), 0, 0);
    cairo_rectangle(target.Cr(), cell.x, cell.y, cell.w, cell.h);
    cairo_fill(target.Cr());
    return Encode(target);
}

PageBox ItemPageBox(make_demo::Theme theme, int position) {
    // The top-left corners of the themes' blocks: Yrke, Musik, Sport, Djur.
    constexpr PageBox kBlocks[4] = {{527, 164}, {235, 355}, {235, 164}, {527, 355}};
    const PageBox block = kBlocks[static_cast<int>(theme) - 1];
    return {block.x + 64 * (position % 4), position < 4 ? block.y : block.y + 79};
}

std::string DrawItemPage(const std::string& itemPage, make_demo::Theme theme, int position,
                         const Canvas& work) {
    Canvas page = DecodeJpegTo(itemPage, 800, 600);
    const PageBox box = ItemPageBox(theme, position);
    cairo_rectangle(page.Cr(), box.x, box.y, kPageBoxWidth, kPageBoxHeight);
    make_demo::Fill(page.Cr(), make_demo::Hex(0xFFFFFF));
    Thumbnail(page.Cr(), work, box.x + 1, box.y + 1, kPageBoxWidth - 2, kPageBoxHeight - 2, 7);
    return Encode(page);
}

std::string CopyItemPageBox(const std::string& into, const std::string& from,
                            make_demo::Theme theme, int position) {
    const PageBox box = ItemPageBox(theme, position);
    Canvas target = DecodeJpegTo(into, 800, 600);
    const Canvas source = DecodeJpegTo(from, 800, 600);
    cairo_set_source_surface(target.Cr(), source.Surface(), 0, 0);
    cairo_rectangle(target.Cr(), box.x, box.y, kPageBoxWidth, kPageBoxHeight);
    cairo_fill(target.Cr());
    return Encode(target);
}

}  // namespace kit
