#include "platform/portable/ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/portable/ini_text.h"
#include "platform/portable/user_folders.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

struct FileText {
    std::string text;
    std::optional<mode_t> mode;  // of an existing file, kept by the new one
};

// The file's text, empty when there is no file yet; nothing when it exists but cannot be read,
// since writing then would lose the lines it holds.
std::optional<FileText> ReadExisting(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? std::optional<FileText>(FileText{}) : std::nullopt;
    }
    FileText file;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        file.mode = info.st_mode & 07777;
    }
    char buffer[4096];
    while (ok) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            file.text.append(buffer, static_cast<size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            ok = false;
        }
    }
    close(fd);
    return ok ? std::optional<FileText>(std::move(file)) : std::nullopt;
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

}  // namespace

IniSettingsStore::IniSettingsStore() : IniSettingsStore(UserConfigHome()) {}

IniSettingsStore::IniSettingsStore(fs::path baseFolder) : baseFolder_(std::move(baseFolder)) {}

fs::path IniSettingsStore::FileFor(const std::string& application) const {
    return baseFolder_ / application / "settings.ini";
}

void IniSettingsStore::WriteText(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& value) {
    const fs::path path = FileFor(application);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        return;
    }
    const std::optional<FileText> old = ReadExisting(path);
    if (!old) {
        return;
    }
    ReplaceFile(path, WithIniValue(old->text, section, key, value), old->mode);
}

}  // namespace platform
