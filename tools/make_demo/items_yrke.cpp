// The occupations: a person dressed for the job, a tool in the right hand and a thing of the
// job beside them.
#include <cmath>
#include <numbers>

#include "effects.h"
#include "item_drawings.h"
#include "paint.h"
#include "person.h"

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

void Teddy(cairo_t* cr, double x, double ground) {
    const Rgb fur = Hex(0xB07A4F), light = Hex(0xE8C39E);
    for (int side : {-1, 1}) {
        EllipsePath(cr, x + side * 36, ground - 12, 24, 16);
        FillInk(cr, fur, 4);
    }
    EllipsePath(cr, x, ground - 60, 52, 56);
    FillInk(cr, fur, 5);
    EllipsePath(cr, x, ground - 52, 30, 34);
    Fill(cr, light);
    for (int side : {-1, 1}) {
        EllipsePath(cr, x + side * 52, ground - 80, 16, 26);
        FillInk(cr, fur, 4);
        CirclePath(cr, x + side * 34, ground - 168, 17);
        FillInk(cr, fur, 4);
    }
    CirclePath(cr, x, ground - 135, 45);
    FillInk(cr, fur, 5);
    EllipsePath(cr, x, ground - 120, 19, 14);
    FillInk(cr, light, 3);
    EllipsePath(cr, x, ground - 126, 7, 5);
    Fill(cr, kInk);
    Eye(cr, x - 16, ground - 145, 5);
    Eye(cr, x + 16, ground - 145, 5);
    // A plaster on the forehead: the teddy is the patient.
    cairo_save(cr);
    cairo_translate(cr, x + 18, ground - 166);
    cairo_rotate(cr, 0.5);
    RoundedRectPath(cr, -20, -7, 40, 14, 6);
    FillInk(cr, Hex(0xFFE0B2), 3);
    cairo_restore(cr);
}

void Flame(cairo_t* cr, double x, double base, double size, double flicker) {
    const double h = size * (1.0 + 0.15 * flicker);
    cairo_move_to(cr, x, base);
    cairo_curve_to(cr, x - size * 0.7, base, x - size * 0.6, base - h * 0.6, x - size * 0.1,
                   base - h);
    cairo_curve_to(cr, x, base - h * 0.6, x + size * 0.2, base - h * 0.7, x + size * 0.3,
                   base - h * 0.85);
    cairo_curve_to(cr, x + size * 0.7, base - h * 0.4, x + size * 0.6, base, x, base);
    cairo_close_path(cr);
    FillInk(cr, Hex(0xFF7A1A), 4);
    EllipsePath(cr, x, base - h * 0.25, size * 0.25, h * 0.22);
    Fill(cr, Hex(0xFFE14D));
}

void Envelope(cairo_t* cr, double x, double y, double w, double turn) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, turn);
    const double h = w * 0.65;
    cairo_rectangle(cr, -w / 2, -h / 2, w, h);
    FillInk(cr, kWhite, 3);
    cairo_move_to(cr, -w / 2, -h / 2);
    cairo_line_to(cr, 0, h * 0.1);
    cairo_line_to(cr, w / 2, -h / 2);
    Stroke(cr, kInk, 3);
    cairo_rectangle(cr, w * 0.22, -h * 0.38, w * 0.16, h * 0.22);
    Fill(cr, Hex(0xE53935));
    cairo_restore(cr);
}

}  // namespace

