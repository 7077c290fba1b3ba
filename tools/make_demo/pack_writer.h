#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

namespace make_demo {

// Writes the files of the pack below its root folder. Names are given as the program spells
// them, with backslashes ("Grafik\\Meny\\StartMeny.jpg") and in UTF-8; on disk they become
// folders separated by '/'.
class PackWriter {
  public:
    explicit PackWriter(std::filesystem::path root);

    void Write(std::string_view programPath, std::string_view bytes);

    int FilesWritten() const { return files_.load(); }
    int64_t BytesWritten() const { return bytes_.load(); }

  private:
    std::filesystem::path root_;
    std::mutex folderLock_;
    std::atomic<int> files_{0};
    std::atomic<int64_t> bytes_{0};
};

}  // namespace make_demo
