#include "display/surface_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/system_failure.h"

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

constexpr size_t RoundUp(size_t value, size_t step) {
    return (value + step - 1) / step * step;
}

char* Take(std::map<size_t, std::vector<char*>>& lists, size_t bytes) {
    auto found = lists.find(bytes);
    if (found == lists.end() || found->second.empty()) {
        return nullptr;
    }
    char* memory = found->second.back();
    found->second.pop_back();
    return memory;
}

}  // namespace

SurfaceMemory::SurfaceMemory(size_t keepBytes) : keepBytes_(keepBytes) {}

SurfaceMemory::~SurfaceMemory() {
    for (const Mapping& block : blocks_) {
        munmap(block.base, block.size);
    }
    for (const auto& [base, mapping] : ownMappings_) {
        munmap(mapping.base, mapping.size);
    }
}

SurfaceMemory::Mapping SurfaceMemory::Map(size_t bytes) {
    // Aligned to the large page size, so that the kernel can back all of it with large pages.
    const size_t size = RoundUp(bytes, kHugePage);
    void* raw =
        mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        Fail("no memory for a surface of " + std::to_string(bytes) + " bytes");
    }
    char* const start = static_cast<char*>(raw);
    char* const base =
        reinterpret_cast<char*>(RoundUp(reinterpret_cast<uintptr_t>(start), kHugePage));
    if (base > start) {
        munmap(start, static_cast<size_t>(base - start));
    }
    char* const end = base + size;
    if (end < start + size + kHugePage) {
        munmap(end, static_cast<size_t>(start + size + kHugePage - end));
    }
    // Advice only: where the kernel has no large pages the memory works the same.
    madvise(base, size, MADV_HUGEPAGE);
    return {base, size};
}

char* SurfaceMemory::Carve(size_t bytes) {
    if (next_ == nullptr || static_cast<size_t>(end_ - next_) < bytes) {
        blocks_.reserve(blocks_.size() + 1);
        const Mapping block = Map(kBlockBytes);
        blocks_.push_back(block);
        next_ = block.base;
        end_ = block.base + block.size;
    }
    char* const memory = next_;
    next_ += bytes;
    return memory;
}

uint16_t* SurfaceMemory::Acquire(size_t count, bool zeroed) {
    if (count == 0) {
        return nullptr;
    }
    const size_t bytes = RoundUp(count * sizeof(uint16_t), 64);
    std::lock_guard hold(lock_);
    if (bytes < kSmallBytes) {
        void* memory = zeroed ? std::calloc(1, bytes) : std::malloc(bytes);
        if (memory == nullptr) {
            Fail("no memory for a surface of " + std::to_string(bytes) + " bytes");
        }
        return static_cast<uint16_t*>(memory);
    }
    char* memory = Take(warm_, bytes);
    if (memory != nullptr) {
        keptBytes_ -= bytes;
    } else {
        memory = Take(cold_, bytes);
    }
    if (memory != nullptr) {
        if (zeroed) {
            std::memset(memory, 0, bytes);
        }
        return reinterpret_cast<uint16_t*>(memory);
    }
    // Memory never used before is all zero already.
    if (bytes > kBlockBytes / 4) {
        const Mapping mapping = Map(bytes);
        try {
            ownMappings_.emplace(mapping.base, mapping);
        } catch (...) {
            munmap(mapping.base, mapping.size);
            throw;
        }
        return reinterpret_cast<uint16_t*>(mapping.base);
    }
    return reinterpret_cast<uint16_t*>(Carve(bytes));
}

void SurfaceMemory::Release(uint16_t* pixels, size_t count) {
    if (pixels == nullptr) {
        return;
    }
    const size_t bytes = RoundUp(count * sizeof(uint16_t), 64);
    std::lock_guard hold(lock_);
    if (bytes < kSmallBytes) {
        std::free(pixels);
        return;
    }
    char* const memory = reinterpret_cast<char*>(pixels);
    const auto own = ownMappings_.find(memory);
    if (own != ownMappings_.end()) {
        munmap(own->second.base, own->second.size);
        ownMappings_.erase(own);
        return;
    }
    if (keptBytes_ + bytes <= keepBytes_) {
        warm_[bytes].push_back(memory);
        keptBytes_ += bytes;
        return;
    }
    // Over the bound: the pages go back to the system, the address range stays for reuse.
    static const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t first = RoundUp(reinterpret_cast<uintptr_t>(memory), page);
    const uintptr_t last = (reinterpret_cast<uintptr_t>(memory) + bytes) / page * page;
    if (last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
    cold_[bytes].push_back(memory);
}
