#pragma once
// Serves a bridge (a "request in -> answer out" function) on a simulator
// endpoint socket, in bulk or HID report semantics (wire format in
// transport/sim_endpoint_wire.h).
//
// One host at a time, like a real bridge: a connection gets the hello and is
// served until it closes; a second host waits in the backlog, gets no hello
// and gives up. The server runs on its own thread; stop() (or the
// destructor) ends it and removes the socket file.
//
// HID: the function receives an output report without its report id and its
// answer is sent as one input report (id 0, then 64 bytes, padded or cut).
// Bulk: request and answer bytes pass unchanged. A request without an
// answer gets none, and the host's read times out as with a silent device.
#include "transport/sim_endpoint_wire.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace qx {
class Clock;
}

namespace qx::sim {

class BridgeEndpointServer {
public:
    using Exchange = std::function<std::optional<std::vector<uint8_t>>(std::span<const uint8_t> request)>;

    BridgeEndpointServer(QString socketPath, simwire::Hello hello, Exchange exchange);
    ~BridgeEndpointServer();
    BridgeEndpointServer(const BridgeEndpointServer &) = delete;
    BridgeEndpointServer &operator=(const BridgeEndpointServer &) = delete;

    // Each report (request and answer) costs `ms` on `clock` before it is
    // handled: 1 ms is the pace of a full-speed HID link. Set before start().
    void setLatency(Clock *clock, int ms) { clock_ = clock; latencyMs_ = ms; }

    // Binds and starts serving. A stale socket file is replaced; a socket
    // another server answers on is an error.
    bool start(QString &error);
    void stop();

    const QString &path() const { return path_; }
    int connectionsServed() const { return connections_.load(); }

private:
    void run();
    void serve(int client);
    void pace();

    QString path_;
    simwire::Hello hello_;
    Exchange exchange_;
    Clock *clock_ = nullptr;
    int latencyMs_ = 0;
    int listenFd_ = -1;
    int wakeFds_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<int> connections_{0};
};

// Creates the endpoint folder (and missing parents) with mode 0700. An
// existing folder is kept as it is.
bool PrepareEndpointDir(const QString &dir, QString &error);

} // namespace qx::sim
