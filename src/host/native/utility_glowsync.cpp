#include "host/native/utility_glowsync.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/storage/native_log.h"

std::optional<int> GlowSyncFilter::AddSample(int level, bool following) {
    samples_[next_] = level;
    next_ = (next_ + 1) % kSamples;
    if (count_ < kSamples) ++count_;
    if (!following) {
        applied_.reset();
        return std::nullopt;
    }
    long long sum = 0;
    for (std::size_t i = 0; i < count_; ++i) sum += samples_[i];
    long long n = static_cast<long long>(count_);
    // Rounded to the nearest level, halves away from zero.
    int average = static_cast<int>(sum >= 0 ? (sum + n / 2) / n : (sum - n / 2) / n);
    if (applied_ && std::abs(average - *applied_) < kMinChange) return std::nullopt;
    applied_ = average;
    return average;
}

namespace {

struct Task {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
};

Task& TheTask() {
    static Task task;
    return task;
}

void Run(GlowSyncConfig config) {
    Task& t = TheTask();
    GlowSyncFilter filter;
    for (;;) {
        {
            std::lock_guard lock(t.mutex);
            if (t.stopping) return;
        }
        int level = config.readSensorLevel();
        if (std::optional<int> apply = filter.AddSample(level, config.followsAmbientLight())) {
            config.applyBacklight(*apply);
        }
        if (config.sleep) {
            config.sleep(config.period);
        } else {
            std::unique_lock lock(t.mutex);
            t.wake.wait_for(lock, config.period, [&t] { return t.stopping; });
        }
    }
}

}  // namespace

bool GlowSync_Start(GlowSyncConfig config) {
    if (!config.readSensorLevel || !config.followsAmbientLight || !config.applyBacklight) {
        NativeLog("glowsync: not started: a callback is missing");
        return false;
    }
    Task& t = TheTask();
    if (t.thread.joinable()) {
        NativeLog("glowsync: already running");
        return false;
    }
    {
        std::lock_guard lock(t.mutex);
        t.stopping = false;
    }
    t.thread = std::thread(Run, std::move(config));
    return true;
}

void GlowSync_Stop() {
    Task& t = TheTask();
    if (!t.thread.joinable()) return;
    {
        std::lock_guard lock(t.mutex);
        t.stopping = true;
    }
    t.wake.notify_all();
    t.thread.join();
}
