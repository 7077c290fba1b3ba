#include "scenes.h"

#include <cmath>
#include <numbers>

#include "paint.h"
#include "random.h"

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

void VerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_rectangle(cr, 0, y0, 800, y1 - y0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Sky(cairo_t* cr, double bottom) {
    VerticalGradient(cr, 0, bottom, Hex(0x7CCBFF), Hex(0xDDF3FF));
}

void PlainSun(cairo_t* cr, double x, double y) {
    CirclePath(cr, x, y, 42);
    FillInk(cr, Hex(0xFFD93B), 4);
}

void House(cairo_t* cr, double x, double ground, double w, double h, Rgb wall, Rgb roof,
           bool detailed) {
    cairo_rectangle(cr, x, ground - h, w, h);
    FillInk(cr, wall, 4);
    PolygonPath(
        cr, {{x - 12, ground - h}, {x + w / 2, ground - h - w * 0.45}, {x + w + 12, ground - h}});
    FillInk(cr, roof, 4);
    if (!detailed) return;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            const double wx = x + w * (0.18 + col * 0.42);
            const double wy = ground - h + 18 + row * (h * 0.38);
            cairo_rectangle(cr, wx, wy, w * 0.24, h * 0.22);
            FillInk(cr, Hex(0xFFF6C2), 3);
        }
    }
}

void Tree(cairo_t* cr, double x, double ground, double size) {
    cairo_rectangle(cr, x - size * 0.12, ground - size * 0.9, size * 0.24, size * 0.9);
    FillInk(cr, Hex(0x9C6B3F), 4);
    CirclePath(cr, x - size * 0.3, ground - size * 1.05, size * 0.42);
    CirclePath(cr, x + size * 0.3, ground - size * 1.05, size * 0.42);
    CirclePath(cr, x, ground - size * 1.4, size * 0.5);
    FillUnionInk(cr, Hex(0x5CC15A), 4);
}

void PineTree(cairo_t* cr, double x, double ground, double size) {
    cairo_rectangle(cr, x - size * 0.08, ground - size * 0.3, size * 0.16, size * 0.3);
    FillInk(cr, Hex(0x8A5A34), 3);
    for (int i = 0; i < 3; ++i) {
        const double base = ground - size * (0.25 + i * 0.3);
        const double half = size * (0.5 - i * 0.12);
        PolygonPath(cr, {{x - half, base}, {x, base - size * 0.5}, {x + half, base}});
        FillInk(cr, Hex(0x2E8B57), 3);
        PolygonPath(cr, {{x - half * 0.7, base - size * 0.12},
                         {x, base - size * 0.5},
                         {x + half * 0.2, base - size * 0.3}});
        Fill(cr, kWhite, 0.8);
    }
}

void Hills(cairo_t* cr, double y, Rgb far, Rgb near) {
    cairo_move_to(cr, 0, y + 30);
    cairo_curve_to(cr, 150, y - 40, 300, y - 20, 420, y + 10);
    cairo_curve_to(cr, 550, y - 50, 700, y - 30, 800, y);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    FillInk(cr, far, 4);
    cairo_move_to(cr, 0, y + 70);
    cairo_curve_to(cr, 200, y + 20, 500, y + 60, 800, y + 40);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    FillInk(cr, near, 4);
}

void Town(cairo_t* cr, bool detailed) {
    Sky(cr, 430);
    if (detailed) {
        Sun(cr, 90, 80, 45);
        Cloud(cr, 330, 70, 0.8);
        Cloud(cr, 650, 110, 0.65);
    } else {
        PlainSun(cr, 90, 80);
    }
    House(cr, -20, 430, 150, 140, Hex(0xFFB3C7), Hex(0xE4574E), detailed);
    House(cr, 640, 430, 180, 170, Hex(0xFFE08A), Hex(0x4F7CE0), detailed);
    if (detailed) {
        House(cr, 150, 430, 110, 110, Hex(0xB7E4A7), Hex(0xA65FD8), true);
        House(cr, 540, 430, 100, 120, Hex(0xA8D8FF), Hex(0xFF8A3D), true);
        Tree(cr, 300, 430, 70);
        Tree(cr, 505, 430, 60);
    }
    cairo_rectangle(cr, -5, 430, 810, 175);
    FillInk(cr, Hex(0xE9DCC4), 4);
    if (detailed) {
        for (int x = 0; x < 800; x += 80) {
            cairo_move_to(cr, x + 40, 430);
            cairo_line_to(cr, x, 600);
            Stroke(cr, Hex(0xD3C2A4), 3);
        }
    }
}

