#include "platform/portable/decode_pool.h"

#include <algorithm>

namespace platform {

DecodePool::DecodePool(const NewDecoder& newDecoder, unsigned helpers, size_t count, Job job,
                       size_t ahead, std::function<bool(size_t)> callerOnly)
    : count_(count),
      job_(std::move(job)),
      ahead_(std::max<size_t>(ahead, 1)),
      callerOnly_(std::move(callerOnly)),
      states_(std::make_unique<std::atomic<uint8_t>[]>(count)),
      failures_(count) {
    // Made here, so a decoder that cannot be made fails the caller rather than a helper.
    helpers = static_cast<unsigned>(std::min<size_t>(helpers, count));
    for (unsigned h = 0; h < helpers; ++h) {
        decoders_.push_back(newDecoder());
    }
    for (const std::unique_ptr<PictureDecoder>& decoder : decoders_) {
        helpers_.emplace_back([this, &decoder] { Work(*decoder); });
    }
}

DecodePool::~DecodePool() {
    stopping_ = true;
    next_ = count_;       // nothing more is begun
    taken_.fetch_add(1);  // wakes helpers waiting for the window to move
    taken_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

unsigned DecodePool::HelpersForThisMachine() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u) - 1;
}

bool DecodePool::Claim(size_t& index, bool forCaller) {
    for (;;) {
        size_t n = next_.load();
        if (n >= count_ || n >= taken_.load() + ahead_) {
            return false;
        }
        if (!next_.compare_exchange_weak(n, n + 1)) {
            continue;
        }
        uint8_t waiting = kWaiting;
        if ((forCaller || !callerOnly_ || !callerOnly_(n)) &&
            states_[n].compare_exchange_strong(waiting, kRunning)) {
            index = n;
            return true;
        }
    }
}

void DecodePool::Run(size_t index, PictureDecoder& decoder) {
    try {
        job_(index, decoder);
    } catch (...) {
        failures_[index] = std::current_exception();
    }
    states_[index].store(kDone);
    states_[index].notify_all();
}

void DecodePool::Work(PictureDecoder& decoder) {
    while (!stopping_) {
        const size_t taken = taken_.load();
        size_t index = 0;
        if (Claim(index, false)) {
            Run(index, decoder);
        } else if (next_.load() >= count_) {
            return;
        } else {
            taken_.wait(taken);  // the window is full until the caller takes the next job
        }
    }
}

size_t DecodePool::TakeNext(PictureDecoder& decoder) {
    const size_t index = taken_.load();
    if (index >= count_) {
        throw std::out_of_range("no job is left to take");
    }
    while (states_[index].load() != kDone) {
        uint8_t waiting = kWaiting;
        size_t other = 0;
        if (states_[index].compare_exchange_strong(waiting, kRunning)) {
            Run(index, decoder);
        } else if (Claim(other, true)) {
            // Rather than wait while a helper has the next job, the caller runs one no one has
            // begun: a thread woken from sleep may wait long for a core.
            Run(other, decoder);
        } else {
            states_[index].wait(kRunning);
        }
    }
    taken_.fetch_add(1);
    taken_.notify_all();  // the window ahead moved on
    if (failures_[index]) {
        std::rethrow_exception(failures_[index]);
    }
    return index;
}

}  // namespace platform
