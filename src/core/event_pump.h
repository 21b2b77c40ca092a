#pragma once

namespace qx {

// "Process pending events": long loops call this on each pass so the user
// interface stays alive. Tests use a pump that only counts.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processPending() = 0;
};

// Runs the Qt event loop's pending events of the current thread.
class QtEventPump final : public EventPump {
public:
    void processPending() override;
};

class CountingEventPump final : public EventPump {
public:
    void processPending() override { ++calls; }
    int calls = 0;
};

} // namespace qx
