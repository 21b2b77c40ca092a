// The chip frames of the USB interfaces, byte by byte as the bridge
// receives them, and what reaches the chip.
#include "support/chip_bench.h"

#include <gtest/gtest.h>

using namespace qx;
using Bytes = std::vector<uint8_t>;

namespace {

struct FrameCase {
    const char *name;
    InterfaceKind kind;
    bool opto;
    const char *model;
    bool write;
    int address;
    Bytes data;        // write: the bytes; read: size gives the count
    Bytes request;     // as the bridge receives it
    int chipAddress;   // where the chip served or stored the bytes
};

const FrameCase cases[] = {
    {"SpiRead", InterfaceKind::SPI, false, "QX7020", false, 0x123, Bytes(2), {0xB1, 0xC0, 0x23, 0x01, 0x02}, 0x123},
    {"SpiReadIsolated", InterfaceKind::SPI, true, "QX7020", false, 0x123, Bytes(2), {0xBC, 0xC0, 0x23, 0x01, 0x02}, 0x123},
    {"SpiWrite", InterfaceKind::SPI, false, "QX7020", true, 0x045, {0x5A}, {0xB1, 0x40, 0x45, 0x00, 0x01, 0x5A}, 0x045},
    {"SpiWriteIsolated", InterfaceKind::SPI, true, "QX7020", true, 0x345, {0x5A, 0xA5},
     {0xBC, 0x40, 0x45, 0x03, 0x02, 0x5A, 0xA5}, 0x345},
    // b1 = 0x80 | ((0x02 << 2) & 0x7C) = 0x88
    {"SpecialRead", InterfaceKind::Special, false, "QX7020", false, 0x2A5, Bytes(1), {0xBA, 0x88, 0xA5, 0x01, 0x01}, 0x2A5},
    // the MP parts take no high address bits at all
    {"SpecialReadMP202", InterfaceKind::Special, false, "MP202", false, 0x2A5, Bytes(1), {0xBA, 0xC0, 0xA5, 0x01, 0x01}, 0x0A5},
    {"SpecialReadMP521Isolated", InterfaceKind::Special, true, "MP521", false, 0x2A5, Bytes(3),
     {0xBE, 0xC0, 0xA5, 0x03, 0x03}, 0x0A5},
    {"SpecialWrite", InterfaceKind::Special, false, "QX7020", true, 0x2A5, {0x11}, {0xBA, 0x08, 0xA5, 0x01, 0x01, 0x11}, 0x2A5},
    {"SpecialWriteMP202", InterfaceKind::Special, false, "MP202", true, 0x2A5, {0x11}, {0xBA, 0x40, 0xA5, 0x01, 0x01, 0x11}, 0x0A5},
    {"SpecialWriteIsolated", InterfaceKind::Special, true, "MP20", true, 0x1A5, {0x22}, {0xBE, 0x04, 0xA5, 0x01, 0x01, 0x22}, 0x1A5},
    {"UartRead", InterfaceKind::UART, true, "QX7020", false, 0x010, Bytes(3), {0xC1, 0x80, 0x10, 0x00, 0x03}, 0x010},
    {"UartWrite", InterfaceKind::UART, true, "QX7020", true, 0x210, {0x77}, {0xC1, 0x00, 0x10, 0x02, 0x01, 0x77}, 0x210},
    // the DMM front end addresses a 7-bit register: register byte = number * 2 | read
    {"DmmRead", InterfaceKind::DMM, false, "QX7020", false, 0x12, Bytes(1), {0xC2, 0x00, 0x25, 0x01}, 0x12},
    {"DmmReadIsolated", InterfaceKind::DMM, true, "QX7020", false, 0x12, Bytes(2), {0xC2, 0x01, 0x25, 0x02}, 0x12},
    {"DmmWrite", InterfaceKind::DMM, false, "QX7020", true, 0x12, {0x33}, {0xC2, 0x00, 0x24, 0x01, 0x33}, 0x12},
    {"DmmWriteIsolated", InterfaceKind::DMM, true, "QX7020", true, 0x7F, {0x33, 0x44}, {0xC2, 0x01, 0xFE, 0x02, 0x33, 0x44}, 0x7F},
};

void PrintTo(const FrameCase &c, std::ostream *os) { *os << c.name; }

class UsbFrames : public ::testing::TestWithParam<FrameCase> {};

} // namespace