void DrawDoctor(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 320;
    f.skin = Hex(0xE0A67A);
    f.hair = Hex(0x2B1B12);
    f.shirt = kWhite;
    f.trousers = Hex(0x4DB6AC);
    f.shoes = Hex(0x8D99A6);
    f.longHair = true;
    const double top = f.feet - 238;
    const double reach = 0.95 + 0.2 * s.Wave();
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        cairo_move_to(cr, f.x - 34, top + 2);
        cairo_line_to(cr, f.x, top + 74);
        cairo_line_to(cr, f.x + 34, top + 2);
        Stroke(cr, kInk, 4);
        InkLine(cr, {f.x - 50, top + 84}, {f.x - 50, top + 64}, Hex(0xE53935), 5, 2);
        InkLine(cr, {f.x - 38, top + 84}, {f.x - 38, top + 68}, Hex(0x1E88E5), 5, 2);
        cairo_rectangle(cr, f.x - 60, top + 80, 36, 30);
        FillInk(cr, kWhite, 4);
        cairo_rectangle(cr, f.x + 30, top + 60, 24, 8);
        cairo_rectangle(cr, f.x + 38, top + 52, 8, 24);
        Fill(cr, Hex(0xE53935));
        for (int i = 0; i < 3; ++i) {
            CirclePath(cr, f.x + 6, top + 90 + i * 24, 5);
            FillInk(cr, Hex(0xB0BEC5), 2);
        }
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Part()) {
        DrawArm(cr, f, false, 0.28);
        DrawHand(cr, f, Hand(f, false, 0.28));
        const Point h = Hand(f, true, reach);
        DrawArm(cr, f, true, reach);
        InkCurve(cr, {f.x - 18, top + 4}, {f.x - 40, top + 110}, {h.x - 70, h.y + 50}, h,
                 Hex(0x607D8B), 7, 3);
        DrawHand(cr, f, h);
        CirclePath(cr, h.x + 16, h.y + 8, 15);
        FillInk(cr, Hex(0xCFD8DC), 4);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 36;
        cairo_move_to(cr, f.x - 60, y + 10);
        cairo_curve_to(cr, f.x - 30, y - 12, f.x + 30, y - 12, f.x + 60, y + 10);
        cairo_path_t* band = cairo_copy_path(cr);
        Stroke(cr, kInk, 13);
        cairo_append_path(cr, band);
        Stroke(cr, Hex(0x90A4AE), 7);
        cairo_path_destroy(band);
        CirclePath(cr, f.x + 8, y - 16, 22);
        FillInk(cr, Hex(0xE3E9ED), 4);
        CirclePath(cr, f.x + 8, y - 16, 7);
        Fill(cr, Hex(0x90A4AE));
        Sparkle(cr, f.x - 4, y - 28, 7, kWhite);
    }
    if (s.Detail()) Teddy(cr, 575, 488);
    if (s.Detail()) {
        for (int i = 0; i < 3; ++i) {
            const double p = Rising(s, i, 3);
            HeartPath(cr, 630 + 18 * std::sin(2 * kPi * p + i), 300 - 190 * p, 16 + 6 * p);
            Fill(cr, Hex(0xFF5C8A), std::sin(kPi * p));
        }
    }
}

void DrawFirefighter(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 300;
    f.hair = Hex(0xD9822B);
    f.shirt = Hex(0x2F4A7A);
    f.trousers = Hex(0x2F4A7A);
    f.shoes = Hex(0x263238);
    const double top = f.feet - 238;
    const double aim = 1.75 + 0.08 * s.Wave(2);
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        for (double y : {top + 120.0, top + 132.0}) {
            cairo_rectangle(cr, f.x - 70, y, 140, 8);
            Fill(cr, Hex(0xFFE14D));
        }
        for (int side : {-1, 1}) {
            cairo_rectangle(cr, f.x + side * 31 - 9, f.feet - 70, 18, 8);
            Fill(cr, Hex(0xFFE14D));
        }
        for (int i = 0; i < 3; ++i) {
            CirclePath(cr, f.x, top + 30 + i * 28, 5);
            FillInk(cr, Hex(0xFFD54F), 2);
        }
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Part()) {
        DrawArm(cr, f, false, 0.9);
        const Point h = Hand(f, true, aim);
        const Point d = ArmDirection(true, aim);
        const Point nozzle = {h.x + d.x * 60 + 12, h.y + d.y * 60 - 20};
        // The hose comes in from the ground behind the firefighter.
        InkCurve(cr, {150, 600}, {180, 420}, {h.x - 120, h.y + 60}, h, Hex(0xC62828), 18, 4);
        InkLine(cr, h, nozzle, Hex(0xB0BEC5), 16, 4);
        DrawArm(cr, f, true, aim);
        DrawHand(cr, f, h);
        DrawHand(cr, f, Hand(f, false, 0.9));
        // The jet of water arches towards the fire.
        const double sway = 12 * s.Wave(2);
        cairo_move_to(cr, nozzle.x + 8, nozzle.y - 4);
        cairo_curve_to(cr, nozzle.x + 90, nozzle.y - 110 + sway, 600, 180 + sway, 640, 330);
        cairo_path_t* jet = cairo_copy_path(cr);
        Stroke(cr, Hex(0x1E88E5), 20);
        cairo_append_path(cr, jet);
        Stroke(cr, Hex(0x9FE0FF), 11);
        cairo_path_destroy(jet);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 34;
        EllipsePath(cr, f.x, y + 4, 88, 20);
        FillInk(cr, Hex(0xE53935), 5);
        cairo_move_to(cr, f.x - 62, y + 4);
        cairo_curve_to(cr, f.x - 62, y - 80, f.x + 62, y - 80, f.x + 62, y + 4);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xE53935), 5);
        cairo_move_to(cr, f.x, y - 52);
        cairo_line_to(cr, f.x, y - 4);
        Stroke(cr, Hex(0xB71C1C), 8);
        StarPath(cr, f.x, y - 24, 18, 8, 5);
        FillInk(cr, Hex(0xFFD54F), 3);
    }
    if (s.Detail()) {
        // A little shed with a fire on its roof.
        cairo_rectangle(cr, 560, 360, 150, 128);
        FillInk(cr, Hex(0xFFCC80), 5);
        PolygonPath(cr, {{545, 362}, {635, 300}, {725, 362}});
        FillInk(cr, Hex(0x8D6E63), 5);
        cairo_rectangle(cr, 615, 410, 40, 78);
        FillInk(cr, Hex(0x8D6E63), 4);
        Flame(cr, 615, 330, 60 - 25 * s.Pulse(), s.Wave(3));
        Flame(cr, 670, 345, 45 - 18 * s.Pulse(), s.Wave(3, 0.3));
    }
    if (s.Detail()) {
        for (int i = 0; i < 6; ++i) {
            const double p = Rising(s, i, 6);
            EllipsePath(cr, 600 + i * 14 - 40 * p, 330 + 140 * p * p, 6, 9);
            FillInk(cr, Hex(0x9FE0FF), 2);
        }
    }
}

