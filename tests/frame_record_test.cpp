#include "display/frame_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A picture as the sequence of drawing operations that made it, each with the content its
// source had when the operation was performed. An operation that covers everything starts the
// sequence afresh; a direct write appends "W".
using Picture = std::vector<std::string>;

// Sources are told apart by address only.
std::array<char, 26> sourceIdentities;

const Surface* SourceOf(char letter) {
    return reinterpret_cast<const Surface*>(&sourceIdentities[static_cast<size_t>(letter - 'a')]);
}

// The back buffer's stand-in: performing an operation reads its source's content now, as a real
// copy reads the source's pixels when it is performed.
struct ModelTarget : DrawTarget {
    Picture picture;
    std::array<int, 26>* contents = nullptr;
    int performed = 0;
    void Execute(const DrawOp& op) override {
        ++performed;
        const auto index =
            static_cast<size_t>(reinterpret_cast<const char*>(op.source) - sourceIdentities.data());
        Apply(picture, op, (*contents)[index]);
    }
    static void Apply(Picture& picture, const DrawOp& op, int content) {
        if (op.coversAll) {
            picture.clear();
        }
        std::ostringstream text;
        text << static_cast<char>(op.color) << op.to.left << "@" << content;
        picture.push_back(text.str());
    }
};

// A script of one or more frames, words separated by spaces:
//   "A1"  an operation covering everything from source a (upper case), at position 1
//   "h2"  an operation covering part of the buffer from source h, at position 2
//   "R"   the pixels are read          "W"  the pixels are written directly
//   "Sh"  source h changes             "?n" n operations are held back now
//   "|"   flip                         "F"  flip whose presentation fails
//   "X"   something else is presented
// Each flip appends to the outcome "=" (unchanged) or "!" (changed) and the number of operations
// performed since the last flip.
// Runs a script and gives its outcome.
std::string RunScript(const std::string& script) {
    std::array<int, 26> contents{};  // each source's current content, changed by "S"
    ModelTarget target;
    target.contents = &contents;
    FrameRecord record(target);
    Picture reference;  // every operation performed at once, in order
    Picture presented;
    bool presentedKnown = false;  // the display shows `presented`
    std::string outcome;
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        SCOPED_TRACE("at " + word);
        const char c = word[0];
        if (c == '|' || c == 'F') {
            const bool unchanged = record.EndFrame();
            EXPECT_EQ(target.picture, reference) << "the buffer after the frame";
            if (unchanged) {
                EXPECT_TRUE(presentedKnown && presented == reference)
                    << "reported unchanged, but the display shows something else";
            }
            outcome += (outcome.empty() ? "" : " ") + std::string(unchanged ? "=" : "!") +
                       std::to_string(target.performed);
            target.performed = 0;
            record.Presented(c == '|');
            presented = reference;
            presentedKnown = c == '|';
        } else if (c == 'R') {
            record.BeforeRead();
            EXPECT_EQ(target.picture, reference) << "the pixels as read";
        } else if (c == 'W') {
            record.BeforeWrite();
            target.picture.push_back("W");
            reference.push_back("W");
        } else if (c == 'S') {
            record.BeforeSourceChanges(SourceOf(word[1]));
            ++contents[static_cast<size_t>(word[1] - 'a')];
        } else if (c == '?') {
            EXPECT_EQ(record.HeldBack(), static_cast<size_t>(std::stoi(word.substr(1))));
        } else if (c == 'X') {
            record.ScreenChanged();
            presentedKnown = false;
        } else {
            const char letter = static_cast<char>(std::tolower(c));
            DrawOp op;
            op.source = SourceOf(letter);
            op.sourceStamp = static_cast<uint64_t>(contents[static_cast<size_t>(letter - 'a')]);
            op.to.left = std::stoi(word.substr(1));
            op.color = static_cast<uint32_t>(letter);
            op.coversAll = std::isupper(c) != 0;
            ModelTarget::Apply(reference, op, contents[static_cast<size_t>(letter - 'a')]);
            record.Draw(op);
        }
    }
    return outcome;
}

TEST(FrameRecord, HoldsBackOnlyWhatTheBufferAlreadyShows) {
    const struct {
        const char* name;
        const char* script;
        const char* outcome;
    } cases[] = {
        {"repeated frames are not redrawn", "A0 h1 | A0 h1 | A0 h1 |", "!2 =0 =0"},
        {"a different first operation", "A0 h1 | B0 h1 | B0 h1 |", "!2 !2 =0"},
        {"a later operation differs after held back ones", "A0 h1 | A0 h2 ?0 | A0 h1 |",
         "!2 !2 !2"},
        {"a frame ending early", "A0 h1 | A0 ?1 | A0 |", "!2 !1 =0"},
        {"a frame going on longer", "A0 | A0 h1 | A0 h1 |", "!1 !2 =0"},
        {"a frame without operations keeps the picture", "A0 h1 | | A0 h1 |", "!2 =0 =0"},
        {"a frame that does not cover everything is always drawn", "a0 h1 | a0 h1 | a0 h1 |",
         "!2 !2 !2"},
        {"a covering operation later in the frame does not count", "h1 A0 | h1 A0 |", "!2 !2"},
        {"a source read by a held back operation changes", "A0 h1 | A0 Sa ?0 h1 | A0 h1 | A0 h1 |",
         "!2 !2 !2 =0"},
        {"a source changes between frames", "A0 h1 | Sh A0 h1 | A0 h1 |", "!2 !2 =0"},
        {"another source changes while operations are held back", "A0 h1 | A0 Sh ?1 h1 | A0 h1 |",
         "!2 !2 =0"},
        {"reading the frame performs what is held back", "A0 h1 | A0 ?1 R ?0 h1 | A0 h1 |",
         "!2 !2 =0"},
        {"a write between frames", "A0 h1 | W A0 h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a write within a frame", "A0 h1 | A0 W h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a write at the end of a repeated frame", "A0 h1 | A0 h1 W | A0 h1 |", "!2 !2 !2"},
        {"a failed presentation is repeated in full", "A0 h1 | A0 h1 F A0 h1 | A0 h1 |",
         "!2 =0 !0 =0"},
        {"something else shown means the frame is new again", "A0 h1 | X A0 h1 | A0 h1 |",
         "!2 !0 =0"},
        {"a frame that returns to an earlier picture", "A0 h1 | A0 h2 | A0 h1 |", "!2 !2 !2"}};
    for (const auto& c : cases) EXPECT_EQ(RunScript(c.script), c.outcome) << c.name;
    // A frame of more operations than the record holds is never taken for unchanged.
    std::string longFrame = "A0";
    for (size_t i = 0; i < FrameRecord::kMaxOps; ++i) longFrame += " h" + std::to_string(i);
    const std::string all = "!" + std::to_string(FrameRecord::kMaxOps + 1);
    EXPECT_EQ(RunScript(longFrame + " | " + longFrame + " |"), all + " " + all);
}

}  // namespace
