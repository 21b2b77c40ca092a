#include "sim/bridge_endpoint_server.h"

#include "core/clock.h"
#include "transport/seqpacket_socket.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace qx::sim {

namespace {

constexpr int HidData = 64;

QString errnoText(const char *what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

bool PrepareEndpointDir(const QString &dir, QString &error)
{
    if (QFileInfo(dir).isDir())
        return true;
    const QString parent = QFileInfo(dir).absolutePath();
    if (!QDir().mkpath(parent)) {
        error = QStringLiteral("cannot create %1").arg(parent);
        return false;
    }
    if (::mkdir(QFile::encodeName(dir).constData(), 0700) != 0 && errno != EEXIST) {
        error = errnoText(QFile::encodeName(dir).constData());
        return false;
    }
    return true;
}

BridgeEndpointServer::BridgeEndpointServer(QString socketPath, simwire::Hello hello, Exchange exchange)
    : path_(std::move(socketPath)), hello_(hello), exchange_(std::move(exchange))
{
}

BridgeEndpointServer::~BridgeEndpointServer() { stop(); }

bool BridgeEndpointServer::start(QString &error)
{
    sockaddr_un addr;
    unsigned length = 0;
    if (!UnixSocketAddress(path_, &addr, length)) {
        error = QStringLiteral("socket path too long: %1").arg(path_);
        return false;
    }
    if (QFileInfo::exists(path_)) {
        SeqPacketSocket probe;
        if (probe.connectTo(path_)) {
            error = QStringLiteral("%1 is served by another program").arg(path_);
            return false;
        }
        ::unlink(QFile::encodeName(path_).constData());
    }
    listenFd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error = errnoText("socket");
        return false;
    }
    if (::bind(listenFd_, reinterpret_cast<sockaddr *>(&addr), socklen_t(length)) != 0
        || ::listen(listenFd_, 4) != 0 || ::pipe2(wakeFds_, O_CLOEXEC) != 0) {
        error = errnoText(QFile::encodeName(path_).constData());
        stop();
        return false;
    }
    thread_ = std::thread([this] { run(); });
    return true;
}

void BridgeEndpointServer::stop()
{
    if (thread_.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFds_[1], &wake, 1);
        thread_.join();
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(QFile::encodeName(path_).constData());
    }
    listenFd_ = -1;
    for (int &fd : wakeFds_) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void BridgeEndpointServer::pace()
{
    if (clock_ && latencyMs_ > 0)
        clock_->sleepMs(latencyMs_);
}

void BridgeEndpointServer::run()
{
    for (;;) {
        pollfd p[2] = {{listenFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (p[1].revents)
            return;
        if (!(p[0].revents & POLLIN))
            continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        // A host that stops reading cannot hold the server up for long.
        const timeval sendLimit{1, 0};
        ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
        ++connections_;
        serve(client);
        ::close(client);
    }
}

// Serves one host until it hangs up or the server stops.
void BridgeEndpointServer::serve(int client)
{
    const std::vector<uint8_t> hello = simwire::EncodeHello(hello_);
    if (::send(client, hello.data(), hello.size(), MSG_NOSIGNAL) != ssize_t(hello.size()))
        return;
    uint8_t request[simwire::MaxMessage];
    for (;;) {
        pollfd p[2] = {{client, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (p[1].revents || !(p[0].revents & POLLIN))
            return;
        const ssize_t n = ::recv(client, request, sizeof request, 0);
        if (n <= 0)
            return;
        pace();
        std::span<const uint8_t> in(request, size_t(n));
        if (hello_.hid)
            in = in.subspan(std::min<size_t>(1, in.size()));  // drop the report id
        std::optional<std::vector<uint8_t>> answer = exchange_(in);
        if (!answer)
            continue;
        std::vector<uint8_t> out;
        if (hello_.hid) {
            out.assign(1 + HidData, 0);
            std::copy_n(answer->begin(), std::min<size_t>(HidData, answer->size()), out.begin() + 1);
        } else {
            out = std::move(*answer);
            if (out.size() > size_t(simwire::MaxMessage))
                out.resize(size_t(simwire::MaxMessage));
        }
        if (out.empty())
            continue;  // an empty message would read as a hang-up
        pace();
        if (::send(client, out.data(), out.size(), MSG_NOSIGNAL) != ssize_t(out.size()))
            return;
    }
}

} // namespace qx::sim
