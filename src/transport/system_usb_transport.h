#pragma once
// Ready-made USB bridge transports.
#include "transport/usb_transport.h"

#include <QString>

#include <memory>

namespace qx {

// The tool's bridge search: for each bulk number the simulator endpoint
// "QxUSB-n" of the endpoint folder first, then the n-th bulk bridge on the
// bus (libusb); for each HID index the endpoint "QxHID-i" first, then the
// i-th HID device (hidapi).
std::unique_ptr<UsbTransport> MakeSystemUsbTransport();

// Simulator endpoints in `dir` only, no hardware: for tests and demos that
// must not touch whatever is plugged into the machine.
std::unique_ptr<UsbTransport> MakeSimulatorUsbTransport(const QString &dir);

} // namespace qx
