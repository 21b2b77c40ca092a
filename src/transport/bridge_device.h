#pragma once
// An open USB bridge device and the backends that find and open them.
//
// The bridge search (UsbBridge) only knows these interfaces; libusb (bulk
// bridge), hidapi (HID bridge) and the simulator endpoint sockets implement
// them, and tests use fakes. A BridgeDevice is the handle UsbBridge keeps
// in Devc::Handle.
#include "device/device_record.h"
#include "transport/bridge_io.h"

#include <array>
#include <cstdint>
#include <memory>

namespace qx {

// Size of the descriptor block kept in Devc::DeviceDescriptor. It starts
// with the standard 18-byte USB device descriptor (idVendor at bytes 8-9,
// idProduct at 10-11, bcdDevice at 12-13, little-endian).
constexpr int DescriptorBlockSize = 148;
using DescriptorBlock = std::array<uint8_t, DescriptorBlockSize>;

// One open bridge. A transfer is one bulk transfer on an endpoint (bulk
// bridge) or one whole report whose first byte is the report id (HID bridge;
// the endpoint argument is not used).
class BridgeDevice : public BridgeIo {
public:
    // Sends `length` bytes; true when all of them went out.
    virtual bool send(uint8_t endpoint, const uint8_t *data, int length) = 0;
    // Receives one transfer of at most `capacity` bytes into data, waiting at
    // most timeoutMs. Returns the number of bytes, or -1 on a failure or a
    // time-out. Never writes beyond data[capacity - 1].
    virtual int receive(uint8_t endpoint, uint8_t *data, int capacity, int timeoutMs) = 0;
    // Platform error code of the last failure (errno or library code), 0 if none.
    virtual int lastError() const { return 0; }
};

class BulkBridgeDevice : public BridgeDevice {
public:
    // Fills the descriptor block (device descriptor at [0..17], rest 0).
    virtual bool readDescriptor(DescriptorBlock &block) = 0;
    // Pipe k of the first interface: k = 0 its first endpoint, 1 its second.
    virtual bool readPipe(int k, UsbPipe &pipe) = 0;
};

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
    uint16_t inputReportLength = 0;   // including the report id byte
    uint16_t outputReportLength = 0;  // including the report id byte
};

class HidBridgeDevice : public BridgeDevice {
public:
    virtual bool attributes(HidAttributes &attributes) = 0;
};

// Opens bulk bridge "QxUSB-<number>" (number 0..31); nullptr when there is none.
class BulkBridgeBackend {
public:
    virtual ~BulkBridgeBackend() = default;
    virtual std::shared_ptr<BulkBridgeDevice> openBulk(int number) = 0;
};

// Opens the HID device at `index` (0..127) of the enumeration. `found` tells
// whether a device exists there; the result is nullptr when it could not be
// opened.
class HidBridgeBackend {
public:
    virtual ~HidBridgeBackend() = default;
    virtual std::shared_ptr<HidBridgeDevice> openHid(int index, bool &found) = 0;
};

} // namespace qx
