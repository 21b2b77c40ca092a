#pragma once
// Serves the RS232 protocol on a pseudo-terminal: the tool opens the slave
// side (slavePath()) like any serial port; the server answers on the master
// side, either from its own thread (start/stop) or from pump() calls.
#include "sim/rs232_protocol.h"

#include <atomic>
#include <string>
#include <thread>

namespace qx::sim {

class PtyRs232Server {
public:
    explicit PtyRs232Server(Rs232Protocol &protocol) : protocol_(protocol) {}
    ~PtyRs232Server();
    PtyRs232Server(const PtyRs232Server &) = delete;
    PtyRs232Server &operator=(const PtyRs232Server &) = delete;

    // Creates the pty; false when the system has none to give.
    bool open();
    const std::string &slavePath() const { return slavePath_; }

    // Waits up to timeoutMs for bytes from the tool, answers them; returns
    // the number of bytes taken (0 on time-out, -1 on error).
    int pump(int timeoutMs);

    void start();
    void stop();

private:
    Rs232Protocol &protocol_;
    int master_ = -1;
    int slaveHold_ = -1;  // keeps the slave side alive between client opens
    std::string slavePath_;
    std::thread thread_;
    std::atomic<bool> running_{false};
};

} // namespace qx::sim
