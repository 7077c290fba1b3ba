// Whatever runs ahead on the helpers, the caller meets every job once, in order, with its failure.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/portable/decode_pool.h"

namespace {

struct NoDecoder : platform::PictureDecoder {
    const platform::DecodedPicture& Decode(const std::string& path, int32_t, int32_t) override {
        throw std::logic_error("not used: " + path);
    }
};

TEST(DecodePool, TheCallerMeetsEveryJobOnceInOrderWithItsOwnFailure) {
    const std::pair<unsigned, size_t> cases[] = {
        {0, SIZE_MAX}, {1, 1}, {1, 2}, {3, 2}, {3, SIZE_MAX}};
    constexpr size_t kJobs = 40;
    for (const auto& [helpers, ahead] : cases) {
        SCOPED_TRACE(testing::Message() << helpers << " helpers, " << ahead << " ahead");
        const std::thread::id caller = std::this_thread::get_id();
        std::vector<std::atomic<int>> runs(kJobs);
        std::mutex lock;
        std::vector<size_t> aheadOfCaller;  // jobs begun while earlier ones were not yet taken
        std::atomic<size_t> taken{0};
        NoDecoder callerDecoder;
        platform::DecodePool pool(
            [] { return std::make_unique<NoDecoder>(); }, helpers, kJobs,
            [&](size_t i, platform::PictureDecoder&) {
                ++runs[i];
                if (i % 10 == 3 && std::this_thread::get_id() != caller)
                    throw std::runtime_error("a job kept for the caller ran on a helper");
                if (std::lock_guard guard(lock); i - taken > ahead) aheadOfCaller.push_back(i);
                if (i % 7 == 5) throw std::runtime_error("job " + std::to_string(i));
            },
            ahead, [](size_t i) { return i % 10 == 3; });
        for (size_t i = 0; i < kJobs; ++i) {
            std::string failure;
            try {
                EXPECT_EQ(pool.TakeNext(callerDecoder), i);
            } catch (const std::runtime_error& e) {
                failure = e.what();
            }
            EXPECT_EQ(failure, i % 7 == 5 ? "job " + std::to_string(i) : "") << i;
            taken = i + 1;
        }
        EXPECT_EQ(pool.Left(), 0u);
        for (size_t i = 0; i < kJobs; ++i) EXPECT_EQ(runs[i], 1) << i;
        EXPECT_EQ(aheadOfCaller, std::vector<size_t>{});  // none ran too far ahead
    }
}

// With no bound, the helpers go on to the end of the batch whatever the caller has taken.
TEST(DecodePool, WithoutABoundTheHelpersRunEveryJobWhileTheCallerHoldsBack) {
    std::atomic<int> runs{0};
    NoDecoder callerDecoder;
    platform::DecodePool pool([] { return std::make_unique<NoDecoder>(); }, 1, 20,
                              [&](size_t, platform::PictureDecoder&) { ++runs; });
    pool.TakeNext(callerDecoder);
    for (int wait = 0; wait < 2000 && runs < 20; ++wait)  // a hang guard, no time asserted
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(runs, 20);
}

TEST(DecodePool, JobsNotBegunWhenTheBatchOrThePoolEndsNeverRun) {
    std::atomic<int> runs{0};
    NoDecoder callerDecoder;
    {
        platform::DecodePool pool([] { return std::make_unique<NoDecoder>(); }, 2, 100,
                                  [&](size_t, platform::PictureDecoder&) { ++runs; }, 2);
        pool.TakeNext(callerDecoder);
        // A new batch on the same helpers: the old one's jobs stop, the new one's all run.
        std::atomic<int> second{0};
        pool.Start(5, [&](size_t, platform::PictureDecoder&) { ++second; });
        EXPECT_LE(runs, 3);  // the one taken and the window of two from the next one on
        const int runsOfFirst = runs;
        for (size_t i = 0; i < 5; ++i) EXPECT_EQ(pool.TakeNext(callerDecoder), i);
        EXPECT_EQ(second, 5);
        EXPECT_EQ(runs, runsOfFirst);
        EXPECT_THROW(pool.TakeNext(callerDecoder), std::out_of_range);
        pool.Start(
            50, [&](size_t, platform::PictureDecoder&) { ++runs; }, 2);
        pool.TakeNext(callerDecoder);
    }
    EXPECT_LE(runs, 6);  // the last pool's end begins nothing more
}

}  // namespace
