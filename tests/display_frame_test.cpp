// Frames on the display device: whatever the back buffer holds back, the display shows exactly
// what drawing every operation at once would show, and a frame is reported unchanged only when
// it is the picture already on the display.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/display_device.h"
#include "base/system_failure.h"

namespace {

// The display: keeps the last picture presented; an unchanged frame leaves it as it is.
class RecordingDisplay : public platform::DisplayPresentation {
  public:
    std::vector<uint16_t> screen;
    std::string presents;  // "P" per full present, "U" per unchanged one, "x" per failed one
    bool failNext = false;
    bool lost = false;

    void SetCooperativeLevel(int32_t) override {}
    void SetDisplayMode(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void RestoreDisplayMode() override {}
    void Present(const uint16_t* pixels, int32_t width, int32_t height,
                 int32_t pitchPixels) override {
        if (Failing()) {
            return;
        }
        screen.clear();
        for (int32_t y = 0; y < height; ++y) {
            screen.insert(screen.end(), pixels + static_cast<size_t>(y) * pitchPixels,
                          pixels + static_cast<size_t>(y) * pitchPixels + width);
        }
        presents += "P";
    }
    void PresentUnchanged(const uint16_t*, int32_t, int32_t, int32_t) override {
        if (!Failing()) {
            presents += "U";
        }
    }
    int32_t TestCooperativeLevel() override { return lost ? 1 : 0; }
    void RestoreAllSurfaces() override {}

  private:
    bool Failing() {
        if (!failNext) {
            return false;
        }
        failNext = false;
        presents += "x";
        Fail("the display refused the frame");
    }
};

// Text as blocks of half coverage: drawn twice on the same spot it would come out darker.
class HalfCoverText : public platform::TextRenderer {
  public:
    const platform::TextMask& Render(const platform::FontSpec&, const std::string& text) override {
        mask_.width = static_cast<int32_t>(text.size()) * 8;
        mask_.height = 12;
        mask_.coverage.assign(static_cast<size_t>(mask_.width) * mask_.height, 128);
        return mask_;
    }

  private:
    platform::TextMask mask_;
};

struct Scene {
    RecordingDisplay display;
    HalfCoverText text;
    DisplayDevice device{display, text};
    std::unique_ptr<Surface> primary;
    Surface* back = nullptr;
    // Every operation is drawn on the back buffer and on this plain surface, which draws at once.
    std::unique_ptr<Surface> reference;
    std::unique_ptr<Surface> background;
    std::unique_ptr<Surface> highlight;
    std::unique_ptr<Surface> sprite;