void Stage(cairo_t* cr, bool detailed) {
    VerticalGradient(cr, 0, 440, Hex(0x4B2F7A), Hex(0x8E5CC2));
    if (detailed) {
        Random random(21);
        for (int i = 0; i < 26; ++i) {
            const double x = random.Between(90, 710), y = random.Between(70, 400);
            const double size = random.Between(5, 11);
            StarPath(cr, x, y, size, size * 0.45, 5, random.Between(0, 1));
            Fill(cr, Hex(0xFFE98A), 0.9);
        }
    }
    VerticalGradient(cr, 440, 600, Hex(0xD99A5B), Hex(0xB8753C));
    cairo_move_to(cr, 0, 440);
    cairo_line_to(cr, 800, 440);
    Stroke(cr, kInk, 5);
    for (int i = 1; i < 4; ++i) {
        cairo_move_to(cr, 0, 440 + i * 42);
        cairo_line_to(cr, 800, 440 + i * 42);
        Stroke(cr, Hex(0xA0652F), 3);
    }
    if (detailed) {
        for (int side = 0; side < 2; ++side) {
            const double x = side == 0 ? 200 : 600;
            PolygonPath(cr, {{x - 30, 0}, {x + 30, 0}, {x + 170, 560}, {x - 170, 560}});
            Fill(cr, Hex(0xFFF4B0), 0.18);
        }
    }
    // Curtains on both sides, gathered at the bottom.
    for (int side = 0; side < 2; ++side) {
        const double edge = side == 0 ? 0 : 800;
        const double dir = side == 0 ? 1 : -1;
        cairo_move_to(cr, edge, 0);
        cairo_line_to(cr, edge + dir * 120, 0);
        cairo_curve_to(cr, edge + dir * 90, 200, edge + dir * 40, 380, edge + dir * 70, 600);
        cairo_line_to(cr, edge, 600);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xD7263D), 5);
        if (detailed) {
            for (int f = 1; f < 3; ++f) {
                cairo_move_to(cr, edge + dir * f * 38, 0);
                cairo_curve_to(cr, edge + dir * f * 30, 200, edge + dir * f * 12, 380,
                               edge + dir * f * 22, 600);
                Stroke(cr, Hex(0xA5162B), 5);
            }
        }
    }
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 800, 0);
    cairo_line_to(cr, 800, 40);
    for (int i = 8; i > 0; --i) {
        cairo_curve_to(cr, i * 100 - 30, 80, i * 100 - 70, 80, i * 100 - 100, 40);
    }
    cairo_close_path(cr);
    FillInk(cr, Hex(0xC21D33), 5);
    if (detailed) {
        for (int i = 0; i < 8; ++i) {
            CirclePath(cr, i * 100 + 50, 72, 8);
            FillInk(cr, Hex(0xFFD24A), 3);
        }
    }
}

void Field(cairo_t* cr, bool detailed) {
    Sky(cr, 380);
    if (detailed) {
        Sun(cr, 700, 75, 42);
        Cloud(cr, 160, 80, 0.75);
        Cloud(cr, 470, 60, 0.6);
        Hills(cr, 340, Hex(0x9BD98C), Hex(0x86CF76));
    } else {
        PlainSun(cr, 700, 75);
    }
    cairo_rectangle(cr, -5, 380, 810, 225);
    FillInk(cr, Hex(0x6CCB5F), 4);
    for (int i = 0; i < 8; i += 2) {
        PolygonPath(cr, {{i * 100.0, 380},
                         {i * 100.0 + 100, 380},
                         {i * 130.0 + 30, 600},
                         {i * 130.0 - 100, 600}});
        Fill(cr, Hex(0x5DBD52));
    }
    if (detailed) {
        Random random(33);
        for (int i = 0; i < 14; ++i) {
            const double x = random.Between(20, 780), y = random.Between(470, 590);
            Flower(cr, x, y, 9, i % 2 == 0 ? Hex(0xFF7FAF) : Hex(0xFFFFFF));
        }
    }
}

