#include <algorithm>

#include "activities/picture_numbers.h"
#include "base/numeric.h"
#include "base/system_failure.h"
#include "content/data_file_reader.h"
#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "graphics/picture_loader.h"
#include "sound/dsound.h"

namespace {

// The two items whose films have sounds of their own, and the picture that calls.
constexpr int16_t kViolinItem = 8;
constexpr int16_t kHenItem = 24;
constexpr int16_t kHenCallPicture = 6;

// Below this number of passes the film ends by itself; at it, it runs until left.
constexpr int16_t kEndlessRepeats = 16;

// Whether the film has shown all its passes: from then on every pass asks to leave.
bool PassesDone(const ChoiceSettings& settings, int16_t passes) {
    return settings.filmRepeats < kEndlessRepeats && passes >= settings.filmRepeats;
}

// Element `index` of a list numbered from 0; an index outside it is a failure.
template <typename List>
auto& At(List& list, int32_t index, const char* what) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) {
        Fail(std::string(what) + " " + std::to_string(index) + " does not exist");
    }
    return list[static_cast<size_t>(index)];
}

}  // namespace

void MainMenuForm::LoadFilm() {
    LoadWithOneRetry(
        [&] {
            const ItemInfo& item = DataFileReader::Item(selectedItem);
            // A failed first attempt has cleared movieOnHd, so the retry reads the pictures
            // beside the program.
            const std::string basePath =
                (settings.movieOnHd ? std::string(ActivityPictures::kHardDiskPrefix) : "") +
                item.folder + ActivityPictures::FilmFolder(settings.simpleContent);

            if (item.filmLast < 0) {
                Fail("item " + std::to_string(selectedItem) + " has no film pictures");
            }
            const auto count = static_cast<size_t>(item.filmLast) + 1;
            filmPictures.clear();
            filmPictures.resize(count);
            filmDelays.assign(count, 0);
            filmIndex = settings.reversePlay ? item.filmLast : 0;
            buildUpStride = 1;

            std::vector<GameUtil::PictureFile> files;
            for (int32_t n = 0; n <= item.filmLast; ++n) {
                files.push_back(
                    {basePath + ActivityPictures::NumberText(n) + ActivityPictures::kExtension, 800,
                     600});
            }
            GameUtil::ReadAhead(files);
            SurfaceRequest request = GameUtil::OffScreenPictureRequest(800, 600);
            for (int32_t n = 0; n <= item.filmLast; ++n) {
                request.width = 800;
                request.height = 600;
                At(filmPictures, n, "film picture") = GameUtil::LoadPictureSurface(
                    basePath + ActivityPictures::NumberText(n) + ActivityPictures::kExtension,
                    request);
                At(filmDelays, n, "film delay") = At(item.filmDelays, n, "item delay");
            }
            filmPasses = 0;
        },
        [&] { ReleaseFilmPictures(); });
}

void MainMenuForm::DrawFilmFrame() {
    const Surface* picture = At(filmPictures, filmIndex, "film picture").get();
    if (picture == nullptr) {
        return;
    }
    const int32_t copyResult =
        GameUtil::backBuffer->BltFast(0, 0, picture, {0, 0, 800, 600}, DisplayFlags::kBltFastWait);
    PlayFilmSounds();

    if (GameUtil::IsLaterThan(GameUtil::GetMilliseconds(), filmDeadline)) {
        RecoverLostDisplay();
        const auto highest = static_cast<int16_t>(filmPictures.size() - 1);
        if (settings.reversePlay) {
            if (filmIndex == 0) {
                filmIndex = highest;
                filmPasses = Numeric::SaturatingIncrement(filmPasses);
            } else {
                filmIndex = Numeric::CheckedInt16(filmIndex - 1);
            }
        } else {
            filmIndex = Numeric::CheckedInt16(filmIndex + 1);
            if (filmIndex > highest) {
                filmIndex = 0;
                filmPasses = Numeric::SaturatingIncrement(filmPasses);
            }
        }
        filmDeadline = GameUtil::AddMsRounded(
            GameUtil::GetMilliseconds(),
            settings.filmDelayFactor * At(filmDelays, filmIndex, "film delay"));
    }

    if (copyResult == DisplayFlags::kOk && PassesDone(settings, filmPasses)) {
        Form_KeyUp(platform::kKeyEscape, 0);
    }
}

std::span<const int16_t> MainMenuForm::FilmSoundsKept() const {
    static constexpr int16_t kViolinSounds[] = {DSound::kViolin};
    static constexpr int16_t kHenSounds[] = {DSound::kHen, DSound::kHenCall};
    if (selectedItem == kViolinItem) {
        return kViolinSounds;
    }
    if (selectedItem == kHenItem) {
        // The hen's call only while its picture shows.
        return std::span(kHenSounds).first(filmIndex == kHenCallPicture ? 2 : 1);
    }
    return {};
}

void MainMenuForm::PlayFilmSounds() {
    for (const int16_t sound : FilmSoundsKept()) {
        if (DSound::GetSoundStatus(sound) == 0) {
            PlaySound(sound);
        }
    }
}

int32_t MainMenuForm::FilmIdleMs() {
    if (At(filmPictures, filmIndex, "film picture") == nullptr) {
        return kUntilInput;  // the film holds until a key or click leaves it
    }
    // The picture changes on the first pass strictly later than its deadline.
    const int32_t due = GameUtil::ElapsedMs(filmDeadline, GameUtil::GetMilliseconds());
    int64_t idle = due < 0 ? 0 : int64_t{due} + 1;
    for (const int16_t sound : FilmSoundsKept()) {
        idle = std::min<int64_t>(idle, DSound::SilentInMs(sound));
    }
    if (PassesDone(settings, filmPasses)) {
        idle = std::min<int64_t>(idle, EscapeIdleMs());
    }
    return static_cast<int32_t>(std::min<int64_t>(idle, kUntilInput));
}
