#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

// Pixel memory of the display device's surfaces.
//
// Fresh memory is what a picture load costs beyond decoding: every 4 KiB page faults on first
// touch, a few hundred faults for each 800 x 600 picture. So larger surfaces are carved from big
// blocks that the kernel may back with 2 MiB pages, and the memory of a surface that goes is kept
// (up to a bound) for the next surface of the same size: a film left and entered again takes no
// fresh memory. Memory beyond the bound goes back to the system. Any thread may acquire and
// release (a picture read ahead is decoded straight into its surface's memory).
class SurfaceMemory {
  public:
    explicit SurfaceMemory(size_t keepBytes = kKeepBytes);
    ~SurfaceMemory();
    SurfaceMemory(const SurfaceMemory&) = delete;
    SurfaceMemory& operator=(const SurfaceMemory&) = delete;

    // Room for `count` pixels (null for none). Every pixel is 0 when `zeroed`;
    // otherwise the content is whatever was there, for a caller that writes every pixel itself.
    // Out of memory throws SystemFailure.
    uint16_t* Acquire(size_t count, bool zeroed);
    // Gives back what Acquire returned for the same count.
    void Release(uint16_t* pixels, size_t count);

    // Bytes of released memory kept, still in place, for reuse.
    size_t KeptBytes() const { return keptBytes_; }

    // Enough for a film of 40 full-screen pictures and the build-up's two.
    static constexpr size_t kKeepBytes = size_t{48} << 20;
    // Smaller surfaces come from the ordinary heap.
    static constexpr size_t kSmallBytes = size_t{16} << 10;
    static constexpr size_t kBlockBytes = size_t{32} << 20;

  private:
    struct Mapping {
        char* base = nullptr;
        size_t size = 0;
    };
    char* Carve(size_t bytes);
    static Mapping Map(size_t bytes);

    std::mutex lock_;
    size_t keepBytes_;
    size_t keptBytes_ = 0;
    std::vector<Mapping> blocks_;
    char* next_ = nullptr;  // the unused rest of the newest block
    char* end_ = nullptr;
    std::map<char*, Mapping> ownMappings_;  // surfaces too large for a block
    // Released memory by size: `warm` is still resident, `cold` was given back to the system
    // (its address range stays ours and is used again before a new one).
    std::map<size_t, std::vector<char*>> warm_;
    std::map<size_t, std::vector<char*>> cold_;
};