void Meadow(cairo_t* cr, bool detailed) {
    Sky(cr, 360);
    if (detailed) {
        Sun(cr, 95, 80, 44);
        Cloud(cr, 420, 70, 0.7);
        Cloud(cr, 690, 120, 0.55);
    } else {
        PlainSun(cr, 95, 80);
    }
    Hills(cr, 330, Hex(0x9BD98C), Hex(0x7BD16B));
    if (detailed) {
        // A red barn far away and a wooden fence.
        cairo_rectangle(cr, 640, 250, 110, 90);
        FillInk(cr, Hex(0xD9423A), 4);
        PolygonPath(cr, {{630, 252}, {695, 200}, {760, 252}});
        FillInk(cr, Hex(0x8C3B33), 4);
        cairo_rectangle(cr, 678, 290, 34, 50);
        FillInk(cr, kWhite, 3);
        for (int x = 20; x < 800; x += 70) {
            cairo_rectangle(cr, x, 395, 14, 60);
            FillInk(cr, Hex(0xE3B778), 3);
        }
        cairo_rectangle(cr, 0, 408, 800, 11);
        FillInk(cr, Hex(0xE3B778), 3);
        cairo_rectangle(cr, 0, 432, 800, 11);
        FillInk(cr, Hex(0xE3B778), 3);
        Random random(44);
        for (int i = 0; i < 12; ++i) {
            const double x = random.Between(20, 780), y = random.Between(490, 590);
            Flower(cr, x, y, 10, i % 3 == 0 ? Hex(0xFFE14D) : Hex(0xFF8FB8));
        }
    }
}

void Pool(cairo_t* cr, bool detailed) {
    VerticalGradient(cr, 0, 190, Hex(0xF4F8FF), Hex(0xDCE8F5));
    if (detailed) {
        for (int x = 0; x < 800; x += 40) {
            cairo_move_to(cr, x, 0);
            cairo_line_to(cr, x, 190);
            Stroke(cr, Hex(0xC4D5E8), 2);
        }
        for (int y = 0; y < 190; y += 40) {
            cairo_move_to(cr, 0, y);
            cairo_line_to(cr, 800, y);
            Stroke(cr, Hex(0xC4D5E8), 2);
        }
        const Rgb flags[] = {Hex(0xFF5A5F), Hex(0xFFD23F), Hex(0x3BCEAC), Hex(0x5A8DFF)};
        cairo_move_to(cr, 0, 40);
        cairo_curve_to(cr, 250, 90, 550, 90, 800, 40);
        Stroke(cr, kInk, 3);
        for (int i = 0; i < 12; ++i) {
            const double x = 30 + i * 66;
            const double y = 40 + 50 * std::sin(kPi * x / 800) * 0.85;
            PolygonPath(cr, {{x - 16, y}, {x + 16, y}, {x, y + 34}});
            FillInk(cr, flags[i % 4], 3);
        }
    }
    VerticalGradient(cr, 190, 600, Hex(0x4FC3F7), Hex(0x1E88E5));
    cairo_move_to(cr, 0, 190);
    cairo_line_to(cr, 800, 190);
    Stroke(cr, kInk, 5);
    if (detailed) {
        for (int lane = 0; lane < 2; ++lane) {
            const double y = lane == 0 ? 250 : 560;
            for (int x = 0; x < 800; x += 24) {
                CirclePath(cr, x + 12, y, 9);
                FillInk(cr, (x / 24) % 2 == 0 ? Hex(0xFF5252) : kWhite, 2);
            }
        }
    }
}

void Snow(cairo_t* cr, bool detailed) {
    VerticalGradient(cr, 0, 330, Hex(0x9ED7FF), Hex(0xEAF6FF));
    if (detailed) {
        Cloud(cr, 180, 80, 0.7);
        Cloud(cr, 620, 60, 0.6);
        for (int i = 0; i < 6; ++i) PineTree(cr, 40 + i * 150, 330, 110);
    } else {
        PlainSun(cr, 700, 75);
    }
    cairo_move_to(cr, 0, 300);
    cairo_curve_to(cr, 250, 280, 500, 380, 800, 430);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    FillInk(cr, Hex(0xFBFDFF), 4);
    if (detailed) {
        Random random(55);
        for (int i = 0; i < 40; ++i) {
            CirclePath(cr, random.Between(0, 800), random.Between(0, 600), random.Between(2, 5));
            Fill(cr, kWhite, 0.9);
        }
    }
}

