#include "transport/seqpacket_socket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace qx {

bool UnixSocketAddress(const QString &path, void *sockaddrUn, unsigned &length)
{
    auto *addr = static_cast<sockaddr_un *>(sockaddrUn);
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    const QByteArray bytes = path.toLocal8Bit();
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof addr->sun_path)
        return false;
    std::memcpy(addr->sun_path, bytes.constData(), size_t(bytes.size()));
    length = unsigned(offsetof(sockaddr_un, sun_path) + size_t(bytes.size()) + 1);
    return true;
}

SeqPacketSocket::SeqPacketSocket(SeqPacketSocket &&other) noexcept
    : fd_(other.fd_), lastError_(other.lastError_)
{
    other.fd_ = -1;
}

SeqPacketSocket &SeqPacketSocket::operator=(SeqPacketSocket &&other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.fd_;
        lastError_ = other.lastError_;
        other.fd_ = -1;
    }
    return *this;
}

SeqPacketSocket::~SeqPacketSocket() { close(); }

void SeqPacketSocket::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool SeqPacketSocket::connectTo(const QString &path)
{
    close();
    sockaddr_un addr;
    unsigned length = 0;
    if (!UnixSocketAddress(path, &addr, length)) {
        lastError_ = ENAMETOOLONG;
        return false;
    }
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        lastError_ = errno;
        return false;
    }
    // A local connect completes at once or fails (EAGAIN: backlog full).
    if (::connect(fd_, reinterpret_cast<sockaddr *>(&addr), socklen_t(length)) != 0) {
        lastError_ = errno;
        close();
        return false;
    }
    return true;
}

// Waits for readiness, at most timeoutMs in total even when signals
// interrupt the wait.
bool SeqPacketSocket::waitFor(short events, int timeoutMs)
{
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        pollfd p{fd_, events, 0};
        const int r = ::poll(&p, 1, int(std::max<int64_t>(0, left)));
        if (r > 0) {
            if (p.revents & events)
                return true;
            lastError_ = (p.revents & POLLHUP) ? EPIPE : EIO;
            return false;
        }
        if (r == 0) {
            lastError_ = ETIMEDOUT;
            return false;
        }
        if (errno != EINTR) {
            lastError_ = errno;
            return false;
        }
    }
}

bool SeqPacketSocket::send(const uint8_t *data, int length, int timeoutMs)
{
    if (fd_ < 0 || length < 0)
        return false;
    if (!waitFor(POLLOUT, timeoutMs))
        return false;
    const ssize_t n = ::send(fd_, data, size_t(length), MSG_NOSIGNAL);
    if (n != length) {
        lastError_ = n < 0 ? errno : EMSGSIZE;
        return false;
    }
    return true;
}

int SeqPacketSocket::receive(uint8_t *data, int capacity, int timeoutMs)
{
    if (fd_ < 0 || capacity < 0)
        return -1;
    if (!waitFor(POLLIN, timeoutMs))
        return -1;
    const ssize_t n = ::recv(fd_, data, size_t(capacity), 0);
    if (n < 0) {
        lastError_ = errno;
        return -1;
    }
    if (n == 0 && capacity > 0) {
        // An empty read is the peer's end: endpoints never send empty messages.
        lastError_ = EPIPE;
        return -1;
    }
    return int(n);
}

} // namespace qx
