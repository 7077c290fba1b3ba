#include "kit/staging.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "kit/kit_error.h"

namespace fs = std::filesystem;

namespace kit {
namespace {

void SyncPath(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) Fail(path.string() + ": cannot be opened: " + std::strerror(errno));
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced) Fail(path.string() + ": cannot be written to disk: " + std::strerror(errno));
}

void RenameOrFail(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        Fail("cannot move " + from.string() + " to " + to.string() + ": " + std::strerror(errno));
    }
}

}  // namespace

void WriteStagedFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail(path.string() + ": cannot be written: " + std::strerror(errno));
}

void FlushToDisk(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) Fail(folder.string() + ": cannot be opened: " + std::strerror(errno));
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    if (!synced) Fail(folder.string() + ": cannot be written to disk: " + std::strerror(errno));
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path.string() + ": cannot be opened: " + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) Fail(path.string() + ": cannot be read");
    return bytes;
}

StageFolder::StageFolder(const fs::path& parent) {
    std::string pattern = (parent / ".quillowbee-kit-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        Fail("cannot make a work folder in " + parent.string() + ": " + std::strerror(errno));
    }
    path_ = pattern;
}

StageFolder::~StageFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void Transaction::MakeParents(const fs::path& path) {
    std::vector<fs::path> made;
    for (fs::path p = path.parent_path(); !p.empty() && !fs::exists(p); p = p.parent_path()) {
        made.push_back(p);
    }
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        if (::mkdir(it->c_str(), 0755) != 0) {
            Fail("cannot make the folder " + it->string() + ": " + std::strerror(errno));
        }
        done_.push_back({*it, {}});
    }
}

void Transaction::Replace(const fs::path& staged, const fs::path& target, const fs::path& keep,
                          std::string_view step) {
    hook_(step);
    MakeParents(target);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    if (fs::exists(status)) {
        fs::create_directories(keep.parent_path());
        if (fs::is_directory(status)) {
            RenameOrFail(target, keep);
        } else if (::link(target.c_str(), keep.c_str()) != 0) {
            // The old file stays in place until the new one replaces it in one rename.
            fs::copy_file(target, keep);
        }
        done_.push_back({keep, target});
    }
    RenameOrFail(staged, target);
    // Undone first: the new one goes back to where it was staged.
    done_.push_back({target, staged});
    SyncPath(target.parent_path(), O_RDONLY | O_DIRECTORY);
}

void Transaction::Remove(const fs::path& target, const fs::path& keep, std::string_view step) {
    hook_(step);
    fs::create_directories(keep.parent_path());
    RenameOrFail(target, keep);
    done_.push_back({keep, target});
}

Transaction::~Transaction() {
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
        std::error_code ignored;
        if (it->to.empty()) {
            fs::remove(it->from, ignored);
        } else {
            ::rename(it->from.c_str(), it->to.c_str());
        }
    }
}

}  // namespace kit
