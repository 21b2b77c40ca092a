#include "sim/bridge_model.h"

#include <algorithm>

namespace qx::sim {

namespace {
std::vector<uint8_t> word8(uint16_t v)
{
    std::vector<uint8_t> a(8, 0);
    a[0] = uint8_t(v & 0xFF);
    a[1] = uint8_t(v >> 8);
    return a;
}
} // namespace

std::optional<std::vector<uint8_t>> BridgeModel::exchange(std::span<const uint8_t> request)
{
    std::lock_guard lock(mutex_);
    if (recording_)
        requests_.emplace_back(request.begin(), request.end());
    if (silent_ || request.empty())
        return std::nullopt;
    return answer(request);
}

std::optional<std::vector<uint8_t>> BridgeModel::answer(std::span<const uint8_t> r)
{
    switch (r[0]) {
    case 0xF9:
    case 0xB5:
    case 0xC5:
    case 0xC3:
        return bridgeCommand(r);
    case 0xC0:  // UART relay set-up
        if (r.size() >= 6 && r[1] == 0x00 && r[2] == 0x00 && r[3] == 0x06 && r[4] == 0x81 && r[5] == 0x02) {
            uartLinked_ = true;
            return std::vector<uint8_t>{0xAA};
        }
        return std::nullopt;
    default:
        return chipFrame(r);
    }
}

std::optional<std::vector<uint8_t>> BridgeModel::bridgeCommand(std::span<const uint8_t> r)
{
    if (r.size() < 2)
        return std::nullopt;
    const uint8_t sub = r[1];
    const uint16_t value = uint16_t((r.size() > 2 ? r[2] : 0) | (r.size() > 3 ? r[3] : 0) << 8);
    switch (r[0]) {
    case 0xF9:
        if (sub == 0xAC) {
            const std::string id = "Tervalon";
            return std::vector<uint8_t>(id.begin(), id.end());
        }
        if (sub == 0x05)
            return std::vector<uint8_t>(version_.begin(), version_.end());
        if (sub == 0x10) {
            dmmPower_ = r.size() > 2 && r[2] != 0;
            return word8(dmmPower_ ? 1 : 0);
        }
        if (sub == 0x02)
            return word8(number_);
        if (sub == 0x01) {
            number_ = value;
            if (value == 0xFFFF) {  // released: forget the session
                uartLinked_ = false;
                streamEnabled_ = false;
                streamMask_ = 0;
                chip_.setStreamMask(0);
            }
            return word8(number_);
        }
        settings_[sub] = value;
        return word8(value);
    case 0xB5:
        if (sub == 0x01 && r.size() >= 3) {
            if (resetLevel_ == 0 && r[2] != 0)
                chip_.reset();
            resetLevel_ = r[2] != 0 ? 1 : 0;
            return std::vector<uint8_t>{0xAA};
        }
        if (sub == 0x07)
            return std::vector<uint8_t>{0x07, status_[0], status_[2], status_[1]};
        return std::nullopt;
    case 0xC5:
        return std::vector<uint8_t>(64, 0);
    case 0xC3: {
        std::vector<uint8_t> a(64, 0);
        if (sub == 0x00 && r.size() >= 5) {
            streamEnabled_ = r[3] != 0;
            streamMask_ = streamEnabled_ ? r[4] : 0;
            chip_.setStreamMask(streamMask_);
            a[0] = 0xFA;
            a[1] = 0xAA;
            return a;
        }
        if (sub == 0x01) {
            const auto records = streamEnabled_ ? chip_.takeStreamRecords(12) : std::vector<std::array<uint8_t, 5>>{};
            a[0] = uint8_t(records.size());
            a[1] = streamStatus_;
            // Each record goes last byte first.
            for (size_t i = 0; i < records.size(); ++i)
                for (size_t k = 0; k < 5; ++k)
                    a[6 + 5 * i - k] = records[i][k];
            return a;
        }
        return std::nullopt;
    }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> BridgeModel::chipFrame(std::span<const uint8_t> r)
{
    const uint8_t c = r[0];
    if (c == 0xB1 || c == 0xBC || c == 0xBA || c == 0xBE || c == 0xC1) {
        if (r.size() < 5)
            return std::nullopt;
        int address = 0;
        bool read = false;
        const int n = (c == 0xC1 || c == 0xB1 || c == 0xBC) ? r[4] : r[3];
        if (c == 0xB1 || c == 0xBC) {
            read = r[1] == 0xC0;
            if (!read && r[1] != 0x40)
                return std::nullopt;
            address = r[2] | r[3] << 8;
        } else if (c == 0xBA || c == 0xBE) {
            // Compact frame: bit 7 read, bit 6 the short form of the MP parts
            // (no high address bits), else bits 2..6 carry the high byte.
            read = (r[1] & 0x80) != 0;
            address = (r[1] & 0x40) ? r[2] : (((r[1] & 0x7C) >> 2) << 8 | r[2]);
        } else {
            read = r[1] == 0x80;
            address = r[2] | r[3] << 8;
        }
        if (read) {
            std::vector<uint8_t> a = chip_.readBlock(address, n);
            if (c == 0xC1)
                a.push_back(uartLinked_ ? 0xFA : 0x00);
            if (c == 0xC1 && !uartLinked_)
                std::fill(a.begin(), a.end(), 0);
            return a;
        }
        if (r.size() < size_t(5 + n))
            return std::nullopt;
        if (c == 0xC1 && !uartLinked_)
            return std::vector<uint8_t>{0x00};
        chip_.writeBlock(address, r.data() + 5, n);
        return std::vector<uint8_t>{0xAA};
    }
    if (c == 0xC2) {
        // DMM front end: registers by 7-bit number, bit 0 of the register byte 1 = read.
        if (r.size() < 4)
            return std::nullopt;
        const int reg = r[2] >> 1;
        const int n = r[3];
        if (!(r[2] & 1)) {
            if (r.size() < size_t(4 + n))
                return std::nullopt;
            chip_.writeBlock(reg, r.data() + 4, n);
        }
        return chip_.readBlock(reg, n);
    }
    return std::nullopt;
}

std::vector<std::vector<uint8_t>> BridgeModel::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void BridgeModel::clearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void BridgeModel::setRecording(bool on)
{
    std::lock_guard lock(mutex_);
    recording_ = on;
}

void BridgeModel::setVersion(const std::string &text)
{
    std::lock_guard lock(mutex_);
    version_ = text;
    version_.resize(8, ' ');
}

void BridgeModel::setStatusBytes(uint8_t first, uint8_t second, uint8_t third)
{
    std::lock_guard lock(mutex_);
    status_ = {first, second, third};
}

void BridgeModel::setStreamStatus(uint8_t status)
{
    std::lock_guard lock(mutex_);
    streamStatus_ = status;
}

void BridgeModel::setSilent(bool silent)
{
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

uint16_t BridgeModel::bridgeNumber() const { std::lock_guard lock(mutex_); return number_; }
bool BridgeModel::dmmPowered() const { std::lock_guard lock(mutex_); return dmmPower_; }
bool BridgeModel::uartLinked() const { std::lock_guard lock(mutex_); return uartLinked_; }
bool BridgeModel::streamEnabled() const { std::lock_guard lock(mutex_); return streamEnabled_; }
uint8_t BridgeModel::streamMask() const { std::lock_guard lock(mutex_); return streamMask_; }

} // namespace qx::sim
