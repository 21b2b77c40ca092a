#include "core/clock.h"

#include <chrono>
#include <thread>

namespace qx {

int64_t SystemClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepMs(int64_t ms)
{
    if (ms <= 0)
        return;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace qx
