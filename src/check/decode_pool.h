#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"

namespace ContentCheck {

// The program's own readers, as the check uses them.
struct Readers {
    // A fresh picture decoder; each worker has its own.
    std::function<std::unique_ptr<platform::PictureDecoder>()> newPictureDecoder;
    // Decodes a whole sound file, throwing SystemFailure when the program could not play it.
    std::function<void(const std::string& nativePath)> decodeSound;
};

// One file to decode: a picture at the size the program loads it, or a sound.
struct FileJob {
    bool sound = false;
    std::string path;  // native, relative to the content folder
    int32_t width = 0;
    int32_t height = 0;
    int32_t series = -1;  // activity pictures of one series share a number; -1 for the rest
};

// Decodes every job on `workers` threads. Entry i of the result is "" when job i decoded, else
// what is wrong with its file (without the file's name in front).
std::vector<std::string> DecodeAll(const std::vector<FileJob>& jobs, const Readers& readers,
                                   unsigned workers);

}  // namespace ContentCheck
