// RS232 frames over a fake port whose peer is the simulator's protocol:
// the handshake, the frames, the waits and the status texts.
#include "sim/rs232_protocol.h"
#include "support/chip_bench.h"
#include "support/fake_serial_port.h"
#include "transport/serial_port_io.h"

#include <gtest/gtest.h>

using namespace qx;
using Bytes = std::vector<uint8_t>;

namespace {

struct SerialBench : test::ChipBench {
    SerialBench()
    {
        dev().InterfaceType = uint16_t(InterfaceKind::RS232);
        dev().Serial.Handle = port;
        dev().Serial.IsOpen = 1;
        port->peer = [this](const uint8_t *d, int n) { return protocol.feed(d, n); };
    }
    std::shared_ptr<test::FakeSerialPort> port = std::make_shared<test::FakeSerialPort>();
    sim::Rs232Protocol protocol{chip};
};

} // namespace

TEST(Rs232Frames, ReadAndWrite)
{
    SerialBench b;
    ASSERT_TRUE(b.up.ReadChipBlock(0x110, 4));
    EXPECT_EQ(Bytes(b.fb(), b.fb() + 4), b.chip.readBlock(0x110, 4));
    EXPECT_EQ(b.clock.nowMs(), 100);  // the chip's pace after a read

    b.fb()[5] = 0x12;
    b.fb()[6] = 0x34;
    ASSERT_TRUE(b.up.WriteChipBlock(0x020, 2));
    EXPECT_EQ(b.chip.readBlock(0x020, 2), (Bytes{0x12, 0x34}));
    EXPECT_EQ(b.clock.nowMs(), 200);

    EXPECT_EQ(b.port->writes, (std::vector<Bytes>{{0x55}, {0xC0, 0x10, 0x01, 0x04}, {0x55}, {0x40, 0x20, 0x00, 0x02, 0x12, 0x34}}));
    EXPECT_EQ(b.protocol.frames().size(), 4u);
}

TEST(Rs232Frames, SilentPortTriesTheHandshakeThreeTimesAndSendsNoReadFrame)
{
    SerialBench b;
    b.protocol.setSilent(true);
    EXPECT_FALSE(b.up.ReadChipBlock(0x10, 1));
    EXPECT_EQ(b.port->writes, (std::vector<Bytes>{{0x55}, {0x55}, {0x55}}));
    // three times: up to 100 ms for the answer, then 4 s
    EXPECT_GE(b.clock.nowMs(), 3 * 4100);
    EXPECT_LE(b.clock.nowMs(), 3 * 4100 + 10);

    b.port->writes.clear();
    const int64_t start = b.clock.nowMs();
    b.fb()[5] = 1;
    EXPECT_FALSE(b.up.WriteChipBlock(0x10, 1));  // a write tries once
    EXPECT_EQ(b.port->writes, (std::vector<Bytes>{{0x55}}));
    EXPECT_GE(b.clock.nowMs() - start, 4100);
    EXPECT_LE(b.clock.nowMs() - start, 4110);
}

TEST(Rs232Frames, ClosedPortFailsWithoutTraffic)
{
    SerialBench b;
    b.dev().Serial.IsOpen = 0;
    EXPECT_FALSE(b.up.ReadChipBlock(0, 1));
    EXPECT_FALSE(b.up.WriteChipBlock(0, 1));
    EXPECT_TRUE(b.port->writes.empty());
    EXPECT_EQ(b.clock.nowMs(), 0);
}

TEST(Rs232Frames, LineErrorTexts)
{
    struct Case {
        uint32_t errors;
        const char *text;
    };
    for (const Case c : {Case{LineError::Parity, "Parity Fail"}, Case{LineError::Framing, "Other Err"},
                         Case{LineError::Parity | LineError::Overrun, "Other Err"}, Case{0, ""}}) {
        SerialBench b;
        b.bench.status.text[1] = "old";
        // The error arrives with the read data.
        b.port->peer = [&b, c](const uint8_t *d, int n) {
            if (d[0] == 0xC0)
                b.port->pendingErrors = c.errors;
            return b.protocol.feed(d, n);
        };
        EXPECT_TRUE(b.up.ReadChipBlock(0, 2));
        EXPECT_EQ(b.bench.status.text[1], c.text) << c.errors;
    }
}

TEST(Rs232Frames, ParityErrorOnTheHandshakeIsShown)
{
    SerialBench b;
    b.port->peer = [&b](const uint8_t *d, int n) {
        if (d[0] == 0x55)
            b.port->pendingErrors = LineError::Parity;
        return b.protocol.feed(d, n);
    };
    b.fb()[5] = 7;
    EXPECT_TRUE(b.up.WriteChipBlock(0x30, 1));
    EXPECT_EQ(b.bench.status.text[1], "Parity Fail");
}

TEST(Rs232Frames, NoDataOrTooLittleDataFails)
{
    SerialBench b;
    // The chip shakes hands but never answers the read frame.
    b.port->peer = [](const uint8_t *d, int) { return d[0] == 0x55 ? Bytes{0xAA} : Bytes{}; };
    EXPECT_FALSE(b.up.ReadChipBlock(0, 4));
    EXPECT_EQ(b.bench.status.text[1], "Data Empty");
    EXPECT_GE(b.clock.nowMs(), 8000);  // 4 s for the data, then 4 s

    // Two of four bytes: the rest of the buffer would be stale.
    b.port->peer = [](const uint8_t *d, int) { return d[0] == 0x55 ? Bytes{0xAA} : Bytes{1, 2}; };
    EXPECT_FALSE(b.up.ReadChipBlock(0, 4));
    EXPECT_EQ(b.bench.status.text[1], "Data Short");
}

TEST(Rs232Frames, ChattyPeerNeverRunsPastTheFrameBuffer)
{
    SerialBench b;
    b.protocol.setExtraReadBytes(400);
    b.bench.FrameBuffer.fill(0x5C);
    ASSERT_TRUE(b.up.ReadChipBlock(0x100, 8));
    EXPECT_EQ(Bytes(b.fb(), b.fb() + 8), b.chip.readBlock(0x100, 8));
    for (size_t i = 8; i < b.bench.FrameBuffer.size(); ++i)
        ASSERT_EQ(b.bench.FrameBuffer[i], 0x5C) << i;
    EXPECT_TRUE(b.port->rx.empty());  // the surplus was taken off the line

    // A long answer to the hello must not disturb data waiting at [5..].
    b.port->peer = [&b](const uint8_t *d, int n) {
        return d[0] == 0x55 && n == 1 ? Bytes(300, 0xAA) : b.protocol.feed(d, n);
    };
    b.fb()[5] = 0x42;
    ASSERT_TRUE(b.up.WriteChipBlock(0x50, 1));
    EXPECT_EQ(b.chip.read(0x50), 0x42);
}

TEST(Rs232Frames, WriteWithoutAcknowledgementFails)
{
    SerialBench b;
    b.port->peer = [](const uint8_t *d, int) { return d[0] == 0x55 ? Bytes{0xAA} : Bytes{}; };
    b.fb()[5] = 1;
    EXPECT_FALSE(b.up.WriteChipBlock(0x10, 1));
    EXPECT_GE(b.clock.nowMs(), 200);  // 100 ms for the answer, then 100 ms
    EXPECT_LE(b.clock.nowMs(), 210);
    b.port->peer = [](const uint8_t *d, int) { return d[0] == 0x55 ? Bytes{0xAA} : Bytes{0x55}; };
    EXPECT_FALSE(b.up.WriteChipBlock(0x10, 1));
}