void DrawPoliceOfficer(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 320;
    f.skin = Hex(0xC68642);
    f.hair = Hex(0x1B1B1B);
    f.shirt = Hex(0x2456B8);
    f.trousers = Hex(0x182B6B);
    f.shoes = Hex(0x212121);
    const double top = f.feet - 238;
    const double wave = 2.5 + 0.35 * s.Wave(2);
    const int light = static_cast<int>(s.t * 3.0) % 3;
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        cairo_rectangle(cr, f.x - 68, f.feet - 112, 136, 16);
        FillInk(cr, Hex(0x212121), 3);
        cairo_rectangle(cr, f.x - 10, f.feet - 114, 20, 20);
        FillInk(cr, Hex(0xFFD54F), 3);
        StarPath(cr, f.x - 36, top + 52, 17, 8, 6);
        FillInk(cr, Hex(0xFFD54F), 3);
        cairo_move_to(cr, f.x, top + 4);
        cairo_line_to(cr, f.x, f.feet - 112);
        Stroke(cr, Hex(0x183F8A), 4);
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Part()) {
        DrawArm(cr, f, false, 0.35);
        DrawHand(cr, f, Hand(f, false, 0.35));
        const Point h = Hand(f, true, wave);
        const Point d = ArmDirection(true, wave);
        const Point sign = {h.x + d.x * 70, h.y + d.y * 70};
        InkLine(cr, h, sign, Hex(0x795548), 10, 3);
        CirclePath(cr, sign.x, sign.y, 40);
        FillInk(cr, Hex(0xE53935), 5);
        CirclePath(cr, sign.x, sign.y, 29);
        Stroke(cr, kWhite, 5);
        cairo_rectangle(cr, sign.x - 22, sign.y - 6, 44, 12);
        Fill(cr, kWhite);
        DrawArm(cr, f, true, wave);
        DrawHand(cr, f, h);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 44;
        cairo_move_to(cr, f.x - 66, y + 12);
        cairo_curve_to(cr, f.x - 80, y - 40, f.x + 80, y - 40, f.x + 66, y + 12);
        cairo_close_path(cr);
        FillInk(cr, Hex(0x182B6B), 5);
        cairo_rectangle(cr, f.x - 62, y + 2, 124, 14);
        FillInk(cr, kWhite, 3);
        EllipsePath(cr, f.x + 10, y + 22, 62, 12);
        FillInk(cr, Hex(0x212121), 4);
        StarPath(cr, f.x, y - 14, 14, 6, 5);
        FillInk(cr, Hex(0xFFD54F), 3);
    }
    if (s.Detail()) {
        cairo_rectangle(cr, 606, 300, 18, 188);
        FillInk(cr, Hex(0x607D8B), 4);
        RoundedRectPath(cr, 570, 140, 90, 190, 20);
        FillInk(cr, Hex(0x37474F), 5);
        const Rgb on[] = {Hex(0xFF3D3D), Hex(0xFFD23F), Hex(0x3DDC6B)};
        for (int i = 0; i < 3; ++i) {
            CirclePath(cr, 615, 178 + i * 57, 22);
            FillInk(cr, i == light ? on[i] : Darker(on[i], 0.65), 4);
        }
    }
    if (s.Detail()) {
        // The whistle, and its "tweet" while the sign is held high.
        const Point mouth = {f.x + 26, f.HeadY() + 30};
        RoundedRectPath(cr, mouth.x - 4, mouth.y - 7, 30, 14, 6);
        FillInk(cr, Hex(0xCFD8DC), 3);
        const double loud = s.Pulse(2);
        for (int i = 0; i < 3; ++i) {
            const double a = -0.5 + i * 0.5;
            const double r0 = 40 + 8 * loud, r1 = 58 + 16 * loud;
            cairo_move_to(cr, mouth.x + 26 + std::cos(a) * r0, mouth.y + std::sin(a) * r0);
            cairo_line_to(cr, mouth.x + 26 + std::cos(a) * r1, mouth.y + std::sin(a) * r1);
            Stroke(cr, kInk, 5);
        }
    }
}

