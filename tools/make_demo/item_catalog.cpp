#include "item_catalog.h"

#include "item_drawings.h"

namespace make_demo {

std::string_view ThemeName(Theme theme) {
    switch (theme) {
        case Theme::Yrke:
            return "Yrke";
        case Theme::Musik:
            return "Musik";
        case Theme::Sport:
            return "Sport";
        case Theme::Djur:
            return "Djur";
    }
    return "";
}

const std::array<Item, 32>& Items() {
    using enum Theme;
    using enum Scene;
    // Film pictures, ordinary delay, first delay, callout picture and its delay.
    static const std::array<Item, 32> items = {{
        {Yrke, "Läkare", Town, 12, 130, 300, -1, 0, DrawDoctor},
        {Yrke, "Brandman", Town, 12, 110, 300, -1, 0, DrawFirefighter},
        {Yrke, "Polis", Town, 12, 140, 300, -1, 0, DrawPoliceOfficer},
        {Yrke, "Kock", Town, 12, 130, 300, -1, 0, DrawChef},
        {Yrke, "Bonde", Meadow, 12, 140, 300, -1, 0, DrawFarmer},
        {Yrke, "Målare", Town, 12, 130, 300, -1, 0, DrawPainter},
        {Yrke, "Snickare", Town, 10, 110, 300, -1, 0, DrawCarpenter},
        {Yrke, "Brevbärare", Town, 12, 130, 300, -1, 0, DrawPostman},

        {Musik, "Fiol", Stage, 16, 110, 250, -1, 0, DrawViolin},
        {Musik, "Trumma", Stage, 8, 120, 250, -1, 0, DrawDrum},
        {Musik, "Gitarr", Stage, 12, 110, 250, -1, 0, DrawGuitar},
        {Musik, "Piano", Stage, 16, 120, 250, -1, 0, DrawPiano},
        {Musik, "Flöjt", Stage, 12, 130, 250, -1, 0, DrawRecorder},
        {Musik, "Trumpet", Stage, 12, 120, 250, -1, 0, DrawTrumpet},
        {Musik, "Xylofon", Stage, 16, 100, 250, -1, 0, DrawXylophone},
        {Musik, "Triangel", Stage, 10, 120, 250, -1, 0, DrawTriangle},

        {Sport, "Fotboll", Field, 14, 100, 300, -1, 0, DrawFootball},
        {Sport, "Tennis", Court, 14, 100, 300, -1, 0, DrawTennis},
        {Sport, "Simning", Pool, 12, 120, 300, -1, 0, DrawSwimming},
        {Sport, "Cykel", Field, 12, 90, 300, -1, 0, DrawCycling},
        {Sport, "Skidor", Snow, 12, 110, 300, -1, 0, DrawSkiing},
        {Sport, "Basket", Court, 14, 100, 300, -1, 0, DrawBasketball},
        {Sport, "Ishockey", Ice, 12, 100, 300, -1, 0, DrawIceHockey},
        {Sport, "Segling", Sea, 16, 130, 300, -1, 0, DrawSailing},

        // The hen calls out on picture 6, where the program plays her single call.
        {Djur, "Höna", Meadow, 14, 120, 300, 6, 400, DrawHen},
        {Djur, "Katt", Meadow, 12, 130, 300, -1, 0, DrawCat},
        {Djur, "Hund", Meadow, 12, 110, 300, -1, 0, DrawDog},
        {Djur, "Ko", Meadow, 12, 150, 300, -1, 0, DrawCow},
        {Djur, "Gris", Meadow, 12, 120, 300, -1, 0, DrawPig},
        {Djur, "Fisk", Underwater, 16, 110, 300, -1, 0, DrawFish},
        {Djur, "Groda", Pond, 12, 110, 300, -1, 0, DrawFrog},
        {Djur, "Kanin", Meadow, 12, 110, 300, -1, 0, DrawRabbit},
    }};
    return items;
}

std::string FolderText(const Item& item) {
    return std::string(ThemeName(item.theme)) + "\\" + std::string(item.name) + "\\";
}

std::vector<int16_t> FilmDelays(const Item& item) {
    std::vector<int16_t> delays(static_cast<size_t>(item.filmPictures),
                                static_cast<int16_t>(item.pictureDelay));
    delays[0] = static_cast<int16_t>(item.firstDelay);
    if (item.calloutPicture >= 0) {
        delays[static_cast<size_t>(item.calloutPicture)] = static_cast<int16_t>(item.calloutDelay);
    }
    return delays;
}

}  // namespace make_demo
