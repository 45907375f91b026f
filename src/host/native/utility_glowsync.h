// The ambient-light sensor task: samples the light sensor every period and, while the
// "backlight follows ambient light" setting is on, applies the average of the last
// samples as the backlight level when it has moved by at least two levels.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

struct GlowSyncConfig {
    std::function<int()> readSensorLevel;           // the platform's light-sensor read
    std::function<bool()> followsAmbientLight;      // the setting
    std::function<void(int level)> applyBacklight;  // sets the backlight level
    // Waits one period. Empty: the task waits on its own, and GlowSync_Stop wakes it.
    // An injected wait is not interrupted: the task ends when it returns.
    std::function<void(std::chrono::milliseconds)> sleep;
    std::chrono::milliseconds period{1000};
};

// The smoothing: a moving average over the last kSamples samples.
class GlowSyncFilter {
public:
    static constexpr std::size_t kSamples = 8;
    static constexpr int kMinChange = 2;

    // Adds a sample; returns the level to apply, if any. While not following, nothing is
    // applied, and the first sample after following resumes applies the average at once.
    std::optional<int> AddSample(int level, bool following);

private:
    int samples_[kSamples] = {};
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    std::optional<int> applied_;
};

// Start and stop are called from one thread (the host's start and stop).
// Starts the task; false (logged) when it is already running or a callback is missing.
bool GlowSync_Start(GlowSyncConfig config);
// Stops the task and joins it. Nothing when it is not running.
void GlowSync_Stop();
