#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/picture_decoder.h"

namespace platform {

// Batches of numbered jobs run on a few helper threads, each with a picture decoder of its own,
// and taken by the calling thread strictly in their order: job i's failure reaches the caller
// when it takes job i, never before, whatever ran ahead of it. The caller runs jobs itself rather
// than wait, so with no helpers everything happens on the calling thread, one job after the
// other, as a plain loop would do it. The helpers and their decoders stay from batch to batch
// (fresh memory and fresh threads cost more than a decode on some machines).
class DecodePool {
  public:
    using NewDecoder = std::function<std::unique_ptr<PictureDecoder>()>;
    using Job = std::function<void(size_t index, PictureDecoder& decoder)>;

    DecodePool(const NewDecoder& newDecoder, unsigned helpers);
    // Starts a first batch at once (see Start).
    DecodePool(const NewDecoder& newDecoder, unsigned helpers, size_t count, Job job,
               size_t ahead = SIZE_MAX, std::function<bool(size_t)> callerOnly = {});
    ~DecodePool();
    DecodePool(const DecodePool&) = delete;
    DecodePool& operator=(const DecodePool&) = delete;

    // Ends the batch before (its jobs not begun never run; those running are waited for) and
    // starts jobs 0 to count - 1. At most `ahead` jobs from the next one to take on are run
    // before that one is taken (what waits to be taken stays bounded). Jobs for which
    // `callerOnly` says true run only on the calling thread.
    void Start(size_t count, Job job, size_t ahead = SIZE_MAX,
               std::function<bool(size_t)> callerOnly = {});
    // Waits until the next job has run and rethrows what it threw; its index. Meanwhile the
    // calling thread runs, with `decoder`, jobs of the window no helper has begun.
    size_t TakeNext(PictureDecoder& decoder);
    // Jobs not taken yet.
    size_t Left() const { return count_ - std::min(taken_.load(), count_); }

    // One helper a core beside the calling thread, at most 4 threads in all.
    static unsigned HelpersForThisMachine();

  private:
    enum State : uint8_t { kWaiting, kRunning, kDone };
    void Work(PictureDecoder& decoder);
    // The next job of the window nobody has begun, now begun by the caller; false if none.
    bool Claim(size_t& index, bool forCaller);
    void Run(size_t index, PictureDecoder& decoder);

    void EndBatch();

    // The batch: written only while no helper is inside it (`open_` false, `inside_` 0).
    size_t count_ = 0;
    Job job_;
    size_t ahead_ = 1;
    std::function<bool(size_t)> callerOnly_;
    std::unique_ptr<std::atomic<uint8_t>[]> states_;
    std::vector<std::exception_ptr> failures_;
    std::atomic<size_t> next_{0};   // the first job no helper has looked at
    std::atomic<size_t> taken_{0};  // jobs taken by the caller
    std::atomic<bool> open_{false};
    std::atomic<unsigned> inside_{0};   // helpers reading the batch
    std::atomic<uint64_t> changes_{0};  // bumped whenever a waiting helper may go on
    std::atomic<bool> stopping_{false};
    std::vector<std::unique_ptr<PictureDecoder>> decoders_;
    std::vector<std::thread> helpers_;
};

}  // namespace platform