void DrawChef(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 340;
    f.skin = Hex(0xF1C27D);
    f.hair = Hex(0x5D4037);
    f.shirt = kWhite;
    f.trousers = Hex(0x455A64);
    f.shoes = Hex(0x3E2723);
    const double top = f.feet - 238;
    const double stir = 1.05 + 0.22 * s.Wave();
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        for (int row = 0; row < 3; ++row) {
            for (int side : {-1, 1}) {
                CirclePath(cr, f.x + side * 22, top + 50 + row * 30, 6);
                FillInk(cr, Hex(0xB0BEC5), 2);
            }
        }
        PolygonPath(cr, {{f.x - 34, top}, {f.x + 34, top}, {f.x, top + 34}});
        FillInk(cr, Hex(0xE53935), 4);
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Part()) {
        // The pot on the floor and the spoon stirring in it.
        RoundedRectPath(cr, 480, 380, 180, 108, 18);
        FillInk(cr, Hex(0x90A4AE), 5);
        EllipsePath(cr, 570, 380, 96, 22);
        FillInk(cr, Hex(0xFF8A65), 5);
        for (int side : {-1, 1}) {
            RoundedRectPath(cr, side < 0 ? 458 : 656, 400, 26, 14, 6);
            FillInk(cr, Hex(0x607D8B), 3);
        }
        DrawArm(cr, f, false, 0.3);
        DrawHand(cr, f, Hand(f, false, 0.3));
        const Point h = Hand(f, true, stir);
        const Point bowl = {560 + 40 * s.Wave(), 382};
        InkLine(cr, h, bowl, Hex(0xD7A15C), 12, 3);
        DrawArm(cr, f, true, stir);
        DrawHand(cr, f, h);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 48;
        cairo_rectangle(cr, f.x - 52, y - 6, 104, 30);
        FillInk(cr, kWhite, 5);
        for (int i = -1; i <= 1; ++i) CirclePath(cr, f.x + i * 36, y - 44, 34);
        CirclePath(cr, f.x, y - 70, 34);
        cairo_rectangle(cr, f.x - 48, y - 30, 96, 40);
        FillUnionInk(cr, kWhite, 5);
    }
    if (s.Detail()) {
        // A carrot and a tomato waiting on the floor.
        cairo_move_to(cr, 190, 480);
        cairo_curve_to(cr, 200, 440, 260, 440, 270, 470);
        cairo_line_to(cr, 190, 486);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFF8F2E), 4);
        CirclePath(cr, 170, 462, 24);
        FillInk(cr, Hex(0xF44336), 4);
        StarPath(cr, 170, 440, 10, 4, 5);
        FillInk(cr, Hex(0x4CAF50), 2);
    }
    if (s.Detail()) {
        for (int i = 0; i < 3; ++i) {
            const double p = Rising(s, i, 3);
            const double x = 540 + i * 30 + 16 * std::sin(2 * kPi * p + i);
            CirclePath(cr, x, 350 - 200 * p, 18 + 14 * p);
            Fill(cr, kWhite, 0.85 * std::sin(kPi * p));
        }
    }
}

