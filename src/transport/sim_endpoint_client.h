#pragma once
// Client side of the simulator bridge endpoints (wire format in
// sim_endpoint_wire.h): bridge backends that connect to the sockets
// "QxUSB-<n>" and "QxHID-<i>" of an endpoint folder.
//
// A socket that is missing, refuses the connection (a stale file) or does
// not send a hello of its kind counts as "no device here", so the hardware
// device of the same number is tried next.
#include "transport/bridge_device.h"

#include <QString>

namespace qx {

class SimBulkEndpoints final : public BulkBridgeBackend {
public:
    explicit SimBulkEndpoints(QString dir, int helloTimeoutMs = 1000)
        : dir_(std::move(dir)), helloTimeoutMs_(helloTimeoutMs) {}
    std::shared_ptr<BulkBridgeDevice> openBulk(int number) override;
private:
    QString dir_;
    int helloTimeoutMs_;
};

class SimHidEndpoints final : public HidBridgeBackend {
public:
    explicit SimHidEndpoints(QString dir, int helloTimeoutMs = 1000)
        : dir_(std::move(dir)), helloTimeoutMs_(helloTimeoutMs) {}
    std::shared_ptr<HidBridgeDevice> openHid(int index, bool &found) override;
private:
    QString dir_;
    int helloTimeoutMs_;
};

} // namespace qx
