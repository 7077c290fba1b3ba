#pragma once

#include "sketch.h"

// The drawing of every item, in the 800 × 600 picture with the subject around the middle
// (about x 170–630, y 60–500; the name goes below).
namespace make_demo {

void DrawDoctor(Sketch& s);
void DrawFirefighter(Sketch& s);
void DrawPoliceOfficer(Sketch& s);
void DrawChef(Sketch& s);
void DrawFarmer(Sketch& s);
void DrawPainter(Sketch& s);
void DrawCarpenter(Sketch& s);
void DrawPostman(Sketch& s);

void DrawViolin(Sketch& s);
void DrawDrum(Sketch& s);
void DrawGuitar(Sketch& s);
void DrawPiano(Sketch& s);
void DrawRecorder(Sketch& s);
void DrawTrumpet(Sketch& s);
void DrawXylophone(Sketch& s);
void DrawTriangle(Sketch& s);

void DrawFootball(Sketch& s);
void DrawTennis(Sketch& s);
void DrawSwimming(Sketch& s);
void DrawCycling(Sketch& s);
void DrawSkiing(Sketch& s);
void DrawBasketball(Sketch& s);
void DrawIceHockey(Sketch& s);
void DrawSailing(Sketch& s);

void DrawHen(Sketch& s);
void DrawCat(Sketch& s);
void DrawDog(Sketch& s);
void DrawCow(Sketch& s);
void DrawPig(Sketch& s);
void DrawFish(Sketch& s);
void DrawFrog(Sketch& s);
void DrawRabbit(Sketch& s);

}  // namespace make_demo
