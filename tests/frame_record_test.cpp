#include "display/frame_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A picture as the operations that made it, with their sources' contents as they were performed.
using Picture = std::vector<std::string>;

std::array<int, 26> contents;  // each source's content; sources are told apart by address only
const Surface* Source(char letter) {
    return reinterpret_cast<const Surface*>(&contents[static_cast<size_t>(letter - 'a')]);
}

void Apply(Picture& picture, const DrawOp& op) {
    if (op.coversAll) picture.clear();
    picture.push_back(char(op.color) + std::to_string(op.to.left) + "@" +
                      std::to_string(*reinterpret_cast<const int*>(op.source)));
}

// The back buffer's stand-in: an operation reads its source when it is performed.
struct ModelTarget : DrawTarget {
    Picture picture;
    int performed = 0;
    void Execute(const DrawOp& op) override { ++performed, Apply(picture, op); }
};

// A script of frames, words separated by spaces: "A1" an operation covering everything from
// source a (upper case) at position 1, "h2" one covering part of the buffer from source h at
// position 2; "R" the pixels read, "W" written directly; "Sh" source h changes; "?n" n operations
// are held back now; "|" flip, "F" a flip whose presentation fails; "X" something else shown.
// Each flip gives "=" (unchanged) or "!" (changed) and the operations performed since the last.
std::string RunScript(const std::string& script) {
    contents = {};
    ModelTarget target;
    FrameRecord record(target);
    Picture reference;  // every operation performed at once, in order
    const Picture unknown = {"?"};
    Picture shown = unknown;  // what the display shows
    std::string outcome;
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        SCOPED_TRACE("at " + word);
        const char c = word[0];
        if (c == '|' || c == 'F') {
            const bool unchanged = record.EndFrame();
            EXPECT_EQ(target.picture, reference) << "the buffer after the frame";
            EXPECT_TRUE(!unchanged || shown == reference) << "unchanged, but not what is shown";
            outcome +=
                (unchanged ? " =" : " !") + std::to_string(std::exchange(target.performed, 0));
            record.Presented(c == '|');
            shown = c == '|' ? reference : unknown;
        } else if (c == 'R') {
            record.BeforeRead();
            EXPECT_EQ(target.picture, reference) << "the pixels as read";
        } else if (c == 'W') {
            record.BeforeWrite();
            for (Picture* picture : {&target.picture, &reference}) picture->push_back("W");
        } else if (c == 'S') {
            record.BeforeSourceChanges(Source(word[1]));
            ++contents[static_cast<size_t>(word[1] - 'a')];
        } else if (c == '?') {
            EXPECT_EQ(record.HeldBack(), static_cast<size_t>(std::stoi(word.substr(1))));
        } else if (c == 'X') {
            record.ScreenChanged();
            shown = unknown;
        } else {
            const char letter = static_cast<char>(std::tolower(c));
            DrawOp op;
            op.source = Source(letter);
            op.sourceStamp = static_cast<uint64_t>(contents[static_cast<size_t>(letter - 'a')]);
            op.to.left = std::stoi(word.substr(1));
            op.color = static_cast<uint32_t>(letter);
            op.coversAll = c != letter;
            Apply(reference, op);
            record.Draw(op);
        }
    }
    return outcome.substr(1);
}

TEST(FrameRecord, HoldsBackOnlyWhatTheBufferAlreadyShows) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // name, script, outcome
        {"repeated frames", "A0 h1 | A0 h1 | A0 h1 |", "!2 =0 =0"},
        {"another first operation", "A0 h1 | B0 h1 | B0 h1 |", "!2 !2 =0"},
        {"a later operation differs", "A0 h1 | A0 h2 ?0 | A0 h1 |", "!2 !2 !2"},
        {"a frame ending early", "A0 h1 | A0 ?1 | A0 |", "!2 !1 =0"},
        {"a frame going on longer", "A0 | A0 h1 | A0 h1 |", "!1 !2 =0"},
        {"an empty frame keeps the picture", "A0 h1 | | A0 h1 |", "!2 =0 =0"},
        {"nothing covers everything", "a0 h1 | a0 h1 | a0 h1 |", "!2 !2 !2"},
        {"covering later in the frame", "h1 A0 | h1 A0 |", "!2 !2"},
        {"a held back source changes", "A0 h1 | A0 Sa ?0 h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a source changes between frames", "A0 h1 | Sh A0 h1 | A0 h1 |", "!2 !2 =0"},
        {"a later source changes", "A0 h1 | A0 Sh ?1 h1 | A0 h1 |", "!2 !2 =0"},
        {"a read performs what is held back", "A0 h1 | A0 ?1 R ?0 h1 | A0 h1 |", "!2 !2 =0"},
        {"a write between frames", "A0 h1 | W A0 h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a write within a frame", "A0 h1 | A0 W h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a write ending a repeated frame", "A0 h1 | A0 h1 W | A0 h1 |", "!2 !2 !2"},
        {"a failed presentation", "A0 h1 | A0 h1 F A0 h1 | A0 h1 |", "!2 =0 !0 =0"},
        {"something else shown", "A0 h1 | X A0 h1 | A0 h1 |", "!2 !0 =0"},
        {"back to an earlier picture", "A0 h1 | A0 h2 | A0 h1 |", "!2 !2 !2"}};
    for (const auto& [name, script, outcome] : cases) EXPECT_EQ(RunScript(script), outcome) << name;
    // A frame of more operations than the record holds is never taken for unchanged.
    std::string longFrame = "A0";
    for (size_t i = 0; i < FrameRecord::kMaxOps; ++i) longFrame += " h" + std::to_string(i);
    const std::string all = "!" + std::to_string(FrameRecord::kMaxOps + 1);
    EXPECT_EQ(RunScript(longFrame + " | " + longFrame + " |"), all + " " + all);
}

}  // namespace