void DrawFarmer(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 300;
    f.skin = Hex(0xF6C7A1);
    f.hair = Hex(0xE8B04B);
    f.shirt = Hex(0xE53935);
    f.trousers = Hex(0x3F6CC9);
    f.shoes = Hex(0x6D4C41);
    const double top = f.feet - 238;
    const double tilt = 1.35 + 0.12 * s.Wave();
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        RoundedRectPath(cr, f.x - 48, top + 70, 96, 90, 10);
        FillInk(cr, f.trousers, 4);
        for (int side : {-1, 1}) {
            InkLine(cr, {f.x + side * 40, top + 74}, {f.x + side * 44, top + 4}, f.trousers, 12, 3);
            CirclePath(cr, f.x + side * 36, top + 84, 6);
            FillInk(cr, Hex(0xFFD54F), 2);
        }
        RoundedRectPath(cr, f.x - 22, top + 100, 44, 30, 6);
        Stroke(cr, kInk, 3);
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Part()) {
        DrawArm(cr, f, false, 0.3);
        DrawHand(cr, f, Hand(f, false, 0.3));
        const Point h = Hand(f, true, tilt);
        // A green watering can, tipped a little more and a little less.
        cairo_save(cr);
        cairo_translate(cr, h.x + 40, h.y + 30);
        cairo_rotate(cr, 0.35 + 0.15 * s.Wave());
        InkLine(cr, {40, 0}, {120, -40}, Hex(0x43A047), 14, 4);
        RoundedRectPath(cr, -50, -30, 100, 80, 16);
        FillInk(cr, Hex(0x66BB6A), 5);
        EllipsePath(cr, 124, -42, 14, 10);
        FillInk(cr, Hex(0x43A047), 4);
        cairo_restore(cr);
        DrawArm(cr, f, true, tilt);
        DrawHand(cr, f, h);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 40;
        EllipsePath(cr, f.x, y + 6, 112, 24);
        FillInk(cr, Hex(0xF2C14E), 5);
        cairo_move_to(cr, f.x - 58, y + 6);
        cairo_curve_to(cr, f.x - 60, y - 70, f.x + 60, y - 70, f.x + 58, y + 6);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xF2C14E), 5);
        cairo_rectangle(cr, f.x - 57, y - 14, 114, 14);
        Fill(cr, Hex(0xE53935));
    }
    if (s.Detail()) {
        EllipsePath(cr, 600, 478, 120, 22);
        FillInk(cr, Hex(0x8D6E63), 4);
        for (int i = 0; i < 4; ++i) {
            const double x = 520 + i * 54;
            const double sway = 6 * s.Wave(1, i * 0.25);
            for (int leaf = -1; leaf <= 1; ++leaf) {
                EllipsePath(cr, x + leaf * 10 + sway, 440, 7, 26);
                FillInk(cr, Hex(0x4CAF50), 3);
            }
            PolygonPath(cr, {{x - 14, 462}, {x + 14, 462}, {x, 500}});
            FillInk(cr, Hex(0xFF8F2E), 3);
        }
    }
    if (s.Detail()) {
        for (int i = 0; i < 5; ++i) {
            const double p = Rising(s, i, 5);
            EllipsePath(cr, 540 + i * 16 + 20 * p, 330 + 120 * p, 5, 8);
            FillInk(cr, Hex(0x9FE0FF), 2);
        }
    }
}

