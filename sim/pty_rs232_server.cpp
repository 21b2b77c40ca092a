#include "sim/pty_rs232_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace qx::sim {

PtyRs232Server::~PtyRs232Server()
{
    stop();
    if (slaveHold_ >= 0)
        ::close(slaveHold_);
    if (master_ >= 0)
        ::close(master_);
}

bool PtyRs232Server::open()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return false;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return false;
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0)
        return false;
    slavePath_ = name;
    slaveHold_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveHold_ < 0)
        return false;
    // Raw line: no echo of our answers back to us, no byte translation.
    termios t{};
    if (::tcgetattr(slaveHold_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(slaveHold_, TCSANOW, &t);
    }
    return true;
}

int PtyRs232Server::pump(int timeoutMs)
{
    if (master_ < 0)
        return -1;
    pollfd p{master_, POLLIN, 0};
    const int r = ::poll(&p, 1, timeoutMs);
    if (r <= 0 || !(p.revents & POLLIN))
        return r < 0 && errno != EINTR ? -1 : 0;
    uint8_t buf[512];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0)
        return 0;
    const std::vector<uint8_t> answer = protocol_.feed(buf, int(n));
    size_t sent = 0;
    while (sent < answer.size()) {
        const ssize_t w = ::write(master_, answer.data() + sent, answer.size() - sent);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            break;
        sent += size_t(w);
    }
    return int(n);
}

void PtyRs232Server::start()
{
    if (running_.exchange(true))
        return;
    thread_ = std::thread([this] {
        while (running_.load())
            pump(10);
    });
}

void PtyRs232Server::stop()
{
    if (!running_.exchange(false))
        return;
    if (thread_.joinable())
        thread_.join();
}

} // namespace qx::sim
