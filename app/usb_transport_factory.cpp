#include "usb_transport_factory.h"

#include "transport/usb_transport.h"

namespace qx {

std::unique_ptr<UsbTransport> CreateUsbTransport(const ProgramPaths &)
{
    return nullptr;
}

} // namespace qx
