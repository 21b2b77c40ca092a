// The bridge search and report moves against real endpoint sockets, served
// by the simulator's endpoint server on its own thread.
#include "fake_bridge.h"

#include "sim/bridge_endpoint_server.h"
#include "sim/bridge_model.h"
#include "sim/sim_chip.h"
#include "support/temp_dir.h"
#include "transport/seqpacket_socket.h"
#include "transport/system_usb_transport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qx;
using namespace qx::test;

namespace {

simwire::Hello BulkHello(uint16_t vendor = BulkVendorId)
{
    simwire::Hello h;
    h.bulk.deviceDescriptor = simwire::DeviceDescriptor(vendor, BulkProductId, 0x0100);
    h.bulk.in = {64, 0x82};
    h.bulk.out = {64, 0x02};
    return h;
}

simwire::Hello HidHello()
{
    simwire::Hello h;
    h.hid = true;
    h.attrs = {HidVendorId, HidProductId, HidVersion, 65, 65};
    return h;
}

// A board behind the socket: the fake board's bridge commands, and for a
// chip frame an answer of 100 counting bytes (none when silent).
struct Board {
    std::mutex mutex;
    FakeBoard fake;
    bool silent = false;
    std::vector<Bytes> requests;

    sim::BridgeEndpointServer::Exchange exchange()
    {
        return [this](std::span<const uint8_t> r) -> std::optional<Bytes> {
            std::lock_guard lock(mutex);
            Bytes request(r.begin(), r.end());
            requests.push_back(request);
            if (!request.empty() && request[0] == 0xB1) {
                if (silent)
                    return std::nullopt;
                Bytes a(100);
                for (size_t i = 0; i < a.size(); ++i)
                    a[i] = uint8_t(i + 1);
                return a;
            }
            return fake.answer(request);
        };
    }
};

struct Endpoint {
    TempDir dir;
    Board board;
    std::unique_ptr<sim::BridgeEndpointServer> server;
    std::unique_ptr<UsbTransport> transport = MakeSimulatorUsbTransport(dir.path());
    Devc devc;

    Endpoint(const QString &name, const simwire::Hello &hello)
    {
        server = std::make_unique<sim::BridgeEndpointServer>(dir.file(name), hello, board.exchange());
        QString error;
        EXPECT_TRUE(server->start(error)) << error.toStdString();
        transport->setCommands(BridgeCommands(*transport));
    }
};

} // namespace

TEST(BridgeEndpoint, BulkAndHidBridgesAreFoundAssignedAndReleased)
{
    struct Case { const char *name; simwire::Hello hello; int answerBytes; };
    const Case cases[] = {{"QxUSB-0", BulkHello(), 3}, {"QxHID-0", HidHello(), 64}};
    for (const Case &c : cases) {
        Endpoint e(c.name, c.hello);
        uint8_t status = 0;
        ASSERT_TRUE(e.transport->UsbOpen(e.devc, status)) << c.name;
        EXPECT_EQ(status, 1) << c.name;
        EXPECT_EQ(e.transport->HidMode, c.hello.hid ? 1 : 0) << c.name;
        EXPECT_EQ(e.devc.DeviceName, c.hello.hid ? "" : "QxUSB-0") << c.name;
        ASSERT_TRUE(e.transport->UsbOpen(e.devc, status)) << c.name;
        EXPECT_EQ(status, 0) << c.name << ": identify over the socket";

        uint8_t frame[FrameBufferSize] = {0xB1, 0xC0, 0x10, 0x00, 0x03};
        std::memset(frame + 5, 0xCC, sizeof frame - 5);
        ASSERT_TRUE(e.transport->UsbWriteReport(e.devc, frame, 5)) << c.name;
        ASSERT_TRUE(e.transport->UsbReadReport(e.devc, frame, 3)) << c.name;
        for (int i = 0; i < c.answerBytes; ++i)
            EXPECT_EQ(frame[i], i + 1) << c.name << " byte " << i;
        EXPECT_EQ(frame[c.answerBytes], c.hello.hid ? 0xCC : 0x00) << c.name << ": wrote past the answer";
        {
            std::lock_guard lock(e.board.mutex);
            EXPECT_EQ(Head(e.board.requests.back(), 5), (Bytes{0xB1, 0xC0, 0x10, 0x00, 0x03})) << c.name;
            EXPECT_EQ(e.board.requests.back().size(), c.hello.hid ? 64u : 5u) << c.name;
        }

        // Released: the board keeps its number, so a new search rejects it.
        e.transport->UsbClose(e.devc);
        EXPECT_FALSE(e.transport->UsbOpen(e.devc, status)) << c.name;
        EXPECT_EQ(e.server->connectionsServed(), 2) << c.name;
    }
}

