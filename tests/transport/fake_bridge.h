#pragma once
// Fake bridge devices and backends for the bridge search, plus the two
// bridge commands the search needs, written out here from the bridge's
// command bytes so the tests do not lean on the chip access layer.
#include "transport/usb_bridge.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qx::test {

using Bytes = std::vector<uint8_t>;

// The first n bytes (a request without the padding of a HID report).
inline Bytes Head(const Bytes &r, size_t n) { return Bytes(r.begin(), r.begin() + ptrdiff_t(std::min(n, r.size()))); }

// The behaviour of a bridge board: request bytes in, answer bytes out
// (nothing: the bridge stays silent). HID requests arrive without their
// report id.
struct FakeBoard {
    uint16_t assignedNumber = 0xFFFF;
    bool failWrites = false;
    std::vector<Bytes> requests;  // as sent, report id included for HID
    std::function<std::optional<Bytes>(const Bytes &)> answerFor;

    std::optional<Bytes> answer(const Bytes &r)
    {
        if (answerFor)
            return answerFor(r);
        if (r.size() >= 2 && r[0] == 0xF9 && r[1] == 0xAC)
            return Bytes{'T', 'e', 'r', 'v', 'a', 'l', 'o', 'n'};
        if (r.size() >= 4 && r[0] == 0xF9) {
            if (r[1] == 0x01)
                assignedNumber = uint16_t(r[2] | (r[3] << 8));
            const uint16_t v = r[1] == 0x02 ? assignedNumber : uint16_t(0x0100 | r[1]);
            return Bytes{uint8_t(v), uint8_t(v >> 8), 0, 0, 0, 0, 0, 0};
        }
        return Bytes(64, 0x5A);
    }
};

class FakeBulkDevice final : public BulkBridgeDevice {
public:
    FakeBulkDevice(std::shared_ptr<FakeBoard> board, uint16_t vendor, uint16_t product, UsbPipe in, UsbPipe out)
        : board_(std::move(board)), vendor_(vendor), product_(product), in_(in), out_(out) {}

    bool descriptorFails = false;
    std::vector<int> receiveCapacities;

    bool send(uint8_t endpoint, const uint8_t *data, int length) override
    {
        if (board_->failWrites || endpoint != out_.Address)
            return false;
        Bytes r(data, data + length);
        board_->requests.push_back(r);
        pending_ = board_->answer(r);
        return true;
    }
    int receive(uint8_t endpoint, uint8_t *data, int capacity, int) override
    {
        receiveCapacities.push_back(capacity);
        if (endpoint != in_.Address || !pending_)
            return -1;
        const int n = std::min<int>(capacity, int(pending_->size()));
        std::memcpy(data, pending_->data(), size_t(n));
        pending_.reset();
        return n;
    }
    int lastError() const override { return 5; }
    bool readDescriptor(DescriptorBlock &block) override
    {
        if (descriptorFails)
            return false;
        block.fill(0);
        block[0] = 18;
        block[8] = uint8_t(vendor_); block[9] = uint8_t(vendor_ >> 8);
        block[10] = uint8_t(product_); block[11] = uint8_t(product_ >> 8);
        block[12] = 0x34; block[13] = 0x12;
        return true;
    }
    bool readPipe(int k, UsbPipe &pipe) override
    {
        pipe = k == 0 ? in_ : out_;
        return k == 0 || k == 1;
    }

private:
    std::shared_ptr<FakeBoard> board_;
    uint16_t vendor_, product_;
    UsbPipe in_, out_;
    std::optional<Bytes> pending_;
};

class FakeHidDevice final : public HidBridgeDevice {
public:
    FakeHidDevice(std::shared_ptr<FakeBoard> board, HidAttributes attrs) : board_(std::move(board)), attrs_(attrs) {}

    Bytes nextReport;  // when set, sent as the whole input report instead of the board's answer

    bool send(uint8_t, const uint8_t *data, int length) override
    {
        if (board_->failWrites)
            return false;
        Bytes report(data, data + length);
        board_->requests.push_back(report);
        pending_ = board_->answer(Bytes(report.begin() + std::min<ptrdiff_t>(1, length), report.end()));
        return true;
    }
    int receive(uint8_t, uint8_t *data, int capacity, int) override
    {
        Bytes report;
        if (!nextReport.empty()) {
            report = nextReport;
        } else {
            if (!pending_)
                return -1;
            report.assign(65, 0);
            std::copy_n(pending_->begin(), std::min<size_t>(64, pending_->size()), report.begin() + 1);
        }
        pending_.reset();
        const int n = std::min<int>(capacity, int(report.size()));
        std::memcpy(data, report.data(), size_t(n));
        return n;
    }
    bool attributes(HidAttributes &a) override
    {
        a = attrs_;
        return true;
    }

private:
    std::shared_ptr<FakeBoard> board_;
    HidAttributes attrs_;
    std::optional<Bytes> pending_;
};

class FakeBulkBackend final : public BulkBridgeBackend {
public:
    std::map<int, std::shared_ptr<BulkBridgeDevice>> devices;
    std::vector<int> asked;
    std::shared_ptr<BulkBridgeDevice> openBulk(int number) override
    {
        asked.push_back(number);
        auto it = devices.find(number);
        return it == devices.end() ? nullptr : it->second;
    }
};

class FakeHidBackend final : public HidBridgeBackend {
public:
    std::map<int, std::shared_ptr<HidBridgeDevice>> devices;
    std::vector<int> asked;
    std::shared_ptr<HidBridgeDevice> openHid(int index, bool &found) override
    {
        asked.push_back(index);
        auto it = devices.find(index);
        found = it != devices.end();
        return found ? it->second : nullptr;
    }
};

// UsbIdentify and BridgeSetting as the bridge expects them.
inline UsbTransport::Commands BridgeCommands(UsbTransport &t)
{
    UsbTransport::Commands c;
    c.identify = [&t](Devc &d) {
        if (!d.Connected)
            return false;
        uint8_t f[FrameBufferSize] = {0xF9, 0xAC};
        return t.UsbWriteReport(d, f, 2) && t.UsbReadReport(d, f, 8) && std::memcmp(f, "Tervalon", 8) == 0;
    };
    c.setting = [&t](Devc &d, int n, uint16_t value, uint16_t &answer) {
        uint8_t f[FrameBufferSize] = {0xF9, uint8_t(n), uint8_t(value), uint8_t(value >> 8)};
        if (!t.UsbWriteReport(d, f, 4) || !t.UsbReadReport(d, f, 8))
            return false;
        answer = uint16_t(f[0] | (f[1] << 8));
        return true;
    };
    return c;
}

} // namespace qx::test
