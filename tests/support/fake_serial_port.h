#pragma once
// A serial port for tests: what the tool writes is logged and may be
// answered by a peer function; line errors and refused settings can be
// injected. FakePorts is an opener that hands out registered fakes by path.
#include "transport/serial_port_io.h"

#include <QHash>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace qx::test {

class FakeSerialPort final : public SerialPortIo {
public:
    // Called with every write; its result is queued for the tool to read.
    std::function<std::vector<uint8_t>(const uint8_t *, int)> peer;
    std::deque<uint8_t> rx;
    std::vector<std::vector<uint8_t>> writes;
    uint32_t pendingErrors = 0;   // reported (once) by the next status query
    bool refuseParity = false;    // like a pty: only "no parity" is accepted
    bool dtr = false;
    bool closed = false;
    int applyCount = 0;
    SerialLineSettings current{9600, 8, 0, 0};

    SerialLineSettings settings() const override { return current; }
    bool applySettings(const SerialLineSettings &s) override
    {
        ++applyCount;
        const bool parityOk = !refuseParity || s.Parity == 0;
        current.BaudRate = s.BaudRate;
        current.ByteSize = s.ByteSize;
        current.StopBits = s.StopBits;
        if (parityOk)
            current.Parity = s.Parity;
        return parityOk;
    }
    uint32_t takeStatus(int &queued) override
    {
        queued = int(rx.size());
        const uint32_t e = pendingErrors;
        pendingErrors = 0;
        return e;
    }
    int write(const uint8_t *data, int n) override
    {
        writes.emplace_back(data, data + n);
        if (peer) {
            const auto answer = peer(data, n);
            rx.insert(rx.end(), answer.begin(), answer.end());
        }
        return n;
    }
    int read(uint8_t *data, int max) override
    {
        int n = 0;
        while (n < max && !rx.empty()) {
            data[n++] = rx.front();
            rx.pop_front();
        }
        return n;
    }
    bool setDtr(bool on) override { dtr = on; return true; }
    void close() override { closed = true; }
};

class FakePorts {
public:
    std::shared_ptr<FakeSerialPort> add(const QString &path)
    {
        auto p = std::make_shared<FakeSerialPort>();
        ports_.insert(path, p);
        return p;
    }
    SerialPortOpener opener()
    {
        return [this](const QString &path) -> std::shared_ptr<SerialPortIo> {
            ++opens[path];
            return ports_.value(path);
        };
    }
    QHash<QString, int> opens;

private:
    QHash<QString, std::shared_ptr<FakeSerialPort>> ports_;
};

} // namespace qx::test
