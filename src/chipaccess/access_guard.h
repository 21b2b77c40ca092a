#pragma once
#include "chipaccess/qx_up.h"

namespace qx {

// Holds the chip access layer's one-access flag for a scope. `acquired()` is
// false when another access was already running; the caller then refuses.
class AccessGuard {
public:
    explicit AccessGuard(TQx_UP &up) : up_(up), acquired_(!up.busy_) { if (acquired_) up_.busy_ = true; }
    ~AccessGuard() { release(); }
    AccessGuard(const AccessGuard &) = delete;
    AccessGuard &operator=(const AccessGuard &) = delete;
    bool acquired() const { return acquired_; }
    void release()
    {
        if (acquired_)
            up_.busy_ = false;
        acquired_ = false;
    }

private:
    TQx_UP &up_;
    bool acquired_;
};

} // namespace qx
