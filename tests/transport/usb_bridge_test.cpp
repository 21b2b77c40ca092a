#include "fake_bridge.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace qx;
using namespace qx::test;

namespace {

constexpr UsbPipe GoodIn{64, 0x81};
constexpr UsbPipe GoodOut{64, 0x01};
constexpr HidAttributes GoodHid{HidVendorId, HidProductId, HidVersion, 65, 65};

struct Rig {
    FakeBulkBackend *bulk = new FakeBulkBackend;
    FakeHidBackend *hid = new FakeHidBackend;
    UsbBridge bridge{std::unique_ptr<BulkBridgeBackend>(bulk), std::unique_ptr<HidBridgeBackend>(hid)};
    Devc devc;

    Rig() { bridge.setCommands(BridgeCommands(bridge)); }

    std::shared_ptr<FakeBoard> addBulk(int number, uint16_t vendor = BulkVendorId, uint16_t product = BulkProductId,
                                       UsbPipe in = GoodIn, UsbPipe out = GoodOut)
    {
        auto board = std::make_shared<FakeBoard>();
        bulk->devices[number] = std::make_shared<FakeBulkDevice>(board, vendor, product, in, out);
        return board;
    }
    std::shared_ptr<FakeBoard> addHid(int index, HidAttributes attrs = GoodHid)
    {
        auto board = std::make_shared<FakeBoard>();
        hid->devices[index] = std::make_shared<FakeHidDevice>(board, attrs);
        return board;
    }
    bool open(uint8_t &status) { return bridge.UsbOpen(devc, status); }
};

std::vector<int> Range(int n)
{
    std::vector<int> v(static_cast<size_t>(n));
    std::iota(v.begin(), v.end(), 0);
    return v;
}

} // namespace

TEST(UsbBridgeSearch, NoBridgeTriesEveryBulkNameThenEveryHidIndex)
{
    Rig rig;
    uint8_t status = 0;
    EXPECT_FALSE(rig.open(status));
    EXPECT_EQ(status, 0xFF);
    EXPECT_EQ(rig.bulk->asked, Range(BulkBridgeCount));
    EXPECT_EQ(rig.hid->asked, Range(HidBridgeCount));
    EXPECT_FALSE(rig.devc.Connected);
    EXPECT_FALSE(rig.devc.Handle);
    EXPECT_TRUE(rig.devc.DeviceName.isEmpty());
}

