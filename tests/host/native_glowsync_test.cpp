#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/storage/native_log.h"
#include "host/native/utility_glowsync.h"

namespace {

using namespace std::chrono_literals;

TEST(GlowSyncFilter, AveragesTheLastEightAndSkipsSmallChanges) {
    GlowSyncFilter f;
    EXPECT_EQ(f.AddSample(10, true), 10);           // first sample applies at once
    EXPECT_EQ(f.AddSample(11, true), std::nullopt);  // 10.5 rounds to 11: one level
    EXPECT_EQ(f.AddSample(15, true), 12);            // 36 / 3
    for (int i = 0; i < 7; ++i) f.AddSample(100, true);
    EXPECT_EQ(f.AddSample(100, false), std::nullopt);  // not following: nothing applied
    // Resuming applies at once; only the last eight samples (all 100) count.
    EXPECT_EQ(f.AddSample(100, true), 100);
}

// The task against an injected wait that hands each tick back to the test.
struct Driver {
    std::mutex m;
    std::condition_variable cv;
    int ticks = 0;
    int allowed = 0;
    bool released = false;
    std::vector<int> applied;
    std::vector<std::chrono::milliseconds> waits;

    void Sleep(std::chrono::milliseconds d) {
        std::unique_lock lock(m);
        waits.push_back(d);
        ++ticks;
        cv.notify_all();
        cv.wait(lock, [this] { return released || allowed > ticks; });
    }
    void RunUntilTick(int n) {
        std::unique_lock lock(m);
        allowed = n;
        cv.notify_all();
        cv.wait(lock, [&] { return ticks >= n; });
    }
    void Release() {
        std::lock_guard lock(m);
        released = true;
        cv.notify_all();
    }
};

TEST(GlowSyncTask, AppliesWhileFollowingAndStops) {
    Driver d;
    int sensor = 40;
    bool follow = false;
    GlowSyncConfig config;
    config.readSensorLevel = [&] { return sensor; };
    config.followsAmbientLight = [&] { return follow; };
    config.applyBacklight = [&](int level) { d.applied.push_back(level); };
    config.sleep = [&](std::chrono::milliseconds ms) { d.Sleep(ms); };
    config.period = 250ms;
    ASSERT_TRUE(GlowSync_Start(config));
    NativeSetLogger([](const char*) {});
    EXPECT_FALSE(GlowSync_Start(config));
    NativeSetLogger(nullptr);

    d.RunUntilTick(2);  // sensor read twice while not following
    {
        std::lock_guard lock(d.m);
        EXPECT_TRUE(d.applied.empty());
        follow = true;
        sensor = 52;
    }
    d.RunUntilTick(4);  // 132 / 3 = 44, then 184 / 4 = 46
    std::vector<int> applied;
    {
        // The task waits in its fourth sleep; once released it may run more
        // rounds before it sees the stop, so take what it applied now.
        std::lock_guard lock(d.m);
        applied = d.applied;
    }
    d.Release();
    GlowSync_Stop();
    EXPECT_EQ(applied, (std::vector<int>{44, 46}));
    EXPECT_EQ(d.waits.front(), 250ms);
}

TEST(GlowSyncTask, StopWakesItsOwnWait) {
    GlowSyncConfig config;
    std::mutex m;
    std::condition_variable cv;
    bool applied = false;
    config.readSensorLevel = [] { return 7; };
    config.followsAmbientLight = [] { return true; };
    config.applyBacklight = [&](int) {
        std::lock_guard lock(m);
        applied = true;
        cv.notify_all();
    };
    config.period = std::chrono::hours(1);
    ASSERT_TRUE(GlowSync_Start(config));
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return applied; });
    }
    GlowSync_Stop();  // would hang for an hour if the wait were not woken
    EXPECT_TRUE(applied);
    NativeSetLogger([](const char*) {});
    config.applyBacklight = nullptr;
    EXPECT_FALSE(GlowSync_Start(config));
    NativeSetLogger(nullptr);
}

}  // namespace
