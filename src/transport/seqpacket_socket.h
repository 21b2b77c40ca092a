#pragma once
// A non-blocking AF_UNIX SOCK_SEQPACKET socket with bounded sends and
// receives: one call moves one whole message. Used by both sides of the
// simulator bridge endpoints.
#include <QString>

#include <cstdint>

namespace qx {

class SeqPacketSocket {
public:
    SeqPacketSocket() = default;
    explicit SeqPacketSocket(int fd) : fd_(fd) {}  // takes ownership
    SeqPacketSocket(SeqPacketSocket &&other) noexcept;
    SeqPacketSocket &operator=(SeqPacketSocket &&other) noexcept;
    SeqPacketSocket(const SeqPacketSocket &) = delete;
    SeqPacketSocket &operator=(const SeqPacketSocket &) = delete;
    ~SeqPacketSocket();

    bool connectTo(const QString &path);
    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void close();

    // Sends one message; false when it could not go out within timeoutMs.
    bool send(const uint8_t *data, int length, int timeoutMs);
    // Receives one message into data; a longer message is cut to capacity.
    // Returns its length, or -1 on a time-out, an error or a closed peer.
    int receive(uint8_t *data, int capacity, int timeoutMs);

    int lastError() const { return lastError_; }

private:
    bool waitFor(short events, int timeoutMs);

    int fd_ = -1;
    int lastError_ = 0;
};

// Fills a sockaddr_un for path; false when the path does not fit.
bool UnixSocketAddress(const QString &path, void *sockaddrUn, unsigned &length);

} // namespace qx
