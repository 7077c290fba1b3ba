#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace testing_support {
// Test pictures are told apart by colour: 27 solid colours, each channel 0, 128 or 255.
// ColourIndexOf is the colour an RGB565 pixel shows.
inline constexpr int32_t kColourCount = 27;
int32_t ColourIndexOf(uint16_t pixel);

// The file name of picture n of an activity series: "01.jpg" .. "09.jpg", "10.jpg" onwards.
inline std::string PictureFileName(int32_t n) {
    return TwoDigits(n + 1) + ".jpg";
}

// A form ready for the activities: a fresh temporary folder as the current directory with its
// own data home, the display prepared, the sound bank loaded from bare wave files, the clock at
// 1 000 000 ms and every decoded picture recorded.
class ActivityScene {
  public:
    ActivityScene();

    TempDir dir;
    ScopedCurrentDir currentDir{dir.Path()};
    ScopedEnv dataHome{"XDG_DATA_HOME", (dir.Path() / "data-home").string()};
    FormHarness harness;
    MainMenuForm& form = harness.form;
    headless::Platform& platform = harness.platform;
    std::unique_ptr<RecordingDecoder> recorder;
    RecordingDecoder* decoder = nullptr;

    // Item `item` of the table with folder "Item\\" and the given series lengths and delays.
    void SetItem(int16_t item, int16_t simpleLast, int16_t complexLast,
                 const std::vector<int16_t>& filmDelays);
    // Writes pictures 0..last below the series folder `folder` (a system text such as
    // "Item\\Komplex\\Film\\"), picture n in colour firstColour + step * n. With `hardDisk` they
    // go below the hard-disk copy instead.
    void WriteSeries(const std::string& folder, int32_t last, int32_t firstColour, int32_t step,
                     bool hardDisk = false);
    // Removes picture n of the series (from both places of the hard-disk copy with `hardDisk`).
    void RemovePicture(const std::string& folder, int32_t n, bool hardDisk = false);

    int32_t Now();
    // Fills the back buffer with `colour`, to see whether anything is drawn over it.
    void FillBackBuffer(int32_t colour);
    // The colour shown in the last presented frame, and in the back buffer.
    int32_t PresentedColour() const { return ColourIndexOf(platform.display.PixelAt(400, 300)); }
    int32_t BackBufferColour() const;
    // The pictures asked for from request `from` on: "hd:" or "local:" and the path below the
    // hard-disk copy or the current directory ("local:Item/Komplex/Film/01.jpg").
    std::vector<std::string> RequestedPictures(size_t from = 0) const;
    // Sound numbers (0-12, or -1 for another file) played from the play with index `from` on.
    std::vector<int16_t> SoundsSince(size_t from) const;
    // The settings writes, each as "application/section/key=value".
    std::vector<std::string> SettingsWrites() const;
};
}  // namespace testing_support