void DrawPainter(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 290;
    f.skin = Hex(0x8D5524);
    f.hair = Hex(0x1B1B1B);
    f.shirt = Hex(0xF5F5F5);
    f.trousers = Hex(0xF5F5F5);
    f.shoes = Hex(0x6D4C41);
    const double top = f.feet - 238;
    const double roll = 1.95 + 0.5 * s.Wave();
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        const double spots[][3] = {{-40, 60, 0}, {30, 110, 1},  {-20, 150, 2},
                                   {45, 40, 3},  {-30, 215, 1}, {34, 240, 0}};
        const Rgb paints[] = {Hex(0xFF4081), Hex(0x40C4FF), Hex(0xFFD740), Hex(0x69F0AE)};
        for (const auto& p : spots) {
            StarPath(cr, f.x + p[0], top + p[1], 11, 6, 7);
            Fill(cr, paints[static_cast<int>(p[2])]);
        }
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Detail()) {
        // The wall being painted, stripe by stripe.
        RoundedRectPath(cr, 480, 110, 220, 378, 10);
        FillInk(cr, Hex(0xFFF3E0), 5);
        const Rgb stripes[] = {Hex(0xFF5252), Hex(0xFFAB40), Hex(0xFFEB3B), Hex(0x69F0AE),
                               Hex(0x40C4FF)};
        for (int i = 0; i < 5; ++i) {
            cairo_rectangle(cr, 600 + i * 18, 122, 18, 354);
            Fill(cr, stripes[i]);
        }
    }
    if (s.Part()) {
        DrawArm(cr, f, false, 0.35);
        DrawHand(cr, f, Hand(f, false, 0.35));
        const Point h = Hand(f, true, roll);
        const Point head = {h.x + 70, h.y - 20};
        InkLine(cr, h, head, Hex(0x9E9E9E), 8, 3);
        RoundedRectPath(cr, head.x - 10, head.y - 50, 28, 100, 10);
        FillInk(cr, Hex(0xFF5252), 4);
        DrawArm(cr, f, true, roll);
        DrawHand(cr, f, h);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 46;
        cairo_move_to(cr, f.x - 64, y + 14);
        cairo_curve_to(cr, f.x - 70, y - 50, f.x + 70, y - 50, f.x + 64, y + 14);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFFD740), 5);
        EllipsePath(cr, f.x + 44, y + 16, 52, 11);
        FillInk(cr, Hex(0xFFC400), 4);
    }
    if (s.Detail()) {
        RoundedRectPath(cr, 170, 410, 70, 78, 8);
        FillInk(cr, Hex(0x90CAF9), 5);
        EllipsePath(cr, 205, 410, 35, 10);
        FillInk(cr, Hex(0xFF5252), 4);
        for (int i = 0; i < 3; ++i) {
            const double p = Rising(s, i, 3);
            Sparkle(cr, 520 + i * 50, 180 + 260 * p, 10 * std::sin(kPi * p) + 2, Hex(0xFFEB3B));
        }
    }
}

void DrawCarpenter(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 300;
    f.skin = Hex(0xF6C7A1);
    f.hair = Hex(0xA0522D);
    f.shirt = Hex(0xD84315);
    f.trousers = Hex(0x3D5A99);
    f.shoes = Hex(0x5D4037);
    const double top = f.feet - 238;
    const double lift = s.Pulse(1, 0.5);  // 1: hammer up, 0: on the nail
    const double swing = 1.25 + 1.3 * lift;
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        // Checks on the shirt.
        cairo_save(cr);
        TorsoPath(cr, f);
        cairo_clip(cr);
        for (int i = -4; i <= 4; ++i) {
            cairo_move_to(cr, f.x + i * 22, top);
            cairo_line_to(cr, f.x + i * 22, top + 150);
            cairo_move_to(cr, f.x - 80, top + 20 + (i + 4) * 22);
            cairo_line_to(cr, f.x + 80, top + 20 + (i + 4) * 22);
        }
        Stroke(cr, Hex(0xFFAB91), 5);
        cairo_restore(cr);
        TorsoPath(cr, f);
        Stroke(cr, kInk, 5);
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Detail()) {
        // The workbench with a board and a nail.
        cairo_rectangle(cr, 490, 372, 200, 26);
        FillInk(cr, Hex(0xC68B59), 5);
        for (double x : {505.0, 655.0}) {
            cairo_rectangle(cr, x, 396, 22, 92);
            FillInk(cr, Hex(0xA06A3E), 4);
        }
        cairo_rectangle(cr, 540, 352, 130, 20);
        FillInk(cr, Hex(0xE8C07A), 4);
        cairo_rectangle(cr, 583, 336 + 14 * (1 - lift), 6, 20);
        FillInk(cr, Hex(0x9E9E9E), 2);
    }
    if (s.Part()) {
        DrawArm(cr, f, false, 0.35);
        DrawHand(cr, f, Hand(f, false, 0.35));
        const Point h = Hand(f, true, swing);
        const Point d = ArmDirection(true, swing);
        const Point end = {h.x + d.x * 62, h.y + d.y * 62};
        InkLine(cr, h, end, Hex(0xD7A15C), 12, 3);
        cairo_save(cr);
        cairo_translate(cr, end.x, end.y);
        cairo_rotate(cr, std::atan2(d.y, d.x));
        RoundedRectPath(cr, -14, -30, 28, 60, 6);
        FillInk(cr, Hex(0x78909C), 4);
        cairo_restore(cr);
        DrawArm(cr, f, true, swing);
        DrawHand(cr, f, h);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 40;
        EllipsePath(cr, f.x, y + 8, 84, 16);
        FillInk(cr, Hex(0xFFC400), 5);
        cairo_move_to(cr, f.x - 62, y + 8);
        cairo_curve_to(cr, f.x - 62, y - 76, f.x + 62, y - 76, f.x + 62, y + 8);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFFC400), 5);
        cairo_move_to(cr, f.x, y - 54);
        cairo_line_to(cr, f.x, y + 2);
        Stroke(cr, Hex(0xFFA000), 10);
    }
    if (s.Detail()) {
        const double bang = 1.0 - lift;
        if (bang > 0.6) {
            StarPath(cr, 590, 330, 50 * bang, 22 * bang, 8);
            FillInk(cr, Hex(0xFFEB3B), 4);
            DrawText(cr, "PANG!", 590, 250, 36, Hex(0xE53935), Align::Centre);
        }
    }
}

