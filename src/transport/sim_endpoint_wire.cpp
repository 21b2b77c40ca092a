#include "transport/sim_endpoint_wire.h"

#include <QDir>
#include <QProcessEnvironment>

#include <cstring>
#include <unistd.h>

namespace qx::simwire {

namespace {

constexpr char BulkTag[] = "QXBULK";
constexpr char HidTag[] = "QXHID";
constexpr int BulkTagSize = 6;
constexpr int HidTagSize = 5;
constexpr int BulkHelloSize = BulkTagSize + UsbDeviceDescriptorSize + 3 + 3;
constexpr int HidHelloSize = HidTagSize + 5 * 2;

void put16(std::vector<uint8_t> &out, uint16_t v)
{
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t(v >> 8));
}

uint16_t get16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }

} // namespace

std::vector<uint8_t> EncodeHello(const Hello &hello)
{
    std::vector<uint8_t> out;
    out.reserve(BulkHelloSize);
    auto putTag = [&out](const char *tag, int size) {
        for (int i = 0; i < size; ++i)
            out.push_back(uint8_t(tag[i]));
    };
    if (hello.hid) {
        putTag(HidTag, HidTagSize);
        const HidAttributes &a = hello.attrs;
        for (uint16_t v : {a.vendorId, a.productId, a.version, a.inputReportLength, a.outputReportLength})
            put16(out, v);
    } else {
        putTag(BulkTag, BulkTagSize);
        for (uint8_t b : hello.bulk.deviceDescriptor)
            out.push_back(b);
        out.push_back(hello.bulk.in.Address);
        put16(out, hello.bulk.in.MaxPacket);
        out.push_back(hello.bulk.out.Address);
        put16(out, hello.bulk.out.MaxPacket);
    }
    return out;
}

std::optional<Hello> DecodeHello(const uint8_t *data, int length)
{
    Hello h;
    if (length == BulkHelloSize && std::memcmp(data, BulkTag, BulkTagSize) == 0) {
        const uint8_t *p = data + BulkTagSize;
        std::memcpy(h.bulk.deviceDescriptor.data(), p, UsbDeviceDescriptorSize);
        p += UsbDeviceDescriptorSize;
        h.bulk.in = {get16(p + 1), p[0]};
        h.bulk.out = {get16(p + 4), p[3]};
        return h;
    }
    if (length == HidHelloSize && std::memcmp(data, HidTag, HidTagSize) == 0) {
        const uint8_t *p = data + HidTagSize;
        h.hid = true;
        h.attrs = {get16(p), get16(p + 2), get16(p + 4), get16(p + 6), get16(p + 8)};
        return h;
    }
    return std::nullopt;
}

std::array<uint8_t, UsbDeviceDescriptorSize> DeviceDescriptor(uint16_t vendorId, uint16_t productId,
                                                             uint16_t release)
{
    return {18, 0x01, 0x00, 0x02, 0xFF, 0x00, 0x00, 64,
            uint8_t(vendorId), uint8_t(vendorId >> 8), uint8_t(productId), uint8_t(productId >> 8),
            uint8_t(release), uint8_t(release >> 8), 1, 2, 0, 1};
}

QString EndpointDir()
{
    const auto env = QProcessEnvironment::systemEnvironment();
    const QString explicitDir = env.value("QX_SIM_DIR");
    if (!explicitDir.isEmpty())
        return QDir::cleanPath(explicitDir);
    const QString runtime = env.value("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir::cleanPath(runtime + "/qxbench");
    return QStringLiteral("/tmp/qxbench-%1").arg(::getuid());
}

QString BulkEndpointName(int number) { return QStringLiteral("QxUSB-%1").arg(number); }
QString HidEndpointName(int index) { return QStringLiteral("QxHID-%1").arg(index); }

} // namespace qx::simwire
