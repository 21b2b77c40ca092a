#include "usb_transport_factory.h"

#include "transport/parallel_port.h"
#include "transport/system_usb_transport.h"

namespace qx {

std::unique_ptr<UsbTransport> CreateUsbTransport(const ProgramPaths &)
{
    return MakeSystemUsbTransport();
}

std::unique_ptr<ParallelLink> CreateParallelLink(std::unique_ptr<PortAccess> &access)
{
    access = MakeSystemPortAccess();
    return std::make_unique<ParallelPort>(*access);
}

} // namespace qx
