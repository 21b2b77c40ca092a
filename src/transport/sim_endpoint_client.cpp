#include "transport/sim_endpoint_client.h"

#include "transport/seqpacket_socket.h"
#include "transport/sim_endpoint_wire.h"

#include <algorithm>
#include <cstring>

namespace qx {

namespace {

std::optional<simwire::Hello> connectAndGreet(SeqPacketSocket &socket, const QString &path, int timeoutMs)
{
    if (!socket.connectTo(path))
        return std::nullopt;
    uint8_t hello[simwire::MaxMessage];
    const int n = socket.receive(hello, sizeof hello, timeoutMs);
    if (n <= 0)
        return std::nullopt;
    return simwire::DecodeHello(hello, n);
}

class SimBulkDevice final : public BulkBridgeDevice {
public:
    SimBulkDevice(SeqPacketSocket socket, const simwire::BulkHello &hello)
        : socket_(std::move(socket)), hello_(hello) {}

    bool send(uint8_t, const uint8_t *data, int length) override
    {
        return socket_.send(data, length, SendTimeoutMs);
    }
    int receive(uint8_t, uint8_t *data, int capacity, int timeoutMs) override
    {
        return socket_.receive(data, capacity, timeoutMs);
    }
    int lastError() const override { return socket_.lastError(); }

    bool readDescriptor(DescriptorBlock &block) override
    {
        block.fill(0);
        std::copy(hello_.deviceDescriptor.begin(), hello_.deviceDescriptor.end(), block.begin());
        return true;
    }
    bool readPipe(int k, UsbPipe &pipe) override
    {
        if (k != 0 && k != 1)
            return false;
        pipe = k == 0 ? hello_.in : hello_.out;
        return true;
    }

private:
    static constexpr int SendTimeoutMs = 1000;
    SeqPacketSocket socket_;
    simwire::BulkHello hello_;
};

class SimHidDevice final : public HidBridgeDevice {
public:
    SimHidDevice(SeqPacketSocket socket, const HidAttributes &attrs)
        : socket_(std::move(socket)), attrs_(attrs) {}

    bool send(uint8_t, const uint8_t *data, int length) override
    {
        return socket_.send(data, length, SendTimeoutMs);
    }
    int receive(uint8_t, uint8_t *data, int capacity, int timeoutMs) override
    {
        return socket_.receive(data, capacity, timeoutMs);
    }
    int lastError() const override { return socket_.lastError(); }
    bool attributes(HidAttributes &attributes) override
    {
        attributes = attrs_;
        return true;
    }

private:
    static constexpr int SendTimeoutMs = 1000;
    SeqPacketSocket socket_;
    HidAttributes attrs_;
};

} // namespace

std::shared_ptr<BulkBridgeDevice> SimBulkEndpoints::openBulk(int number)
{
    SeqPacketSocket socket;
    const auto hello = connectAndGreet(socket, dir_ + "/" + simwire::BulkEndpointName(number), helloTimeoutMs_);
    if (!hello || hello->hid)
        return nullptr;
    return std::make_shared<SimBulkDevice>(std::move(socket), hello->bulk);
}

std::shared_ptr<HidBridgeDevice> SimHidEndpoints::openHid(int index, bool &found)
{
    found = false;
    SeqPacketSocket socket;
    const auto hello = connectAndGreet(socket, dir_ + "/" + simwire::HidEndpointName(index), helloTimeoutMs_);
    if (!hello || !hello->hid)
        return nullptr;
    found = true;
    return std::make_shared<SimHidDevice>(std::move(socket), hello->attrs);
}

} // namespace qx
