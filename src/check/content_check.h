#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"

// The content check: tells an adult which content file is missing or broken, without opening a
// window, by reading every file the program would read with the program's own readers.
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

struct Problem {
    std::string file;      // native path, relative to the content folder
    std::string lastFile;  // the last of a run of one series' pictures with the same fault
    int32_t files = 1;     // how many files the problem covers
    int32_t line = 0;      // the line of a theme file; 0 where there is none
    std::string what;
    // "Data/Yrke.dat:14: record 3: ...", "Ljud/Click.wav: ...", "X/01.jpg to X/12.jpg (12 files):
    // ..."
    std::string Text() const;
};

struct Report {
    int32_t themeFiles = 0;
    int32_t items = 0;  // records read from the theme files
    int32_t menuPictures = 0;
    int32_t sounds = 0;
    int32_t activityPictures = 0;
    std::vector<Problem> problems;

    int32_t FilesWithProblems() const;
    // One line: what was checked in `folder`, and how many problems there are.
    std::string Summary(const std::string& folder) const;
};

// Checks the content in the current directory: the four theme files with every record, the 53
// menu pictures, the 13 sounds and, as far as the theme files name them, every item's build-up
// and film pictures below both "Enkel\" and "Komplex\", each picture decoded at the size the
// program loads it. Files are decoded on `workers` threads.
Report CheckContent(const Readers& readers, unsigned workers);

}  // namespace ContentCheck
