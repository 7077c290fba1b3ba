#include "check/decode_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

namespace ContentCheck {

namespace {

// The readers' messages start with the file's name; the report puts it in front itself.
std::string WithoutPath(const std::string& message, const std::string& path) {
    const std::string prefix = path + ": ";
    return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

bool ReadBySdl(const FileJob& job) {
    const std::string& path = job.path;
    return job.sound || (path.size() >= 4 && (path.ends_with(".bmp") || path.ends_with(".BMP")));
}

}  // namespace

std::vector<std::string> DecodeAll(const std::vector<FileJob>& jobs, const Readers& readers,
                                   unsigned workers) {
    std::vector<std::string> results(jobs.size());
    workers = std::clamp<unsigned>(workers, 1, std::max<size_t>(jobs.size(), 1));
    // Made here, so a decoder that cannot be made fails the check rather than a worker.
    std::vector<std::unique_ptr<platform::PictureDecoder>> decoders;
    for (unsigned w = 0; w < workers; ++w) {
        decoders.push_back(readers.newPictureDecoder());
    }
    auto decode = [&](size_t i, platform::PictureDecoder& decoder) {
        const FileJob& job = jobs[i];
        try {
            if (job.sound) {
                readers.decodeSound(job.path);
            } else {
                decoder.Decode(job.path, job.width, job.height);
            }
        } catch (const std::exception& failure) {
            results[i] = WithoutPath(failure.what(), job.path);
            if (results[i].empty()) {
                results[i] = "cannot be decoded";
            }
        }
    };
    // SDL reads the sounds and bitmaps, and keeps an error text per thread that only its own
    // threads give back: those few files are read on the calling thread, the JPEGs on every
    // worker.
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (ReadBySdl(jobs[i])) {
            decode(i, *decoders[0]);
        }
    }
    std::atomic<size_t> next{0};
    auto work = [&](platform::PictureDecoder& decoder) {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            if (!ReadBySdl(jobs[i])) {
                decode(i, decoder);
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned w = 1; w < workers; ++w) {
        helpers.emplace_back(work, std::ref(*decoders[w]));
    }
    work(*decoders[0]);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return results;
}

}  // namespace ContentCheck