void Sea(cairo_t* cr, bool detailed) {
    Sky(cr, 320);
    if (detailed) {
        Sun(cr, 680, 80, 44);
        Cloud(cr, 200, 70, 0.7);
        // A little lighthouse island.
        EllipsePath(cr, 110, 325, 90, 28);
        FillInk(cr, Hex(0xF2D58A), 4);
        PolygonPath(cr, {{95, 320}, {125, 320}, {119, 220}, {101, 220}});
        FillInk(cr, kWhite, 4);
        cairo_rectangle(cr, 98, 258, 24, 18);
        Fill(cr, Hex(0xE53935));
        PolygonPath(cr, {{96, 220}, {124, 220}, {110, 200}});
        FillInk(cr, Hex(0xE53935), 4);
    } else {
        PlainSun(cr, 680, 80);
    }
    VerticalGradient(cr, 320, 600, Hex(0x4FB3F2), Hex(0x1565C0));
    cairo_move_to(cr, 0, 320);
    cairo_line_to(cr, 800, 320);
    Stroke(cr, kInk, 4);
}

void Underwater(cairo_t* cr, bool detailed) {
    VerticalGradient(cr, 0, 600, Hex(0x5AD1F0), Hex(0x0D5FA8));
    if (detailed) {
        for (int i = 0; i < 4; ++i) {
            const double x = 120 + i * 190;
            PolygonPath(cr, {{x - 25, 0}, {x + 25, 0}, {x + 90, 600}, {x - 10, 600}});
            Fill(cr, kWhite, 0.08);
        }
    }
    cairo_move_to(cr, 0, 510);
    cairo_curve_to(cr, 200, 480, 500, 530, 800, 500);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    FillInk(cr, Hex(0xF5D78E), 4);
    if (detailed) {
        const double weeds[][2] = {{60, 520}, {110, 515}, {700, 505}, {745, 510}};
        for (const auto& w : weeds) {
            cairo_move_to(cr, w[0], w[1]);
            cairo_curve_to(cr, w[0] - 30, w[1] - 100, w[0] + 30, w[1] - 180, w[0] - 10, w[1] - 260);
            Stroke(cr, kInk, 22);
            cairo_move_to(cr, w[0], w[1]);
            cairo_curve_to(cr, w[0] - 30, w[1] - 100, w[0] + 30, w[1] - 180, w[0] - 10, w[1] - 260);
            Stroke(cr, Hex(0x43B86A), 14);
        }
        StarPath(cr, 600, 560, 26, 12, 5, 0.2);
        FillInk(cr, Hex(0xFF8A65), 4);
        EllipsePath(cr, 250, 565, 22, 14);
        FillInk(cr, Hex(0xF8BBD0), 4);
    }
}

void Ice(cairo_t* cr, bool detailed) {
    VerticalGradient(cr, 0, 250, Hex(0x2B3A67), Hex(0x40528A));
    if (detailed) {
        Random random(66);
        const Rgb shirts[] = {Hex(0xFF5252), Hex(0xFFD23F), Hex(0x4FC3F7), Hex(0x81C784),
                              Hex(0xF48FB1)};
        for (int row = 0; row < 4; ++row) {
            for (int i = 0; i < 20; ++i) {
                const double x = i * 42 + (row % 2) * 21 + random.Between(-4, 4);
                const double y = 50 + row * 50;
                CirclePath(cr, x, y + 14, 16);
                Fill(cr, shirts[random.Next() % 5]);
                CirclePath(cr, x, y, 10);
                Fill(cr, Hex(0xF2C9A0));
            }
        }
    }
    cairo_rectangle(cr, -5, 235, 810, 40);
    FillInk(cr, kWhite, 4);
    cairo_rectangle(cr, -5, 262, 810, 10);
    Fill(cr, Hex(0xFFC107));
    VerticalGradient(cr, 275, 600, Hex(0xE8F6FF), Hex(0xCDEBFA));
    cairo_move_to(cr, 0, 275);
    cairo_line_to(cr, 800, 275);
    Stroke(cr, kInk, 4);
    cairo_move_to(cr, 400, 275);
    cairo_line_to(cr, 400, 600);
    Stroke(cr, Hex(0xE53935), 8);
    if (detailed) {
        EllipsePath(cr, 400, 440, 150, 75);
        Stroke(cr, Hex(0x1E88E5), 5);
        for (int x : {150, 650}) {
            cairo_move_to(cr, x, 275);
            cairo_line_to(cr, x - (x - 400) * 0.3, 600);
            Stroke(cr, Hex(0x1E88E5), 7);
        }
    }
}

