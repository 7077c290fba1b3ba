#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

// Called with a short name before each change of the content folder; a test throws from it to
// see that a run failing there leaves the folder as it was.
using StepHook = std::function<void(std::string_view step)>;

// Writes a file of the work folder, making the folders on the way; FlushToDisk then makes the
// whole work folder durable at once, before anything is moved into place.
void WriteStagedFile(const std::filesystem::path& path, std::string_view bytes);
void FlushToDisk(const std::filesystem::path& folder);
std::string ReadWholeFile(const std::filesystem::path& path);

// A folder for a run's work inside `parent`, removed with everything in it at the end of scope.
class StageFolder {
  public:
    explicit StageFolder(const std::filesystem::path& parent);
    ~StageFolder();
    StageFolder(const StageFolder&) = delete;
    StageFolder& operator=(const StageFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Moves staged files and folders into place one by one. Until Commit, leaving its scope (a
// failure) undoes every move made, so the content is as it was before.
class Transaction {
  public:
    explicit Transaction(StepHook hook) : hook_(std::move(hook)) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Puts `staged` at `target`. What was at `target` is moved to `keep` (a file is replaced in
    // one rename, so the target is never missing). Folders on the way to `target` are made.
    void Replace(const std::filesystem::path& staged, const std::filesystem::path& target,
                 const std::filesystem::path& keep, std::string_view step);
    // Moves `target` away to `keep`.
    void Remove(const std::filesystem::path& target, const std::filesystem::path& keep,
                std::string_view step);
    void Commit() { done_.clear(); }

  private:
    // Undone in reverse order: `from` renamed back to `to`; with an empty `to`, the folder
    // `from` that was made is removed.
    struct Undo {
        std::filesystem::path from, to;
    };
    void MakeParents(const std::filesystem::path& path);
    StepHook hook_;
    std::vector<Undo> done_;
};

}  // namespace kit