TEST(BridgeEndpoint, SilentBridgeFailsTheReadWithinItsBoundAndCloses)
{
    Endpoint e("QxUSB-0", BulkHello());
    uint8_t status = 0;
    ASSERT_TRUE(e.transport->UsbOpen(e.devc, status));
    {
        std::lock_guard lock(e.board.mutex);
        e.board.silent = true;
    }
    static_cast<UsbBridge &>(*e.transport).TransferTimeoutMs = 50;
    uint8_t frame[FrameBufferSize] = {0xB1, 0xC0, 0x10, 0x00, 0x01};
    ASSERT_TRUE(e.transport->UsbWriteReport(e.devc, frame, 5));
    EXPECT_FALSE(e.transport->UsbReadReport(e.devc, frame, 1));
    EXPECT_EQ(e.devc.Connected, 0);
    EXPECT_FALSE(e.devc.Handle);
}

TEST(BridgeEndpoint, SocketsThatAreNotABridgeOfTheirKindAreSkipped)
{
    struct Case { const char *what; const char *name; simwire::Hello hello; };
    const Case cases[] = {
        {"HID hello on a bulk name", "QxUSB-0", HidHello()},
        {"bulk hello on a HID name", "QxHID-0", BulkHello()},
        {"bulk bridge with foreign ids", "QxUSB-0", BulkHello(0x1234)},
    };
    for (const Case &c : cases) {
        Endpoint e(c.name, c.hello);
        uint8_t status = 0;
        EXPECT_FALSE(e.transport->UsbOpen(e.devc, status)) << c.what;
        EXPECT_EQ(status, 0xFF) << c.what;
        std::lock_guard lock(e.board.mutex);
        EXPECT_TRUE(e.board.requests.empty()) << c.what;
    }
}

