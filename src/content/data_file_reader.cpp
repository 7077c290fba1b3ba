// Not built yet.
#include "content/data_file_reader.h"
#include "shell/system_failure.h"

namespace DataFileReader {
std::array<ItemInfo, kItemCount> itemTable;
ItemInfo& Item(int32_t index) { return itemTable.at(static_cast<size_t>(index)); }
void LoadItemFile(const std::string& fileName, int16_t) { Fail(fileName + ": data files are not read yet"); }
std::string ReadToken(std::FILE*) { return {}; }
std::string GetField(int16_t, std::string_view) { return {}; }
int16_t ParseNumber(std::string_view) { Fail("not built yet"); }
}  // namespace DataFileReader
