#include "platform/portable/decode_pool.h"

#include <algorithm>
#include <stdexcept>

namespace platform {

DecodePool::DecodePool(const NewDecoder& newDecoder, unsigned helpers) {
    // Made here, so a decoder that cannot be made fails the caller rather than a helper.
    for (unsigned h = 0; h < helpers; ++h) {
        decoders_.push_back(newDecoder());
    }
    for (const std::unique_ptr<PictureDecoder>& decoder : decoders_) {
        helpers_.emplace_back([this, &decoder] { Work(*decoder); });
    }
}

DecodePool::DecodePool(const NewDecoder& newDecoder, unsigned helpers, size_t count, Job job,
                       size_t ahead, std::function<bool(size_t)> callerOnly)
    : DecodePool(newDecoder, static_cast<unsigned>(std::min<size_t>(helpers, count))) {
    Start(count, std::move(job), ahead, std::move(callerOnly));
}

DecodePool::~DecodePool() {
    stopping_ = true;
    EndBatch();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

unsigned DecodePool::HelpersForThisMachine() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u) - 1;
}

void DecodePool::EndBatch() {
    open_ = false;
    next_ = count_;  // nothing more is begun
    changes_.fetch_add(1);
    changes_.notify_all();
    for (unsigned inside = inside_.load(); inside != 0; inside = inside_.load()) {
        inside_.wait(inside);
    }
}

void DecodePool::Start(size_t count, Job job, size_t ahead,
                       std::function<bool(size_t)> callerOnly) {
    EndBatch();
    count_ = count;
    job_ = std::move(job);
    ahead_ = std::max<size_t>(ahead, 1);
    callerOnly_ = std::move(callerOnly);
    states_ = std::make_unique<std::atomic<uint8_t>[]>(count);
    failures_.assign(count, nullptr);
    taken_ = 0;
    next_ = 0;
    open_ = true;
    changes_.fetch_add(1);
    changes_.notify_all();
}

bool DecodePool::Claim(size_t& index, bool forCaller) {
    for (;;) {
        size_t n = next_.load();
        const size_t taken = taken_.load();
        if (n >= count_ ||
            (n > taken && n - taken >= ahead_)) {  // no sum: `ahead_` may be SIZE_MAX
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
        const uint64_t seen = changes_.load();
        ++inside_;
        size_t index = 0;
        bool ran = false;
        if (open_ && Claim(index, false)) {
            Run(index, decoder);
            ran = true;
        }
        if (--inside_ == 0) {
            inside_.notify_all();
        }
        if (!ran) {
            changes_.wait(seen);  // until a batch starts or ends, or the window moves
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
    changes_.fetch_add(1);  // the window ahead moved on
    changes_.notify_all();
    if (failures_[index]) {
        std::rethrow_exception(failures_[index]);
    }
    return index;
}

}  // namespace platform
