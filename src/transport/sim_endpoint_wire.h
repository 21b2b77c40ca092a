#pragma once
// Wire format of a simulator bridge endpoint: an AF_UNIX SOCK_SEQPACKET
// socket in the endpoint folder, one message per report.
//
//   hello   server -> client once after connect
//           bulk: "QXBULK" + 18-byte USB device descriptor + IN endpoint
//                 address (1) + IN max packet (2 LE) + OUT endpoint address (1)
//                 + OUT max packet (2 LE)
//           HID:  "QXHID" + vendor, product, version, input report length,
//                 output report length (2 bytes LE each; lengths count the
//                 report id byte, normally 65)
//   request client -> server: bulk the bytes of one OUT transfer; HID one
//           output report (report id 0 then 64 bytes)
//   answer  server -> client, one per request that has one: bulk the IN
//           transfer's bytes (the client keeps at most what it asked for);
//           HID one input report (report id 0 then 64 bytes)
//
// Socket names: a bulk endpoint is "QxUSB-<n>" and stands for bulk bridge
// number n; a HID endpoint is "QxHID-<i>" and stands for HID index i. Each is
// tried before the hardware device of the same number or index. The folder is
// $QX_SIM_DIR, else $XDG_RUNTIME_DIR/qxbench, else /tmp/qxbench-<uid>; the
// server creates it with mode 0700.
#include "transport/bridge_device.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qx::simwire {

constexpr int UsbDeviceDescriptorSize = 18;
// Largest message either side handles; longer ones are cut to this.
constexpr int MaxMessage = 1024;

struct BulkHello {
    std::array<uint8_t, UsbDeviceDescriptorSize> deviceDescriptor{};
    UsbPipe in;
    UsbPipe out;
};

struct Hello {
    bool hid = false;
    BulkHello bulk;       // when !hid
    HidAttributes attrs;  // when hid
};

std::vector<uint8_t> EncodeHello(const Hello &hello);
// nullopt for anything that is not a well-formed hello.
std::optional<Hello> DecodeHello(const uint8_t *data, int length);

// A device descriptor with the given ids (USB 2.0, full speed, 64-byte EP0).
std::array<uint8_t, UsbDeviceDescriptorSize> DeviceDescriptor(uint16_t vendorId, uint16_t productId,
                                                             uint16_t release);

QString EndpointDir();
QString BulkEndpointName(int number);  // "QxUSB-<n>"
QString HidEndpointName(int index);    // "QxHID-<i>"

} // namespace qx::simwire
