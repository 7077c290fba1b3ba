#include "pack_writer.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace make_demo {

PackWriter::PackWriter(std::filesystem::path root) : root_(std::move(root)) {}

void PackWriter::Write(std::string_view programPath, std::string_view bytes) {
    std::string relative(programPath);
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    const std::filesystem::path path = root_ / std::filesystem::path(relative);
    {
        // Two workers may ask for the same folder at once.
        std::lock_guard<std::mutex> hold(folderLock_);
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            throw std::runtime_error("cannot create folder " + path.parent_path().string() + ": " +
                                     error.message());
        }
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path.string());
    files_.fetch_add(1);
    bytes_.fetch_add(static_cast<int64_t>(bytes.size()));
}

}  // namespace make_demo
