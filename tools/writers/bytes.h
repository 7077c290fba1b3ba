#pragma once

#include <cstdint>
#include <string>

namespace writers {

// `value` as `count` bytes, least significant first, appended to `out`.
inline void PutLittleEndian(std::string& out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace writers
