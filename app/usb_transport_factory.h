#pragma once
// Where qxctl gets its links to the chip beyond the serial port: the USB
// bridge transport (simulator endpoints first, then bridges on the bus) and
// the parallel-port adapter.
#include <memory>

namespace qx {

struct ProgramPaths;
class UsbTransport;
class ParallelLink;
class PortAccess;

std::unique_ptr<UsbTransport> CreateUsbTransport(const ProgramPaths &paths);

// The parallel port with the system's register access; `access` must
// outlive the link.
std::unique_ptr<ParallelLink> CreateParallelLink(std::unique_ptr<PortAccess> &access);

} // namespace qx
