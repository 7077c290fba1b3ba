#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "writers/bmp_writer.h"
#include "writers/jpeg_writer.h"

namespace testing_support {
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);
// 7 -> "07", as the content numbers its files.
inline std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// A fresh empty folder under the system's temporary folder, removed again at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }
    // Writes `bytes` exactly as given to a file below the folder, creating folders on the way.
    void Write(const std::string& relative, const std::string& bytes) const {
        WriteFile(path_ / relative, bytes);
    }
    std::string Read(const std::string& relative) const { return ReadFile(path_ / relative); }

  private:
    std::filesystem::path path_;
};

// Makes `folder` the current directory until the end of the scope.
class ScopedCurrentDir {
  public:
    explicit ScopedCurrentDir(const std::filesystem::path& folder) {
        std::filesystem::current_path(folder);
    }
    ~ScopedCurrentDir() { std::filesystem::current_path(previous_); }

  private:
    std::filesystem::path previous_ = std::filesystem::current_path();
};

// Sets (or, with no value, removes) an environment variable until the end of the scope.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv() { Set(name_, previous_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    static void Set(const std::string& name, const std::optional<std::string>& value);
    std::string name_;
    std::optional<std::string> previous_;
};

// A w x h JPEG of one colour (r, g, b) at good quality; a JPEG of the given RGB pixels (3 bytes a
// pixel); an uncompressed 24-bit BMP of them.
inline void WriteJpeg(const std::filesystem::path& path, int width, int height, uint8_t r,
                      uint8_t g, uint8_t b) {
    WriteFile(path, writers::EncodeFlatJpeg(width, height, r, g, b));
}
inline void WriteJpegPixels(const std::filesystem::path& path, int width, int height,
                            const std::vector<uint8_t>& rgb) {
    WriteFile(path, writers::EncodeJpeg(rgb, width, height));
}
inline void WriteBmp24(const std::filesystem::path& path, int width, int height,
                       const std::vector<uint8_t>& rgb) {
    WriteFile(path, writers::EncodeBmp24(width, height, rgb));
}
}  // namespace testing_support