TEST(BridgeEndpoint, ServerReplacesAStaleSocketRefusesALiveOneAndCleansUp)
{
    TempDir dir;
    const QString path = dir.file("QxUSB-0");
    {
        // A socket file left behind by a server that died.
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un addr;
        unsigned length = 0;
        ASSERT_TRUE(UnixSocketAddress(path, &addr, length));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), length), 0);
        ::close(fd);
    }
    Board board;
    sim::BridgeEndpointServer first(path, BulkHello(), board.exchange());
    QString error;
    ASSERT_TRUE(first.start(error)) << error.toStdString();
    sim::BridgeEndpointServer second(path, BulkHello(), board.exchange());
    EXPECT_FALSE(second.start(error));
    first.stop();
    EXPECT_FALSE(QFileInfo::exists(path));

    const QString fresh = dir.file("run/qxbench");
    ASSERT_TRUE(sim::PrepareEndpointDir(fresh, error)) << error.toStdString();
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// Every bridge command and the chip frames of each bridge interface type go
// through the socket unchanged: the answers match those of a twin bridge
// model that is fed the same requests directly.
TEST(BridgeEndpoint, EveryBridgeCommandAndChipFrameCrossesTheSocket)
{
    struct Step { Bytes request; int readLength; };
    const Step steps[] = {
        {{0xF9, 0xAC}, 8},                                  // identify
        {{0xF9, 0x05, 0, 0, 0, 0, 0, 0}, 8},                // version
        {{0xF9, 0x10, 0x01}, 8},                            // DMM power on
        {{0xB5, 0x01, 0x01}, 1}, {{0xB5, 0x01, 0x00}, 1}, {{0xB5, 0x01, 0x01}, 1},  // reset pulse
        {{0xB5, 0x07, 0x00}, 4},                            // status
        {{0xC0, 0x00, 0x00, 0x06, 0x81, 0x02}, 1},          // UART link set-up
        {{0xC3, 0x00, 0x01, 0x01, 0x0F}, 64},               // interrupt stream set-up
        {{0xC3, 0x01}, 64},                                 // interrupt stream read
        {{0xB1, 0x40, 0x10, 0x00, 0x01, 0x5A}, 1},          // SPI write / read
        {{0xB1, 0xC0, 0x10, 0x00, 0x01}, 1},
        {{0xBC, 0xC0, 0x10, 0x00, 0x02}, 2},                // SPI, isolated
        {{0xBA, 0x08, 0xA5, 0x01, 0x01, 0x77}, 1},          // Special write / read at 0x2A5
        {{0xBA, 0x88, 0xA5, 0x01, 0x01}, 1},
        {{0xC1, 0x00, 0x20, 0x00, 0x01, 0x33}, 1},          // UART write / read
        {{0xC1, 0x80, 0x20, 0x00, 0x01}, 2},
        {{0xC2, 0x00, 0x24, 0x01, 0x44}, 1},                // DMM register 0x12 write / read
        {{0xC2, 0x00, 0x25, 0x01}, 1},
        {{0xF9, 0x01, 0xFF, 0xFF}, 8},                      // release
    };
    for (const bool hid : {false, true}) {
        sim::SimChip chip, twinChip;
        sim::BridgeModel model(chip), twin(twinChip);
        TempDir dir;
        const simwire::Hello hello = hid ? HidHello() : BulkHello();
        sim::BridgeEndpointServer server(dir.file(hid ? "QxHID-0" : "QxUSB-0"), hello,
                                         [&model](std::span<const uint8_t> r) { return model.exchange(r); });
        QString error;
        ASSERT_TRUE(server.start(error)) << error.toStdString();
        auto transport = MakeSimulatorUsbTransport(dir.path());
        transport->setCommands(BridgeCommands(*transport));
        Devc devc;
        uint8_t status = 0;
        ASSERT_TRUE(transport->UsbOpen(devc, status)) << hid;
        for (const Bytes &r : model.requests())
            twin.exchange(r);

        for (const Step &s : steps) {
            uint8_t frame[FrameBufferSize] = {};
            std::copy(s.request.begin(), s.request.end(), frame);
            Bytes sent = hid ? Bytes(frame, frame + 64) : s.request;
            const auto expected = twin.exchange(sent);
            ASSERT_TRUE(expected) << hid << " " << int(s.request[0]);
            ASSERT_TRUE(transport->UsbWriteReport(devc, frame, int(s.request.size())));
            std::fill(std::begin(frame), std::end(frame), uint8_t(0xCC));
            ASSERT_TRUE(transport->UsbReadReport(devc, frame, s.readLength)) << hid << " " << int(s.request[0]);
            const size_t got = hid ? 64 : size_t(s.readLength);
            Bytes want = *expected;
            want.resize(got, hid ? 0 : 0xCC);
            EXPECT_EQ(Bytes(frame, frame + got), want) << (hid ? "HID " : "bulk ") << int(s.request[0]) << " "
                                                       << int(s.request[1]);
            EXPECT_EQ(model.requests().back(), sent);
        }
        EXPECT_EQ(model.bridgeNumber(), 0xFFFF);
        EXPECT_TRUE(model.dmmPowered());
    }
}
