// Feeds arbitrary bytes to the theme data file reader. Each input must load or fail with
// SystemFailure; nothing else may escape. A loaded item must hold exactly filmLast + 1 delays,
// each the number of GetField(d) of its delay line, and GetField must agree with a plain
// transcription of its steps that searches the text afresh each time.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "content/data_file_reader.h"
#include "base/system_failure.h"

namespace {

struct InputFile {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("quillowbee-fuzz-" + std::to_string(getpid()) + ".dat"))
                           .string();
    ~InputFile() { std::remove(path.c_str()); }
};

const std::string& InputPath() {
    static const InputFile file;
    return file.path;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// GetField's steps with positions counted from 1 and every comma searched for anew.
std::string PlainGetField(int16_t n, std::string_view text) {
    const auto firstCommaFrom = [&](size_t start) -> size_t {
        if (start > text.size()) {
            return 0;
        }
        const size_t at = text.find(',', start - 1);
        return at == std::string_view::npos ? 0 : at + 1;
    };
    size_t pos = 0;
    for (int32_t count = 0; count < n && pos < text.size(); ++count) {
        pos = firstCommaFrom(pos + 2);
    }
    size_t end = firstCommaFrom(pos + 1);
    if (end == 0) {
        end = text.size() + 1;
    }
    return std::string(text.substr(pos, end - pos - 1));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the file again line by line and compares each loaded item with its lines.
void CheckSlots(int16_t firstSlot) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(InputPath().c_str(), "rb"));
    Require(file != nullptr);
    for (int slot = firstSlot; slot < firstSlot + kItemsPerTheme; ++slot) {
        const ItemInfo& item = DataFileReader::itemTable[static_cast<size_t>(slot)];
        Require(item.filmLast >= 0);
        Require(item.filmDelays.size() == static_cast<size_t>(item.filmLast) + 1);
        Require(item.folder == DataFileReader::ReadToken(file.get()));
        Require(item.simpleLast ==
                DataFileReader::ParseNumber(DataFileReader::ReadToken(file.get())));
        Require(item.complexLast ==
                DataFileReader::ParseNumber(DataFileReader::ReadToken(file.get())));
        Require(item.filmLast ==
                DataFileReader::ParseNumber(DataFileReader::ReadToken(file.get())));
        const std::string delayLine = DataFileReader::ReadToken(file.get());
        // GetField restarts for every picture; a few hundred keep each run quick.
        for (int16_t d = 0; d <= std::min<int16_t>(item.filmLast, 300); ++d) {
            Require(item.filmDelays[static_cast<size_t>(d)] ==
                    DataFileReader::ParseNumber(DataFileReader::GetField(d, delayLine)));
        }
        Require(item.remark == DataFileReader::ReadToken(file.get()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size >= 1) {
        // The first byte picks a field number, negative ones included; the rest is the text.
        const auto n = static_cast<int16_t>(static_cast<int8_t>(data[0]));
        Require(DataFileReader::GetField(n, bytes.substr(1)) == PlainGetField(n, bytes.substr(1)));
    }

    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    Require(file != nullptr);
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    for (const int16_t firstSlot : {int16_t{0}, int16_t{24}}) {
        bool loaded = false;
        try {
            DataFileReader::LoadItemFile(InputPath(), firstSlot);
            loaded = true;
        } catch (const SystemFailure&) {
        }
        if (loaded) {
            // Lines that loaded once must convert again.
            try {
                CheckSlots(firstSlot);
            } catch (const SystemFailure&) {
                std::abort();
            }
        }
    }
    DataFileReader::itemTable = {};
    return 0;
}
