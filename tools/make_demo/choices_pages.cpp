#include "choices_pages.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "item_catalog.h"
#include "item_pictures.h"
#include "jpeg_writer.h"
#include "menu_art.h"
#include "paint.h"
#include "theme_style.h"
#include "writers/bmp_writer.h"

namespace make_demo {
namespace {

const char* const kChoicesFolder = "Grafik\\Meny\\Val\\";

constexpr int kMark = 23;  // the selected mark is 23 × 23
constexpr int kCrossWidth = 51, kCrossHeight = 54;

const Rgb kPageInk = Hex(0x3B2C4F);
const Rgb kPanel = Hex(0xFFFDF6);
const Rgb kTabColours[4] = {Hex(0xFFB74D), Hex(0x81C784), Hex(0xBA8CF0), Hex(0xFF8A80)};
const char* const kTabNames[4] = {"Meny", "Bilder", "Bygga", "Film"};
constexpr int kTabTops[4] = {28, 168, 308, 448};

// The empty box under every place where the program can draw its mark: the mark covers it
// exactly, so a chosen option looks ticked and the others stay empty.
void MarkBox(cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x, y, kMark, kMark);
    Fill(cr, Hex(0x90A4AE));
    cairo_rectangle(cr, x + 2, y + 2, kMark - 4, kMark - 4);
    Fill(cr, kWhite);
}

void Caption(cairo_t* cr, std::string_view text, double x, double baseline, double size = 19,
             Align align = Align::Left) {
    DrawText(cr, text, x, baseline, size, kPageInk, align);
}

void Heading(cairo_t* cr, std::string_view text, double x, double baseline) {
    DrawText(cr, text, x, baseline, 22, Hex(0x1E78E0));
}

// A two-way choice: a box with its caption to the right of each.
void Choice(cairo_t* cr, double x, double y, std::string_view caption) {
    MarkBox(cr, x, y);
    Caption(cr, caption, x + kMark + 7, y + 18);
}

void TabIcon(cairo_t* cr, int tab, double x, double y) {
    switch (tab) {
        case 0:
            for (int i = 0; i < 4; ++i) {
                const Rgb c = ThemeColour(static_cast<Theme>(i + 1));
                RoundedRectPath(cr, x + (i % 2) * 20, y + (i / 2) * 20, 17, 17, 4);
                FillInk(cr, c, 2);
            }
            break;
        case 1:
            RoundedRectPath(cr, x, y, 38, 38, 5);
            FillInk(cr, Hex(0xB3E5FC), 2.5);
            PolygonPath(cr, {{x + 3, y + 34}, {x + 15, y + 16}, {x + 26, y + 34}});
            FillInk(cr, Hex(0x66BB6A), 2);
            CirclePath(cr, x + 28, y + 11, 6);
            FillInk(cr, Hex(0xFFD23F), 2);
            break;
        case 2:
            for (int i = 0; i < 3; ++i) {
                const Rgb c[] = {Hex(0xFF7043), Hex(0x42A5F5), Hex(0xFFEE58)};
                cairo_rectangle(cr, x + (i == 2 ? 10 : i * 20), y + (i == 2 ? 0 : 19), 18, 18);
                FillInk(cr, c[i], 2);
            }
            break;
        default:
            RoundedRectPath(cr, x, y + 4, 40, 30, 4);
            FillInk(cr, Hex(0x455A64), 2);
            for (int i = 0; i < 5; ++i) {
                cairo_rectangle(cr, x + 3 + i * 8, y + 7, 4, 4);
                cairo_rectangle(cr, x + 3 + i * 8, y + 27, 4, 4);
            }
            Fill(cr, kWhite);
            cairo_rectangle(cr, x + 8, y + 13, 24, 12);
            Fill(cr, Hex(0xFFD54F));
            break;
    }
}

// Everything the five pages share: the tabs (the current one lit), the panel, and the
// information and leave buttons at the bottom.
void PageFrame(cairo_t* cr, int page) {
    cairo_pattern_t* wash = cairo_pattern_create_linear(0, 0, 0, 600);
    cairo_pattern_add_color_stop_rgb(wash, 0, 0.78, 0.90, 1.0);
    cairo_pattern_add_color_stop_rgb(wash, 1, 0.90, 0.84, 1.0);
    cairo_rectangle(cr, 0, 0, 800, 600);
    cairo_set_source(cr, wash);
    cairo_fill(cr);
    cairo_pattern_destroy(wash);
    Confetti(cr, 0, 0, 800, 600, 40, 77, 0.35);

    RoundedRectPath(cr, 178, 12, 612, 512, 24);
    FillInk(cr, kPanel, 4);

    for (int tab = 0; tab < 4; ++tab) {
        const bool current = page == tab + 1;
        const double top = kTabTops[tab];
        if (current) {
            PolygonPath(cr, {{160, top + 30}, {182, top + 53}, {160, top + 76}});
            FillInk(cr, kPanel, 4);
        }
        RoundedRectPath(cr, 22, top, 145, 107, 18);
        FillInk(cr, current ? Lighter(kTabColours[tab], 0.25) : Lighter(kTabColours[tab], 0.55),
                current ? 6 : 3);
        if (current) {
            cairo_rectangle(cr, 158, top + 33, 10, 40);
            Fill(cr, Lighter(kTabColours[tab], 0.25));
        }
        TabIcon(cr, tab, 75, top + 14);
        DrawText(cr, kTabNames[tab], 94.5, top + 88, 24, kPageInk, Align::Centre);
    }

    // The information button (x 464–520, y 533–589) and the leave button (653–708, 533–589).
    CirclePath(cr, 492, 561, 27);
    FillInk(cr, page == 0 ? Hex(0x64B5F6) : Hex(0x90CAF9), page == 0 ? 5 : 3);
    DrawText(cr, "i", 492, 577, 40, kWhite, Align::Centre);
    Caption(cr, "Om programmet", 452, 568, 19, Align::Right);
    ExitDoor(cr, 653, 533, 56, 57);
    Caption(cr, "Tillbaka", 643, 568, 19, Align::Right);
}

void InfoPage(cairo_t* cr) {
    Bee(cr, 712, 86, 90);
    DrawText(cr, "Välkommen till Quillowbee!", 205, 62, 30, Hex(0x1E78E0));
    const char* lines[] = {
        "Till dig som vuxen:",
        "",
        "Barnet väljer ett tema på huvudmenyn och sedan",
        "en bild. Bilden byggs upp steg för steg: tryck på",
        "mellanslag eller Enter, eller klicka. Sedan visas",
        "en liten film om bilden.",
        "",
        "Esc går tillbaka ett steg. F1 öppnar de här sidorna.",
        "Högerklick visar eller döljer en ring vid pekaren.",
        "",
        "Flikarna till vänster visar inställningarna för",
        "menyn, bilderna, bygget och filmen.",
    };
    double y = 120;
    for (const char* line : lines) {
        Caption(cr, line, 210, y, 21);
        y += 31;
    }
}

void StandardChoice(cairo_t* cr, double yesX, double noX, double y) {
    Heading(cr, "Standardval", yesX, y - 14);
    Choice(cr, yesX, y, "Ja");
    Choice(cr, noX, y, "Nej");
}

void MainMenuOptionsPage(cairo_t* cr) {
    // Escape locks, one per corner of a small main menu.
    Heading(cr, "Esc-lås", 196, 34);
    const double mapX = 255, mapY = 74;
    const Theme corners[4] = {Theme::Musik, Theme::Djur, Theme::Sport, Theme::Yrke};
    for (int i = 0; i < 4; ++i) {
        const double x = mapX + (i % 2) * 98, y = mapY + (i / 2) * 86;
        RoundedRectPath(cr, x, y, 92, 80, 12);
        FillInk(cr, ThemePale(corners[i]), 3);
        DrawText(cr, ThemeName(corners[i]), x + 46, y + 47, 18, ThemeColour(corners[i]),
                 Align::Centre);
    }
    const double locks[4][2] = {{290, 40}, {389, 40}, {289, 252}, {389, 252}};
    for (const auto& lock : locks) {
        MarkBox(cr, lock[0], lock[1]);
        Padlock(cr, lock[0] + 44, lock[1] + 10, 24);
    }

    StandardChoice(cr, 596, 703, 99);

    Heading(cr, "Väntetid (sekunder)", 560, 270);
    RoundedRectPath(cr, 558, 287, 222, 34, 12);
    FillInk(cr, Hex(0xE3F2FD), 2);

    Heading(cr, "Stoppskylt på huvudmenyn", 278, 452);
    Choice(cr, 278, 469, "Av");
    Choice(cr, 430, 469, "På");
    StopSign(cr, 560, 480, 26);
    Bee(cr, 660, 390, 90);
    Caption(cr, "Med stoppskylt avslutar Ctrl+Delete.", 278, 515, 17);
}

void ItemOptionsPage(cairo_t* cr) {
    Heading(cr, "Visa namn", 257, 87);
    Choice(cr, 257, 101, "Ja");
    Choice(cr, 365, 100, "Nej");
    StandardChoice(cr, 596, 705, 99);

    // The 32 items where the program puts a cross over those that are switched off.
    const struct {
        Theme theme;
        double x, y;
    } blocks[4] = {{Theme::Yrke, 527, 164},
                   {Theme::Musik, 235, 355},
                   {Theme::Sport, 235, 164},
                   {Theme::Djur, 527, 355}};
    for (const auto& block : blocks) {
        DrawText(cr, ThemeName(block.theme), block.x, block.y - 10, 20, ThemeColour(block.theme));
        const size_t first = (static_cast<size_t>(block.theme) - 1) * 8;
        for (int p = 0; p < 8; ++p) {
            const double x = block.x + 64 * (p % 4), y = p < 4 ? block.y : block.y + 79;
            DrawItemThumbnail(cr, Items()[first + static_cast<size_t>(p)], x, y, kCrossWidth,
                              kCrossHeight, 7);
        }
    }
    Caption(cr, "Ett kryss över en bild: den visas inte nu.", 235, 515, 18);
}

void BuildUpOptionsPage(cairo_t* cr) {
    Heading(cr, "Bilder", 278, 118);
    Choice(cr, 278, 132, "Komplex");
    Choice(cr, 428, 132, "Enkel");
    StandardChoice(cr, 595, 703, 100);

    Heading(cr, "Steg i bygget", 307, 270);
    const struct {
        double x;
        const char* name;
        int blocks;
    } steps[4] = {{307, "Alla", 4}, {444, "Fyra", 3}, {582, "Två", 2}, {719, "Inga", 0}};
    for (const auto& step : steps) {
        MarkBox(cr, step.x, 292);
        Caption(cr, step.name, step.x + kMark / 2.0, 340, 19, Align::Centre);
        for (int b = 0; b < step.blocks; ++b) {
            cairo_rectangle(cr, step.x - 8 + b * 10, 380 - b * 12, 16, 12);
            FillInk(cr, kTabColours[b % 4], 2);
        }
    }

    Bee(cr, 660, 440, 80);
    Heading(cr, "Riktning", 265, 437);
    Choice(cr, 265, 452, "Framåt");
    Choice(cr, 404, 452, "Bakåt");
}

void FilmOptionsPage(cairo_t* cr) {
    StandardChoice(cr, 595, 703, 100);
    Heading(cr, "Antal gånger", 225, 125);
    RoundedRectPath(cr, 214, 134, 172, 34, 12);
    FillInk(cr, Hex(0xE3F2FD), 2);

    Heading(cr, "Fart", 258, 286);
    const struct {
        double x;
        const char* name;
    } speeds[3] = {{258, "Långsamt"}, {366, "Normalt"}, {473, "Snabbt"}};
    for (const auto& speed : speeds) {
        MarkBox(cr, speed.x, 301);
        Caption(cr, speed.name, speed.x + kMark / 2.0, 348, 18, Align::Centre);
    }

    // A strip of film along the bottom of the panel.
    RoundedRectPath(cr, 230, 392, 520, 100, 10);
    FillInk(cr, Hex(0x455A64), 3);
    for (int i = 0; i < 16; ++i) {
        cairo_rectangle(cr, 240 + i * 32, 399, 14, 10);
        cairo_rectangle(cr, 240 + i * 32, 475, 14, 10);
    }
    Fill(cr, kWhite);
    const Rgb frames[] = {Hex(0xFFE082), Hex(0xB3E5FC), Hex(0xC8E6C9), Hex(0xF8BBD0)};
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, 246 + i * 126, 416, 110, 52);
        Fill(cr, frames[i]);
        Sun(cr, 276 + i * 126 + i * 14, 442, 14, i * 0.3);
    }
}

