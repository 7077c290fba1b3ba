#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

// A fresh folder under the system's temporary folder for one test, removed with everything in it
// afterwards. Entering it makes it the current directory until the folder goes away.
class ScratchFolder {
  public:
    ScratchFolder() {
        static std::atomic<int> serial{0};
        const std::string name = "quillowbee-test-" + std::to_string(getpid()) + "-" +
                                 std::to_string(serial++) + "-" +
                                 std::to_string(std::random_device{}());
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        if (!previous_.empty()) {
            std::filesystem::current_path(previous_);
        }
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

    void Enter() {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }

    // Writes the bytes exactly as given, creating the folders on the way.
    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

    std::string Read(const std::string& relative) const {
        std::ifstream in(path_ / relative, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// Sets (or, with nothing, removes) an environment variable for one test.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }

    std::string name_;
    std::optional<std::string> old_;
};