TEST(UsbBridgeSearch, BulkBridgeIsAssignedItsNumberAndInitialised)
{
    Rig rig;
    auto board = rig.addBulk(3);
    rig.addHid(0);
    uint8_t status = 0;
    ASSERT_TRUE(rig.open(status));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(rig.bulk->asked, Range(4));
    EXPECT_TRUE(rig.hid->asked.empty());
    EXPECT_EQ(rig.devc.DeviceName, "QxUSB-3");
    EXPECT_EQ(rig.devc.Connected, 1);
    EXPECT_EQ(rig.bridge.HidMode, 0);
    EXPECT_EQ(rig.devc.InPipe.Address, 0x81);
    EXPECT_EQ(rig.devc.OutPipe.Address, 0x01);
    // Setting 1 answers 0x0101 in the fake, which setting 4 then carries.
    const std::vector<Bytes> expected{
        {0xF9, 0x02, 0x00, 0x00}, {0xF9, 0x01, 0x03, 0x00}, {0xF9, 0x04, 0x01, 0x01},
        {0xC5, 0xFF, 0x01, 0x00}, {0xC5, 0xFF, 0x00, 0x00}};
    EXPECT_EQ(board->requests, expected);

    // Open and answering: the next UsbOpen only identifies it.
    board->requests.clear();
    ASSERT_TRUE(rig.open(status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(board->requests, (std::vector<Bytes>{{0xF9, 0xAC}}));
}

TEST(UsbBridgeSearch, RejectedBulkCandidatesAreReleasedAndTheSearchGoesOn)
{
    struct Case {
        const char *what;
        uint16_t vendor, product;
        bool descriptorFails;
        uint16_t assigned;
        UsbPipe out;
    };
    const Case cases[] = {
        {"wrong vendor", 0x0548, BulkProductId, false, 0xFFFF, GoodOut},
        {"wrong product", BulkVendorId, 0x1005, false, 0xFFFF, GoodOut},
        {"no descriptor", BulkVendorId, BulkProductId, true, 0xFFFF, GoodOut},
        {"already assigned", BulkVendorId, BulkProductId, false, 0x0000, GoodOut},
        {"OUT pipe is an IN endpoint", BulkVendorId, BulkProductId, false, 0xFFFF, {64, 0x81}},
    };
    for (const Case &c : cases) {
        Rig rig;
        auto bad = std::make_shared<FakeBoard>();
        bad->assignedNumber = c.assigned;
        auto device = std::make_shared<FakeBulkDevice>(bad, c.vendor, c.product, GoodIn, c.out);
        device->descriptorFails = c.descriptorFails;
        std::weak_ptr<FakeBulkDevice> watch = device;
        rig.bulk->devices[0] = std::move(device);
        rig.addBulk(1);
        uint8_t status = 0;
        ASSERT_TRUE(rig.open(status)) << c.what;
        EXPECT_EQ(rig.devc.DeviceName, "QxUSB-1") << c.what;
        rig.bulk->devices.erase(0);
        EXPECT_TRUE(watch.expired()) << c.what << ": a rejected candidate stays open";
        // Nothing but the assignment query ever reached a rejected board.
        for (const Bytes &r : bad->requests)
            EXPECT_EQ(r, (Bytes{0xF9, 0x02, 0x00, 0x00})) << c.what;
    }
}

TEST(UsbBridgeSearch, HidBridgeAfterBulkNamesIsAssignedWithSettingSix)
{
    Rig rig;
    rig.addBulk(5, 0x1234);  // not a bridge
    rig.addHid(0, {HidVendorId, HidProductId, 0x0726, 65, 65});
    rig.addHid(1, {HidVendorId, 0x2009, HidVersion, 65, 65});
    rig.addHid(2)->assignedNumber = 7;
    auto board = rig.addHid(4);
    uint8_t status = 0;
    ASSERT_TRUE(rig.open(status));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(rig.hid->asked, Range(5));
    EXPECT_EQ(rig.bridge.HidMode, 1);
    EXPECT_EQ(rig.devc.InPipe.MaxPacket, 64);
    EXPECT_EQ(rig.devc.OutPipe.MaxPacket, 64);
    const std::vector<Bytes> expected{
        {0xF9, 0x02, 0x00, 0x00}, {0xF9, 0x01, 0x04, 0x00}, {0xF9, 0x04, 0x01, 0x01}, {0xF9, 0x06, 0x04, 0x01},
        {0xC5, 0xFF, 0x01, 0x00}, {0xC5, 0xFF, 0x00, 0x00}};
    ASSERT_EQ(board->requests.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(board->requests[i].size(), 65u) << i;
        EXPECT_EQ(board->requests[i][0], 0) << "report id";
        EXPECT_EQ(Head(Bytes(board->requests[i].begin() + 1, board->requests[i].end()), 4), expected[i]) << i;
    }
}

TEST(UsbBridgeSearch, BridgeThatStoppedAnsweringIsClosedBeforeAnyNewSearch)
{
    Rig rig;
    auto board = rig.addBulk(0);
    uint8_t status = 0;
    ASSERT_TRUE(rig.open(status));
    board->answerFor = [](const Bytes &) { return std::nullopt; };
    const auto asked = rig.bulk->asked.size();
    // The identify fails and closes the record, so this UsbOpen searches anew
    // and finds the board assigned (number 0): rejected.
    EXPECT_FALSE(rig.open(status));
    EXPECT_EQ(status, 0xFF);
    EXPECT_GT(rig.bulk->asked.size(), asked);

    // A record still marked connected without a handle is left alone.
    Rig other;
    other.addBulk(0);
    other.devc.Connected = 1;
    EXPECT_FALSE(other.open(status));
    EXPECT_TRUE(other.bulk->asked.empty());
}

TEST(UsbBridgeReports, HidRequestIsAlwaysOneFullReport)
{
    Rig rig;
    auto board = rig.addHid(0);
    uint8_t status = 0;
    ASSERT_TRUE(rig.open(status));
    board->requests.clear();

    uint8_t frame[FrameBufferSize];
    for (int i = 0; i < FrameBufferSize; ++i)
        frame[i] = uint8_t(i);
    ASSERT_TRUE(rig.bridge.UsbWriteReport(rig.devc, frame, 3));
    ASSERT_EQ(board->requests.size(), 1u);
    Bytes expected(65);
    for (int i = 0; i < 64; ++i)
        expected[size_t(i) + 1] = uint8_t(i);
    EXPECT_EQ(board->requests[0], expected);

    // A request longer than a report is cut to its first 64 bytes.
    board->requests.clear();
    ASSERT_TRUE(rig.bridge.UsbWriteReport(rig.devc, frame, 200));
    EXPECT_EQ(board->requests[0], expected);
}

TEST(UsbBridgeReports, HidAnswerIsTheReportAfterItsIdWhateverItsLength)
{
    struct Case { const char *what; size_t reportSize; };
    const Case cases[] = {{"whole report", 65}, {"short report", 10}, {"oversized report", 300}};
    for (const Case &c : cases) {
        Rig rig;
        rig.addHid(0);
        uint8_t status = 0;
        ASSERT_TRUE(rig.open(status));
        auto *device = static_cast<FakeHidDevice *>(rig.hid->devices[0].get());
        device->nextReport.assign(c.reportSize, 0xEE);
        device->nextReport[0] = 0;
        for (size_t i = 1; i < c.reportSize; ++i)
            device->nextReport[i] = uint8_t(i);
        uint8_t frame[FrameBufferSize];
        std::memset(frame, 0xCC, sizeof frame);
        ASSERT_TRUE(rig.bridge.UsbReadReport(rig.devc, frame, 2)) << c.what;
        const size_t data = std::min<size_t>(64, c.reportSize - 1);
        for (size_t i = 0; i < 64; ++i)
            EXPECT_EQ(frame[i], i < data ? uint8_t(i + 1) : 0) << c.what << " byte " << i;
        EXPECT_EQ(frame[64], 0xCC) << c.what << ": wrote past the 64 answer bytes";
    }
}

TEST(UsbBridgeReports, BulkTransfersUseTheirPipesAndStayInsideTheFrameBuffer)
{
    Rig rig;
    auto board = rig.addBulk(0);
    uint8_t status = 0;
    ASSERT_TRUE(rig.open(status));
    auto *device = static_cast<FakeBulkDevice *>(rig.bulk->devices[0].get());
    board->requests.clear();

    uint8_t frame[FrameBufferSize] = {0xB1, 0xC0, 0x10, 0x00, 0x03};
    rig.bridge.TicksSinceTransfer = 9;
    ASSERT_TRUE(rig.bridge.UsbWriteReport(rig.devc, frame, 5));
    EXPECT_EQ(board->requests[0], (Bytes{0xB1, 0xC0, 0x10, 0x00, 0x03}));
    EXPECT_EQ(rig.bridge.TicksSinceTransfer, 0);
    rig.bridge.TicksSinceTransfer = 9;
    ASSERT_TRUE(rig.bridge.UsbReadReport(rig.devc, frame, 3));
    EXPECT_EQ(rig.bridge.TicksSinceTransfer, 0);
    EXPECT_EQ(device->receiveCapacities.back(), 3);

    ASSERT_TRUE(rig.bridge.UsbWriteReport(rig.devc, frame, 4));
    ASSERT_TRUE(rig.bridge.UsbReadReport(rig.devc, frame, 5000));
    EXPECT_EQ(device->receiveCapacities.back(), FrameBufferSize);
}

TEST(UsbBridgeReports, FailedTransferClosesAndResetsTheRecord)
{
    struct Case { const char *what; UsbPipe in, out; bool failWrites; bool write; };
    const Case cases[] = {
        {"write refused", GoodIn, GoodOut, true, true},
        {"read with no answer", GoodIn, GoodOut, false, false},
        {"OUT pipe 0x81", GoodIn, {64, 0x81}, false, true},
        {"IN pipe 0x02", {64, 0x02}, GoodOut, false, false},
    };
    for (const Case &c : cases) {
        Rig rig;
        auto board = std::make_shared<FakeBoard>();
        board->failWrites = c.failWrites;
        auto device = std::make_shared<FakeBulkDevice>(board, BulkVendorId, BulkProductId, c.in, c.out);
        std::weak_ptr<FakeBulkDevice> watch = device;
        rig.devc.Handle = std::move(device);
        rig.devc.DeviceName = "QxUSB-0";
        rig.devc.InPipe = c.in;
        rig.devc.OutPipe = c.out;
        rig.devc.Connected = 1;
        rig.devc.DeviceDescriptor.fill(0x77);
        rig.bridge.TicksSinceTransfer = 9;

        uint8_t frame[FrameBufferSize] = {0xF9, 0xAC};
        const bool ok = c.write ? rig.bridge.UsbWriteReport(rig.devc, frame, 2)
                                : rig.bridge.UsbReadReport(rig.devc, frame, 8);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_TRUE(board->requests.empty()) << c.what;
        EXPECT_TRUE(watch.expired()) << c.what;
        EXPECT_EQ(rig.devc.Connected, 0) << c.what;
        EXPECT_TRUE(rig.devc.DeviceName.isEmpty()) << c.what;
        for (int i = 0; i < DescriptorBlockSize; ++i)
            EXPECT_EQ(rig.devc.DeviceDescriptor[size_t(i)], i >= 8 && i < 14 ? 0 : 0x77) << c.what << " " << i;
        EXPECT_EQ(rig.bridge.TicksSinceTransfer, 9) << c.what;
        EXPECT_EQ(rig.bridge.LastError, 5) << c.what;
        // Closed: every later transfer fails at once.
        EXPECT_FALSE(rig.bridge.UsbWriteReport(rig.devc, frame, 2)) << c.what;
    }
}

TEST(UsbBridgeReports, BulkBridgeFoundAfterAHidBridgeIsDrivenInBulkMode)
{
    Rig rig;
    rig.addHid(0);
    uint8_t status = 0;
    ASSERT_TRUE(rig.open(status));
    ASSERT_EQ(rig.bridge.HidMode, 1);
    rig.bridge.UsbClose(rig.devc);
    rig.hid->devices.clear();

    auto board = rig.addBulk(2);
    ASSERT_TRUE(rig.open(status));
    EXPECT_EQ(rig.bridge.HidMode, 0);
    EXPECT_EQ(board->requests.front(), (Bytes{0xF9, 0x02, 0x00, 0x00}));
}