TEST_P(UsbFrames, BytesOnTheWireAndAtTheChip)
{
    const FrameCase &c = GetParam();
    test::ChipBench b;
    b.bench.chip.desc.productName = c.model;
    ASSERT_TRUE(b.use(c.kind, c.opto));
    if (c.kind == InterfaceKind::UART) {
        ASSERT_TRUE(b.up.UartLinkSetup());
        b.bridge.clearRequests();
    }
    const int count = int(c.data.size());
    const int64_t start = b.clock.nowMs();
    if (c.write) {
        const size_t at = c.kind == InterfaceKind::DMM ? 4 : 5;
        std::copy(c.data.begin(), c.data.end(), b.fb() + at);
        ASSERT_TRUE(b.up.WriteChipBlock(c.address, count));
        EXPECT_EQ(b.chip.readBlock(c.chipAddress, count), c.data);
    } else {
        ASSERT_TRUE(b.up.ReadChipBlock(c.address, count));
        EXPECT_EQ(Bytes(b.fb(), b.fb() + count), b.chip.readBlock(c.chipAddress, count));
    }
    ASSERT_EQ(b.bridge.requests().size(), 1u);
    EXPECT_EQ(b.bridge.requests()[0], c.request);
    // USB frames pace the chip with 50 ms after the transfer; DMM frames do not wait.
    EXPECT_EQ(b.clock.nowMs() - start, c.kind == InterfaceKind::DMM ? 0 : 50);
}

INSTANTIATE_TEST_SUITE_P(Table, UsbFrames, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(UsbFrames, SpiReadWhileDisconnectedSendsNothingButAWriteIsTried)
{
    test::ChipBench b;
    b.dev().InterfaceType = uint16_t(InterfaceKind::SPI);
    EXPECT_FALSE(b.up.ReadChipBlock(0x10, 1));
    EXPECT_EQ(b.usb.writeAttempts(), 0);
    b.fb()[5] = 1;
    EXPECT_FALSE(b.up.WriteChipBlock(0x10, 1));
    EXPECT_EQ(b.usb.writeAttempts(), 1);
    EXPECT_TRUE(b.bridge.requests().empty());  // no bridge to receive it
}

TEST(UsbFrames, UartAnswerMustCarryItsEndMarks)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::UART));
    // Without the relay set up the bridge answers, but without FA / AA.
    EXPECT_FALSE(b.up.ReadChipBlock(0x10, 2));
    b.fb()[5] = 9;
    EXPECT_FALSE(b.up.WriteChipBlock(0x10, 1));
    EXPECT_NE(b.chip.read(0x10), 9);
}

TEST(UsbFrames, FailedTransferClosesTheBridge)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::DMM));
    b.bridge.setSilent(true);
    EXPECT_FALSE(b.up.ReadChipBlock(0x10, 1));
    EXPECT_FALSE(b.dev().Usb.Connected);
    EXPECT_FALSE(b.dev().Usb.Handle);
}

TEST(UsbFrames, HidReportsAreAlways64BytesAndLongerFramesAreRefused)
{
    test::ChipBench b(sim::SimUsbTransport::Semantics::Hid);
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    EXPECT_EQ(b.usb.HidMode, 1);
    ASSERT_TRUE(b.up.ReadChipBlock(0x40, 3));
    ASSERT_EQ(b.bridge.requests().size(), 1u);
    const Bytes r = b.bridge.requests()[0];
    EXPECT_EQ(r.size(), 64u);
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 5), (Bytes{0xB1, 0xC0, 0x40, 0x00, 0x03}));
    EXPECT_EQ(Bytes(b.fb(), b.fb() + 3), b.chip.readBlock(0x40, 3));

    // 64 data bytes do not fit one report with their header, and a 65-byte
    // answer cannot come back in one: refused before any transfer.
    b.bridge.clearRequests();
    EXPECT_FALSE(b.up.WriteChipBlock(0x40, 64));
    EXPECT_FALSE(b.up.ReadChipBlock(0x40, 65));
    EXPECT_TRUE(b.bridge.requests().empty());
    EXPECT_TRUE(b.up.ReadChipBlock(0x40, 64));
}
