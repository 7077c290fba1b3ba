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
struct ScriptCase {
    const char* name;
    const char* script;
    const char* outcome;
};

class FrameRecordScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(FrameRecordScript, HoldsBackOnlyWhatTheBufferAlreadyShows) {
    std::array<int, 26> contents{};  // each source's current content, changed by "S"
    ModelTarget target;
    target.contents = &contents;
    FrameRecord record(target);
    Picture reference;  // every operation performed at once, in order
    Picture presented;
    bool presentedKnown = false;  // the display shows `presented`
    std::string outcome;
    std::istringstream words(GetParam().script);
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
    EXPECT_EQ(outcome, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameRecordScript,
    ::testing::Values(
        ScriptCase{"RepeatedFramesAreNotRedrawn", "A0 h1 | A0 h1 | A0 h1 |", "!2 =0 =0"},
        ScriptCase{"ADifferentFirstOperation", "A0 h1 | B0 h1 | B0 h1 |", "!2 !2 =0"},
        ScriptCase{"ALaterOperationDiffersAfterHeldBackOnes", "A0 h1 | A0 h2 ?0 | A0 h1 |",
                   "!2 !2 !2"},
        ScriptCase{"AFrameEndingEarly", "A0 h1 | A0 ?1 | A0 |", "!2 !1 =0"},
        ScriptCase{"AFrameGoingOnLonger", "A0 | A0 h1 | A0 h1 |", "!1 !2 =0"},
        ScriptCase{"AFrameWithoutOperationsKeepsThePicture", "A0 h1 | | A0 h1 |", "!2 =0 =0"},
        ScriptCase{"AFrameThatDoesNotCoverEverythingIsAlwaysDrawn", "a0 h1 | a0 h1 | a0 h1 |",
                   "!2 !2 !2"},
        ScriptCase{"ACoveringOperationLaterInTheFrameDoesNotCount", "h1 A0 | h1 A0 |", "!2 !2"},
        ScriptCase{"ASourceReadByAHeldBackOperationChanges",
                   "A0 h1 | A0 Sa ?0 h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        ScriptCase{"ASourceChangesBetweenFrames", "A0 h1 | Sh A0 h1 | A0 h1 |", "!2 !2 =0"},
        ScriptCase{"AnotherSourceChangesWhileOperationsAreHeldBack",
                   "A0 h1 | A0 Sh ?1 h1 | A0 h1 |", "!2 !2 =0"},
        ScriptCase{"ReadingTheFramePerformsWhatIsHeldBack", "A0 h1 | A0 ?1 R ?0 h1 | A0 h1 |",
                   "!2 !2 =0"},
        ScriptCase{"AWriteBetweenFrames", "A0 h1 | W A0 h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        ScriptCase{"AWriteWithinAFrame", "A0 h1 | A0 W h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        ScriptCase{"AWriteAtTheEndOfARepeatedFrame", "A0 h1 | A0 h1 W | A0 h1 |", "!2 !2 !2"},
        ScriptCase{"AFailedPresentationIsRepeatedInFull", "A0 h1 | A0 h1 F A0 h1 | A0 h1 |",
                   "!2 =0 !0 =0"},
        ScriptCase{"SomethingElseShownMeansTheFrameIsNewAgain", "A0 h1 | X A0 h1 | A0 h1 |",
                   "!2 !0 =0"},
        ScriptCase{"AFrameThatReturnsToAnEarlierPicture", "A0 h1 | A0 h2 | A0 h1 |", "!2 !2 !2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameRecord, AFrameOfTooManyOperationsIsNotRemembered) {
    std::array<int, 26> contents{};
    ModelTarget target;
    target.contents = &contents;
    FrameRecord record(target);
    const auto frame = [&] {
        DrawOp cover;
        cover.source = SourceOf('a');
        cover.coversAll = true;
        record.Draw(cover);
        for (size_t i = 0; i < FrameRecord::kMaxOps; ++i) {
            DrawOp part;
            part.source = SourceOf('b');
            part.to.left = static_cast<int32_t>(i);
            record.Draw(part);
        }
        const bool unchanged = record.EndFrame();
        record.Presented(true);
        return unchanged;
    };
    EXPECT_FALSE(frame());
    target.performed = 0;
    EXPECT_FALSE(frame());
    EXPECT_EQ(target.performed, static_cast<int>(FrameRecord::kMaxOps) + 1);
}

}  // namespace