Canvas Page(int page) {
    Canvas canvas(800, 600);
    cairo_t* cr = canvas.Cr();
    PageFrame(cr, page);
    switch (page) {
        case 0:
            InfoPage(cr);
            break;
        case 1:
            MainMenuOptionsPage(cr);
            break;
        case 2:
            ItemOptionsPage(cr);
            break;
        case 3:
            BuildUpOptionsPage(cr);
            break;
        default:
            FilmOptionsPage(cr);
            break;
    }
    return canvas;
}

Canvas SelectedMark() {
    Canvas canvas(kMark, kMark);
    cairo_t* cr = canvas.Cr();
    MarkBox(cr, 0, 0);
    cairo_move_to(cr, 5, 12);
    cairo_line_to(cr, 10, 17);
    cairo_line_to(cr, 19, 5);
    Stroke(cr, Hex(0x2E9E44), 4);
    return canvas;
}

// The cross is drawn pixel by pixel without smoothing: the program makes pure black
// transparent, so its edges must not blend into black.
std::vector<uint8_t> CrossPixels() {
    std::vector<uint8_t> rgb(static_cast<size_t>(kCrossWidth * kCrossHeight * 3), 0);
    auto distance = [](double px, double py, double ax, double ay, double bx, double by) {
        const double dx = bx - ax, dy = by - ay;
        double u = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
        u = u < 0 ? 0 : (u > 1 ? 1 : u);
        return std::hypot(px - ax - u * dx, py - ay - u * dy);
    };
    for (int y = 0; y < kCrossHeight; ++y) {
        for (int x = 0; x < kCrossWidth; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double d =
                std::min(distance(px, py, 9, 9, 42, 45), distance(px, py, 42, 9, 9, 45));
            uint8_t* p = &rgb[static_cast<size_t>((y * kCrossWidth + x) * 3)];
            if (d < 5.5) {
                p[0] = 228;
                p[1] = 32;
                p[2] = 40;
            } else if (d < 8.5) {
                p[0] = 255;
                p[1] = 255;
                p[2] = 255;
            }
        }
    }
    return rgb;
}

}  // namespace

void WriteChoicesPictures(PackWriter& pack) {
    const char* names[5] = {"InfoMeny.jpg", "4Meny.jpg", "8Meny.jpg", "ByggUppMeny.jpg",
                            "FilmMeny.jpg"};
    for (int page = 0; page < 5; ++page) {
        pack.Write(std::string(kChoicesFolder) + names[page],
                   EncodeJpeg(Page(page), JpegQuality::Menu));
    }
    pack.Write(std::string(kChoicesFolder) + "selected.jpg",
               EncodeJpeg(SelectedMark(), JpegQuality::Menu));
    pack.Write(std::string(kChoicesFolder) + "kryss.bmp",
               writers::EncodeBmp24(kCrossWidth, kCrossHeight, CrossPixels()));
}

}  // namespace make_demo
