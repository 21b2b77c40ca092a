#include "transport/parallel_port.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace qx;

namespace {

// A port's registers with a log of every access. The chip's data line
// (status bit 6) follows the bits of `chipByte`, one per clock pulse.
struct FakePort final : PortIo {
    std::map<uint16_t, uint8_t> regs;
    struct Access { bool write; uint16_t address; uint8_t value; };
    std::vector<Access> log;
    uint16_t base = Lpt1Base;
    uint8_t chipByte = 0;
    int clocks = 0;

    uint8_t read(uint16_t a) override
    {
        uint8_t v = regs[a];
        if (a == base + 1)
            v = uint8_t((v & ~0x40) | (((chipByte >> (7 - ((clocks - 1) & 7))) & 1) << 6));
        log.push_back({false, a, v});
        return v;
    }
    void write(uint16_t a, uint8_t v) override
    {
        if (a == base + 2 && (v & 0x08) && !(regs[a] & 0x08))
            ++clocks;
        regs[a] = v;
        log.push_back({true, a, v});
    }
    std::vector<uint8_t> controlWrites() const
    {
        std::vector<uint8_t> out;
        for (const Access &x : log)
            if (x.write && x.address == base + 2)
                out.push_back(x.value);
        return out;
    }
};

struct FakeAccess final : PortAccess {
    bool direct = true;
    bool kernel = true;
    std::vector<uint16_t> directAsked, kernelAsked;
    FakePort *last = nullptr;
    std::map<uint16_t, uint8_t> initial;

    std::unique_ptr<PortIo> make(uint16_t base)
    {
        auto p = std::make_unique<FakePort>();
        p->base = base;
        p->regs = initial;
        last = p.get();
        return p;
    }
    std::unique_ptr<PortIo> openDirect(uint16_t base) override
    {
        directAsked.push_back(base);
        return direct ? make(base) : nullptr;
    }
    std::unique_ptr<PortIo> openKernelPort(uint16_t base) override
    {
        kernelAsked.push_back(base);
        return kernel ? make(base) : nullptr;
    }
};

} // namespace

TEST(ParallelPortBits, WriteByteSendsBitsMostSignificantFirstWithOneClockPulseEach)
{
    FakeAccess access;
    ParallelPort port(access);
    ASSERT_TRUE(port.ParallelOpen(Lpt1Base));
    access.last->regs[0x37A] = 0xC4;  // bits the frame operations must keep
    port.ParallelWriteByte(Lpt1Base, 0xA5);

    const std::vector<uint8_t> writes = access.last->controlWrites();
    ASSERT_EQ(writes.size(), 24u);
    const int bits[8] = {1, 0, 1, 0, 0, 1, 0, 1};
    for (int i = 0; i < 8; ++i) {
        const uint8_t set = writes[size_t(3 * i)], high = writes[size_t(3 * i + 1)], low = writes[size_t(3 * i + 2)];
        EXPECT_EQ(set & 0x01, bits[i]) << "bit " << i;
        EXPECT_EQ(set & 0x08, 0) << "bit " << i;
        EXPECT_EQ(high, set | 0x08) << "bit " << i;
        EXPECT_EQ(low, set) << "bit " << i;
        EXPECT_EQ(set & 0xFE, 0xC4) << "bit " << i;
    }
}

TEST(ParallelPortBits, ReadByteSamplesStatusBitSixWhileTheClockIsHigh)
{
    const uint8_t cases[] = {0xFF, 0x00, 0xA5, 0x01, 0x80};
    for (uint8_t chip : cases) {
        FakeAccess access;
        ParallelPort port(access);
        ASSERT_TRUE(port.ParallelOpen(Lpt1Base));
        access.last->chipByte = chip;
        access.last->regs[0x379] = 0xBF;  // every other status bit high
        EXPECT_EQ(port.ParallelReadByte(Lpt1Base), chip) << int(chip);
        const std::vector<uint8_t> writes = access.last->controlWrites();
        ASSERT_EQ(writes.size(), 16u);
        for (size_t i = 0; i < 16; i += 2) {
            EXPECT_EQ(writes[i] & 0x08, 0x08);
            EXPECT_EQ(writes[i + 1] & 0x08, 0);
        }
    }
}

TEST(ParallelPortBits, BeginDropsTheFrameLineEndRaisesItDelayReadsData)
{
    FakeAccess access;
    ParallelPort port(access);
    ASSERT_TRUE(port.ParallelOpen(Lpt2Base));
    FakePort &p = *access.last;
    p.regs[0x27A] = 0xF9;
    port.ParallelBegin(Lpt2Base);
    EXPECT_EQ(p.controlWrites(), (std::vector<uint8_t>{0xF2, 0xF0}));
    port.ParallelEnd(Lpt2Base);
    EXPECT_EQ(p.controlWrites().back(), 0xF2);

    p.log.clear();
    port.ParallelDelay(Lpt2Base, 1000);
    ASSERT_EQ(p.log.size(), 1001u);
    for (const auto &x : p.log)
        EXPECT_TRUE(!x.write && x.address == Lpt2Base);
}

TEST(ParallelPortInit, KnownBasesGetByteModeDataZeroAndFrameLineHigh)
{
    for (uint16_t base : {Lpt1Base, Lpt2Base, Prn1Base}) {
        FakeAccess access;
        access.initial = {{uint16_t(base + 0x402), 0xF5}, {base, 0x3C}, {uint16_t(base + 2), 0xFF}};
        ParallelPort port(access);
        port.ParallelInit(base);
        ASSERT_TRUE(access.last);
        EXPECT_EQ(access.last->regs[uint16_t(base + 0x402)], 0x35) << base;
        EXPECT_EQ(access.last->regs[base], 0x00) << base;
        EXPECT_EQ(access.last->regs[uint16_t(base + 2)], 0xD6) << base;
    }
    FakeAccess access;
    ParallelPort port(access);
    port.ParallelInit(0x3F8);
    ASSERT_TRUE(access.last);
    EXPECT_TRUE(access.last->log.empty());
}

TEST(ParallelPortOpen, FirstOpenFixesTheModeAndADeadPortIsNotReachable)
{
    // Direct access refused: the kernel driver serves this and every later port.
    FakeAccess access;
    access.direct = false;
    ParallelPort port(access);
    ASSERT_TRUE(port.ParallelOpen(Lpt1Base));
    EXPECT_EQ(port.mode(), ParallelPort::Mode::KernelDriver);
    access.direct = true;
    ASSERT_TRUE(port.ParallelOpen(Prn1Base));
    EXPECT_EQ(access.directAsked, (std::vector<uint16_t>{Lpt1Base}));
    EXPECT_EQ(access.kernelAsked, (std::vector<uint16_t>{Lpt1Base, Prn1Base}));

    // Neither way works: not reachable, and the registers are left alone.
    FakeAccess none;
    none.direct = none.kernel = false;
    ParallelPort dead(none);
    EXPECT_FALSE(dead.reachable());
    EXPECT_EQ(dead.PortRead(0x379), 0x79);
    dead.ParallelInit(Lpt1Base);
    dead.ParallelWriteByte(Lpt1Base, 0xA5);
    EXPECT_FALSE(none.last);
    // The port turns up later (adapter plugged in, permission granted).
    none.kernel = true;
    EXPECT_TRUE(dead.reachable());
}
