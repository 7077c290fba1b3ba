// Replays the data file reader's fuzz corpus, so every input the fuzzer once found stays covered.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "content/data_file_reader.h"
#include "base/system_failure.h"

namespace {

namespace fs = std::filesystem;

TEST(DataFileReaderCorpusTest, EveryInputLoadsOrFailsNamingTheFile) {
    const fs::path corpus = fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "data_file_reader";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    int inputs = 0;
    int loaded = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        const std::string file = entry.path().string();
        for (const int16_t firstSlot : {0, 24}) {
            DataFileReader::itemTable = {};
            try {
                DataFileReader::LoadItemFile(file, firstSlot);
                ++loaded;
                for (int slot = firstSlot; slot < firstSlot + kItemsPerTheme; ++slot) {
                    const ItemInfo& item = DataFileReader::itemTable[static_cast<size_t>(slot)];
                    EXPECT_GE(item.filmLast, 0) << file;
                    EXPECT_EQ(item.filmDelays.size(), static_cast<size_t>(item.filmLast) + 1)
                        << file;
                    EXPECT_FALSE(item.folder.empty()) << file;
                }
            } catch (const SystemFailure& failure) {
                EXPECT_EQ(std::string(failure.what()).rfind(file + ": ", 0), 0u) << failure.what();
            }
        }
        ++inputs;
    }
    DataFileReader::itemTable = {};
    EXPECT_GE(inputs, 5);
    EXPECT_GE(loaded, 2) << "the valid seeds load";
}

}  // namespace