void Pond(cairo_t* cr, bool detailed) {
    Sky(cr, 330);
    if (detailed) {
        Sun(cr, 700, 80, 42);
        Cloud(cr, 250, 75, 0.7);
    } else {
        PlainSun(cr, 700, 80);
    }
    Hills(cr, 300, Hex(0x9BD98C), Hex(0x7BD16B));
    EllipsePath(cr, 400, 470, 390, 115);
    FillInk(cr, Hex(0x4FB8E8), 5);
    if (detailed) {
        for (int i = 0; i < 3; ++i) {
            EllipsePath(cr, 400, 470, 300 - i * 90, 80 - i * 24);
            Stroke(cr, Hex(0x8FD6F5), 3);
        }
        for (int side = 0; side < 2; ++side) {
            for (int i = 0; i < 4; ++i) {
                const double x = side == 0 ? 30 + i * 22 : 700 + i * 22;
                InkLine(cr, {x, 470}, {x + 8, 330.0 + i * 12}, Hex(0x5BAA4A), 6, 2);
                EllipsePath(cr, x + 8, 345 + i * 12, 8, 22);
                FillInk(cr, Hex(0x8D5A3B), 3);
            }
        }
    }
}

void Court(cairo_t* cr, bool detailed) {
    Sky(cr, 330);
    if (detailed) {
        Sun(cr, 90, 80, 42);
        Cloud(cr, 520, 70, 0.7);
        Tree(cr, 700, 330, 80);
        Tree(cr, 250, 330, 70);
        // Chain-link fence behind the court.
        for (int x = -40; x < 840; x += 26) {
            cairo_move_to(cr, x, 230);
            cairo_line_to(cr, x + 100, 330);
            cairo_move_to(cr, x + 100, 230);
            cairo_line_to(cr, x, 330);
        }
        Stroke(cr, Hex(0x9AA5B1), 2);
        cairo_rectangle(cr, -5, 226, 810, 6);
        Fill(cr, Hex(0x6B7785));
    } else {
        PlainSun(cr, 90, 80);
    }
    cairo_rectangle(cr, -5, 330, 810, 275);
    FillInk(cr, Hex(0x3F8FD8), 4);
    cairo_move_to(cr, 60, 600);
    cairo_line_to(cr, 200, 360);
    cairo_line_to(cr, 600, 360);
    cairo_line_to(cr, 740, 600);
    Stroke(cr, kWhite, 6);
    if (detailed) {
        cairo_move_to(cr, 150, 445);
        cairo_line_to(cr, 650, 445);
        Stroke(cr, kWhite, 5);
        cairo_move_to(cr, 400, 360);
        cairo_line_to(cr, 400, 600);
        Stroke(cr, kWhite, 5);
    }
}

}  // namespace

void DrawScene(cairo_t* cr, Scene scene, bool detailed) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 800, 600);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    switch (scene) {
        case Scene::Town:
            Town(cr, detailed);
            break;
        case Scene::Stage:
            Stage(cr, detailed);
            break;
        case Scene::Field:
            Field(cr, detailed);
            break;
        case Scene::Meadow:
            Meadow(cr, detailed);
            break;
        case Scene::Pool:
            Pool(cr, detailed);
            break;
        case Scene::Snow:
            Snow(cr, detailed);
            break;
        case Scene::Sea:
            Sea(cr, detailed);
            break;
        case Scene::Underwater:
            Underwater(cr, detailed);
            break;
        case Scene::Ice:
            Ice(cr, detailed);
            break;
        case Scene::Pond:
            Pond(cr, detailed);
            break;
        case Scene::Court:
            Court(cr, detailed);
            break;
    }
    cairo_restore(cr);
}

const Canvas& SceneCache::Get(Scene scene, bool detailed) {
    const auto key = std::make_pair(scene, detailed);
    auto found = painted_.find(key);
    if (found == painted_.end()) {
        Canvas canvas(800, 600);
        DrawScene(canvas.Cr(), scene, detailed);
        found = painted_.emplace(key, std::move(canvas)).first;
    }
    return found->second;
}

}  // namespace make_demo
