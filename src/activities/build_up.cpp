#include "activities/picture_numbers.h"
#include "base/numeric.h"
#include "base/system_failure.h"
#include "content/data_file_reader.h"
#include "content/millisecond_clock.h"
#include "content/random_numbers.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "graphics/picture_loader.h"
#include "sound/dsound.h"

namespace {

// Values of settings.buildUpSteps.
constexpr int16_t kEveryPicture = 10;
constexpr int16_t kFourSteps = 4;
constexpr int16_t kFirstAndLast = 2;
constexpr int16_t kNoBuildUp = 0;

std::string HardDiskPrefix(bool movieOnHd) {
    return movieOnHd ? ActivityPictures::kHardDiskPrefix : "";
}

void ShowBackBuffer() {
    GameUtil::primarySurface->Flip(nullptr, DisplayFlags::kFlipWait);
}

}  // namespace

int16_t MainMenuForm::NextBuildUpIndex() {
    if (settings.reversePlay) {
        const int16_t r = Numeric::CheckedInt16(buildUpIndex - buildUpStride);
        return r < 0 ? int16_t{-1} : r;
    }
    const int16_t r = Numeric::CheckedInt16(buildUpIndex + buildUpStride);
    return r > buildUpLast ? int16_t{-1} : r;
}

std::string MainMenuForm::GetBuildUpPicturePath(int16_t n) {
    return DataFileReader::Item(selectedItem).folder +
           ActivityPictures::BuildUpFolder(settings.simpleContent) +
           ActivityPictures::NumberText(n) + ActivityPictures::kExtension;
}

void MainMenuForm::DrawBuildUpPicture() {
    if (!buildUpPicture) {
        return;
    }
    GameUtil::backBuffer->BltFast(0, 0, buildUpPicture.get(), {0, 0, 800, 600},
                                  DisplayFlags::kBltFastWait);
}

void MainMenuForm::StartBuildUp() {
    if (settings.buildUpSteps == kNoBuildUp) {
        requestedScreen = Screen::kFilm;
        return;
    }
    const ItemInfo& item = DataFileReader::Item(selectedItem);
    buildUpLast = settings.simpleContent ? item.simpleLast : item.complexLast;
    buildUpIndex = settings.reversePlay ? buildUpLast : int16_t{0};
    switch (settings.buildUpSteps) {
        case kEveryPicture:
            buildUpStride = 1;
            break;
        case kFourSteps:
            buildUpStride = Numeric::RoundToInt16(buildUpLast / 4.0);
            if (buildUpStride == 0) {
                buildUpStride = 1;
            }
            break;
        case kFirstAndLast:
            buildUpStride = buildUpLast;
            break;
        default:
            break;
    }

    SurfaceRequest request = GameUtil::OffScreenPictureRequest(800, 600);
    LoadWithOneRetry(
        [&] {
            // A failed first attempt has cleared movieOnHd, so the retry reads the pictures
            // beside the program.
            const std::string prefix = HardDiskPrefix(settings.movieOnHd);
            std::vector<GameUtil::PictureFile> files{
                {prefix + GetBuildUpPicturePath(buildUpIndex), 800, 600}};
            if (const int16_t next = NextBuildUpIndex(); next >= 0) {
                files.push_back({prefix + GetBuildUpPicturePath(next), 800, 600});
            }
            GameUtil::ReadAhead(files);
            buildUpPicture =
                GameUtil::LoadPictureSurface(prefix + GetBuildUpPicturePath(buildUpIndex), request);
            // The first picture is on the screen while the rest of the entry work runs.
            DrawBuildUpPicture();
            ShowBackBuffer();
            const int16_t next = NextBuildUpIndex();
            if (next < 0) {
                nextBuildUpPicture.reset();
            } else {
                nextBuildUpPicture =
                    GameUtil::LoadPictureSurface(prefix + GetBuildUpPicturePath(next), request);
            }
            stepTime = GameUtil::GetMilliseconds();
            buildUpStepsTaken = 0;
        },
        [&] { ReleaseBuildUpPictures(); });
}

void MainMenuForm::StepBuildUp() {
    const int32_t now = GameUtil::GetMilliseconds();
    const bool atAnEnd = buildUpIndex == 0 || buildUpIndex == buildUpLast;
    if (!(GameUtil::ElapsedMs(now, stepTime) > settings.keyDelay || atAnEnd)) {
        return;
    }
    stepTime = now;
    // The picture loaded ahead shows at once; without one the current picture stays.
    if (nextBuildUpPicture) {
        buildUpPicture = std::move(nextBuildUpPicture);
    }
    buildUpIndex = NextBuildUpIndex();
    DrawBuildUpPicture();
    ShowBackBuffer();
    GameUtil::SeedRandom(GameUtil::GetMilliseconds());
    PlaySound(Numeric::RoundToInt16(
        GameUtil::RandomBetween(DSound::kFirstBuildSound, DSound::kLastBuildSound)));

    SurfaceRequest request = GameUtil::OffScreenPictureRequest(800, 600);
    LoadWithOneRetry(
        [&] {
            const std::string prefix = HardDiskPrefix(settings.movieOnHd);
            if (buildUpIndex < 0) {
                requestedScreen = Screen::kFilm;
            } else {
                const int16_t next = NextBuildUpIndex();
                if (next >= 0) {
                    nextBuildUpPicture =
                        GameUtil::LoadPictureSurface(prefix + GetBuildUpPicturePath(next), request);
                }
            }
            buildUpStepsTaken = Numeric::SaturatingIncrement(buildUpStepsTaken);
            if (settings.buildUpSteps == kFourSteps && buildUpStepsTaken == 4) {
                requestedScreen = Screen::kFilm;
            }
        },
        // The step has happened; only the picture after it is missing.
        [] {});
}
