#include "platform/portable/ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/portable/ini_text.h"
#include "platform/portable/user_folders.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

// A settings file holds a few dozen lines; anything this large is not one.
constexpr off_t kLargestSettingsFile = 1 << 20;

struct FileText {
    bool exists = false;
    std::string text;
    std::optional<mode_t> mode;  // of an existing file, kept by the new one
    std::string error;           // why an existing file could not be read
};

// The file's text, empty when there is no file; `error` set when it exists but cannot be read.
FileText ReadFile(const fs::path& path) {
    FileText file;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        file.exists = errno != ENOENT && errno != ENOTDIR;
        file.error = file.exists ? std::strerror(errno) : "";
        return file;
    }
    file.exists = true;
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        file.error = std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        file.error = "not a regular file";
    } else if (info.st_size > kLargestSettingsFile) {
        file.error = "larger than 1 MiB, too large for a settings file";
    } else {
        file.mode = info.st_mode & 07777;
    }
    char buffer[4096];
    while (file.error.empty()) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            file.text.append(buffer, static_cast<size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            file.error = std::strerror(errno);
        }
    }
    close(fd);
    return file;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

// Writes `text` to a temporary file beside `path`, flushes it to the disk and renames it over
// `path`: readers see the old file or the new one, never a part of either.
void ReplaceFile(const fs::path& path, const std::string& text, std::optional<mode_t> mode) {
    std::string temporary =
        (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    bool ok = WriteAll(fd, text) && (!mode || fchmod(fd, *mode) == 0) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return;
    }
    // The rename itself reaches the disk with the folder.
    if (const int folder = open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

std::vector<fs::path> SystemFolders() {
    const std::vector<std::string> folders = SystemConfigFolders();
    return {folders.begin(), folders.end()};
}

}  // namespace

IniSettingsStore::IniSettingsStore() : IniSettingsStore(UserConfigHome(), SystemFolders()) {}

IniSettingsStore::IniSettingsStore(fs::path baseFolder, std::vector<fs::path> systemFolders)
    : baseFolder_(std::move(baseFolder)), systemFolders_(std::move(systemFolders)) {}

fs::path IniSettingsStore::FileFor(const std::string& application) const {
    return baseFolder_ / application / "settings.ini";
}

std::vector<SettingsFileText> IniSettingsStore::ReadFiles(const std::string& application) {
    std::vector<fs::path> paths;
    for (auto folder = systemFolders_.rbegin(); folder != systemFolders_.rend(); ++folder) {
        paths.push_back(*folder / application / "settings.ini");
    }
    paths.push_back(FileFor(application));
    std::vector<SettingsFileText> files;
    for (const fs::path& path : paths) {
        FileText file = ReadFile(path);
        if (file.exists) {
            files.push_back({path.string(), std::move(file.text), std::move(file.error)});
        }
    }
    return files;
}

void IniSettingsStore::WriteValues(const std::string& application, const std::string& section,
                                   const SettingsValues& values) {
    const fs::path path = FileFor(application);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        return;
    }
    // A file that exists but cannot be read is left alone: writing would lose the lines it holds.
    const FileText old = ReadFile(path);
    if (!old.error.empty()) {
        return;
    }
    std::string text = old.text;
    for (const auto& [key, value] : values) {
        text = WithIniValue(text, section, key, value);
    }
    ReplaceFile(path, text, old.mode);
}

}  // namespace platform
