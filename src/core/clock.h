#pragma once
#include <cstdint>

namespace qx {

// Every wait of the tool goes through a Clock, so tests run busy waits on
// virtual time. Times are milliseconds on a monotonic scale.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowMs() const = 0;
    // Waits at least ms milliseconds.
    virtual void sleepMs(int64_t ms) = 0;
};

// Wall clock: a monotonic timer; sleeps in small steps instead of spinning.
class SystemClock final : public Clock {
public:
    int64_t nowMs() const override;
    void sleepMs(int64_t ms) override;
};

// Virtual clock for tests: time moves only when someone sleeps or advances it.
class VirtualClock final : public Clock {
public:
    int64_t nowMs() const override { return now_; }
    void sleepMs(int64_t ms) override { if (ms > 0) now_ += ms; ++sleeps_; }
    void advance(int64_t ms) { now_ += ms; }
    int sleepCount() const { return sleeps_; }
private:
    int64_t now_ = 0;
    int sleeps_ = 0;
};

// Busy-wait helper: true once `limitMs` has elapsed since `startMs`.
inline bool elapsedBeyond(const Clock &c, int64_t startMs, int64_t limitMs)
{
    return c.nowMs() - startMs > limitMs;
}

} // namespace qx