    Scene() {
        device.SetDisplayMode(800, 600, 16, 0, 0);
        SurfaceRequest request;
        request.flags = DisplayFlags::kRequestCaps | DisplayFlags::kRequestBackBufferCount;
        request.caps =
            DisplayFlags::kCapsPrimary | DisplayFlags::kCapsFlip | DisplayFlags::kCapsComplex;
        request.backBufferCount = 1;
        primary = device.CreateSurface(request);
        back = primary->GetAttachedSurface(DisplayFlags::kCapsBackBuffer);
        reference = Make(800, 600);
        background = Patterned(800, 600, 7);
        highlight = Patterned(310, 285, 3);
        sprite = Make(40, 40);
        sprite->BltColorFill({0, 0, 40, 40}, 0x00FF00);
        sprite->BltColorFill({10, 10, 30, 30}, 0);
    }
    std::unique_ptr<Surface> Make(int32_t width, int32_t height) {
        SurfaceRequest request;
        request.flags = 7;
        request.caps = 0x840;
        request.width = width;
        request.height = height;
        return device.CreateSurface(request);
    }
    std::unique_ptr<Surface> Patterned(int32_t width, int32_t height, int seed) {
        auto s = Make(width, height);
        for (int32_t y = 0; y < height; ++y) {
            uint16_t* row = s->Row(y);
            for (int32_t x = 0; x < width; ++x) {
                row[x] = static_cast<uint16_t>(x * seed + y * 13 + seed);
            }
        }
        return s;
    }
    void Both(const std::function<void(Surface&)>& draw) {
        draw(*back);
        draw(*reference);
    }
    // The main menu's frame: the background, then a quadrant highlighted.
    void MenuFrame(int32_t x) {
        Both([&](Surface& s) {
            s.BltFast(0, 0, background.get(), {0, 0, 800, 600}, DisplayFlags::kBltFastWait);
            s.BltFast(x, 25, highlight.get(), {0, 0, 310, 285}, DisplayFlags::kBltFastWait);
        });
    }
    // Flips and checks the display shows what the reference holds.
    void Flip() {
        try {
            primary->Flip(nullptr, DisplayFlags::kFlipWait);
        } catch (const SystemFailure&) {
            return;
        }
        std::vector<uint16_t> expected;
        for (int32_t y = 0; y < 600; ++y) {
            expected.insert(expected.end(), reference->Row(y), reference->Row(y) + 800);
        }
        EXPECT_TRUE(display.screen == expected) << "after presents " << display.presents;
    }
};

struct FrameCase {
    const char* name;
    std::function<void(Scene&)> run;
    const char* presents;
};

class DisplayFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(DisplayFrames, TheDisplayShowsWhatDrawingAtOnceWouldShow) {
    Scene scene;
    GetParam().run(scene);
    EXPECT_EQ(scene.display.presents, GetParam().presents);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, DisplayFrames,
    ::testing::Values(
        FrameCase{"RepeatedMenuFramesAreShownUnchanged",
                  [](Scene& s) {
                      for (int i = 0; i < 3; ++i) {
                          s.MenuFrame(45);
                          s.Flip();
                      }
                  },
                  "PUU"},
        FrameCase{"TheHighlightMoves",
                  [](Scene& s) {
                      for (int32_t x : {45, 445, 45, 45}) {
                          s.MenuFrame(x);
                          s.Flip();
                      }
                  },
                  "PPPU"},
        FrameCase{"ASourcePixelWrittenBetweenFrames",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.background->Row(500)[700] ^= 0xFFFF;
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PP"},
        FrameCase{"ASourceFilledBetweenFrames",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.highlight->BltColorFill({0, 0, 10, 10}, 0xFFFFFF);
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PP"},
        FrameCase{"ASourceChangedAfterItWasCopiedInTheFrame",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.Both([&](Surface& t) {
                          t.BltFast(0, 0, s.background.get(), {0, 0, 800, 600}, 16);
                      });
                      s.background->BltColorFill({0, 0, 800, 600}, 0xFFFFFF);
                      s.Both([&](Surface& t) {
                          t.BltFast(45, 25, s.highlight.get(), {0, 0, 310, 285}, 16);
                      });
                      s.Flip();
                  },
                  "PP"},
        FrameCase{"ASourceReplacedAfterItWasCopiedInTheFrame",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.Both([&](Surface& t) {
                          t.BltFast(0, 0, s.background.get(), {0, 0, 800, 600}, 16);
                      });
                      s.background.reset();
                      s.background = s.Patterned(800, 600, 11);
                      s.Flip();
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PPP"},
        FrameCase{"AColourKeySetBetweenFrames",
                  [](Scene& s) {
                      for (int i = 0; i < 3; ++i) {
                          if (i == 1) {
                              s.sprite->SetColorKey(DisplayFlags::kColorKeySourceBlt, 0, 0);
                          }
                          s.MenuFrame(45);
                          s.Both([&](Surface& t) {
                              t.BltFast(100, 100, s.sprite.get(), {0, 0, 40, 40}, 17);
                          });
                          s.Flip();
                      }
                  },
                  "PPU"},
        FrameCase{"TheBackBufferWrittenBetweenFrames",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.Both([](Surface& t) { t.Row(10)[10] = 0x1234; });
                      s.Flip();
                      s.MenuFrame(45);
                      s.Flip();
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PPPU"},
        FrameCase{"TheBackBufferReadWhileTheFrameIsHeldBack",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.MenuFrame(445);
                      s.Flip();
                      s.Both([&](Surface& t) {
                          t.BltFast(0, 0, s.background.get(), {0, 0, 800, 600}, 16);
                      });
                      EXPECT_EQ(s.back->HeldBackOperations(), 1u);
                      EXPECT_EQ(s.back->PixelAt(500, 100), s.reference->PixelAt(500, 100));
                      EXPECT_EQ(s.back->HeldBackOperations(), 0u);
                      s.Both([&](Surface& t) {
                          t.BltFast(445, 25, s.highlight.get(), {0, 0, 310, 285}, 16);
                      });
                      s.Flip();
                  },
                  "PPP"},
        FrameCase{"TheBackBufferCopiedWhileTheFrameIsHeldBack",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.MenuFrame(445);
                      s.Flip();
                      s.Both([&](Surface& t) {
                          t.BltFast(0, 0, s.background.get(), {0, 0, 800, 600}, 16);
                      });
                      auto copy = s.Make(400, 300);
                      auto expected = s.Make(400, 300);
                      copy->BltFast(0, 0, s.back, {400, 0, 800, 300}, 16);
                      expected->BltFast(0, 0, s.reference.get(), {400, 0, 800, 300}, 16);
                      for (int32_t y = 0; y < 300; y += 7) {
                          for (int32_t x = 0; x < 400; x += 5) {
                              ASSERT_EQ(copy->PixelAt(x, y), expected->PixelAt(x, y));
                          }
                      }
                      // And onto itself.
                      s.Both([](Surface& t) { t.BltFast(0, 0, &t, {100, 100, 500, 400}, 16); });
                      s.Flip();
                  },
                  "PPP"},
        FrameCase{"ThePointerCircleMoves",
                  [](Scene& s) {
                      for (int32_t x : {100, 200, 200}) {
                          s.MenuFrame(45);
                          s.Both([&](Surface& t) { t.DrawCircle(x, 100, 10); });
                          s.Flip();
                      }
                  },
                  "PPU"},
        FrameCase{"BlendedTextIsDrawnOnTheFreshBackgroundEveryFrame",
                  [](Scene& s) {
                      for (int i = 0; i < 3; ++i) {
                          s.MenuFrame(45);
                          s.Both([](Surface& t) {
                              t.SetForeColor(0xFFFFFF);
                              t.DrawText(60, 60, "Label");
                          });
                          s.Flip();
                      }
                  },
                  "PPP"},
        FrameCase{"AStretchedCopyRepeats",
                  [](Scene& s) {
                      for (int i = 0; i < 2; ++i) {
                          s.MenuFrame(45);
                          s.Both([&](Surface& t) {
                              t.Blt({0, 0, 400, 300}, s.highlight.get(), {0, 0, 100, 100}, 0);
                          });
                          s.Flip();
                      }
                  },
                  "PU"},
        FrameCase{"AColourFillCoveringTheFrameRepeats",
                  [](Scene& s) {
                      for (int i = 0; i < 3; ++i) {
                          s.Both([](Surface& t) { t.BltColorFill({0, 0, 800, 600}, 0x336699); });
                          s.Flip();
                      }
                  },
                  "PUU"},
        FrameCase{"AnotherSurfaceShownInBetween",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.primary->Flip(s.highlight.get(), DisplayFlags::kFlipWait);
                      s.MenuFrame(45);
                      s.Flip();
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PPPU"},
        FrameCase{"AFrameTheDisplayRefusedIsShownInFullNextTime",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.display.failNext = true;
                      s.MenuFrame(45);
                      s.Flip();
                      s.MenuFrame(45);
                      s.Flip();
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PxPU"},
        FrameCase{"FramesWhileTheDisplayIsLostDrawNothing",
                  [](Scene& s) {
                      s.MenuFrame(45);
                      s.Flip();
                      s.display.lost = true;
                      s.MenuFrame(445);
                      s.Flip();
                      s.display.lost = false;
                      s.MenuFrame(45);
                      s.Flip();
                  },
                  "PUU"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SurfaceCreation, ANewSurfaceIsBlackEvenWhereAnEarlierOneWasDrawn) {
    Scene scene;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        auto used = scene.Patterned(800, 600, 5 + round);
        auto small = scene.Patterned(23, 23, 5 + round);
        used.reset();
        small.reset();
        for (auto size : {std::pair{800, 600}, std::pair{23, 23}}) {
            auto fresh = scene.Make(size.first, size.second);
            ASSERT_EQ(fresh->Width(), size.first);
            ASSERT_EQ(fresh->Height(), size.second);
            for (int32_t y = 0; y < fresh->Height(); ++y) {
                for (int32_t x = 0; x < fresh->Width(); ++x) {
                    ASSERT_EQ(fresh->PixelAt(x, y), 0) << x << "," << y;
                }
            }
        }
    }
}

TEST(SurfaceCreation, ASurfaceForOverwriteHasExactlyTheRequestedSize) {
    Scene scene;
    for (auto size :
         {std::pair{800, 600}, std::pair{195, 260}, std::pair{1, 1}, std::pair{16384, 1}}) {
        SurfaceRequest request;
        request.flags = 7;
        request.caps = 0x840;
        request.width = size.first;
        request.height = size.second;
        auto surface = scene.device.CreateSurfaceForOverwrite(request);
        ASSERT_EQ(surface->Width(), size.first);
        ASSERT_EQ(surface->Height(), size.second);
        // Every pixel can be written and reads back.
        for (int32_t y = 0; y < surface->Height(); ++y) {
            std::fill(surface->Row(y), surface->Row(y) + surface->Width(), uint16_t{0x5A5A});
        }
        EXPECT_EQ(surface->PixelAt(surface->Width() - 1, surface->Height() - 1), 0x5A5A);
    }
}

}  // namespace