void DrawPostman(Sketch& s) {
    cairo_t* cr = s.cr;
    Figure f;
    f.x = 290;
    f.skin = Hex(0xE0A67A);
    f.hair = Hex(0x3E2723);
    f.shirt = Hex(0x1E63C4);
    f.trousers = Hex(0x17307A);
    f.shoes = Hex(0x212121);
    f.longHair = true;
    const double top = f.feet - 238;
    const double offer = 1.45 + 0.2 * s.Wave();
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        InkLine(cr, {f.x + 50, top + 6}, {f.x - 56, top + 150}, Hex(0x8D6E63), 12, 3);
        RoundedRectPath(cr, f.x - 100, top + 130, 80, 66, 12);
        FillInk(cr, Hex(0xA1887F), 5);
        Envelope(cr, f.x - 60, top + 128, 46, -0.2);
        cairo_move_to(cr, f.x - 100, top + 150);
        cairo_line_to(cr, f.x - 20, top + 150);
        Stroke(cr, kInk, 4);
    }
    if (s.Part()) DrawHead(cr, f);
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Detail()) {
        cairo_rectangle(cr, 600, 330, 20, 158);
        FillInk(cr, Hex(0x8D6E63), 4);
        RoundedRectPath(cr, 540, 210, 140, 130, 22);
        FillInk(cr, Hex(0xFFD23F), 5);
        cairo_rectangle(cr, 570, 240, 80, 12);
        FillInk(cr, kInk, 2);
        // A posthorn on the box.
        CirclePath(cr, 610, 295, 22);
        Stroke(cr, Hex(0x1E63C4), 7);
        InkLine(cr, {588, 295}, {565, 280}, Hex(0x1E63C4), 6, 0);
    }
    if (s.Part()) {
        DrawArm(cr, f, false, 0.3);
        DrawHand(cr, f, Hand(f, false, 0.3));
        const Point h = Hand(f, true, offer);
        DrawArm(cr, f, true, offer);
        Envelope(cr, h.x + 30, h.y - 18, 64, -0.15);
        DrawHand(cr, f, h);
    }
    if (s.Part()) {
        const double y = f.HeadY() - 42;
        cairo_move_to(cr, f.x - 64, y + 12);
        cairo_curve_to(cr, f.x - 70, y - 50, f.x + 70, y - 50, f.x + 64, y + 12);
        cairo_close_path(cr);
        FillInk(cr, Hex(0x1E63C4), 5);
        cairo_rectangle(cr, f.x - 63, y - 2, 126, 12);
        Fill(cr, Hex(0xFFD23F));
        EllipsePath(cr, f.x + 40, y + 16, 50, 11);
        FillInk(cr, Hex(0x17307A), 4);
    }
    if (s.Detail()) {
        for (int i = 0; i < 2; ++i) {
            const double p = Rising(s, i, 2);
            const double x = 430 + 150 * p;
            const double y = 300 - 160 * std::sin(kPi * p) + 10 * p;
            Envelope(cr, x, y, 40, 0.6 * std::sin(2 * kPi * p));
        }
    }
}

}  // namespace make_demo
