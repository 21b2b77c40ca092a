// Parallel-port register access on Linux.
//
// Direct access: ioperm() for the three port registers and the ECR, then
// inb/outb. Only a process with CAP_SYS_RAWIO gets it, and only on x86.
//
// Kernel driver: ppdev. /dev/parport0, 1 and 2 stand for the ports at 0x378,
// 0x278 and 0x3BC. The port is claimed (PPCLAIM) for as long as it is open;
// data, status and control go through PPRDATA/PPWDATA, PPRSTATUS and
// PPRCONTROL/PPWCONTROL. A port that another driver holds at that moment is
// not claimed (see heldByAnother). ppdev has no way to reach the ECR: the kernel's
// parport driver owns it and keeps an ECP-capable port in PS/2 (byte) mode,
// which is the mode the chip adapter needs. ECR writes are therefore left
// out and an ECR read gives 0x20 (byte mode) when the port is reached through
// ppdev. Other addresses read as their low byte and ignore writes.
#include "transport/port_io.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define QX_HAVE_PORT_IO 1
#endif

#include <string>

namespace qx {

namespace {

#ifdef QX_HAVE_PORT_IO
class DirectPortIo final : public PortIo {
public:
    DirectPortIo(uint16_t base, bool ecr) : base_(base), ecr_(ecr) {}
    ~DirectPortIo() override
    {
        ioperm(base_, 3, 0);
        if (ecr_)
            ioperm(base_ + ParallelEcrOffset, 1, 0);
    }
    uint8_t read(uint16_t address) override
    {
        return granted(address) ? inb(address) : uint8_t(address & 0xFF);
    }
    void write(uint16_t address, uint8_t value) override
    {
        if (granted(address))
            outb(value, address);
    }
private:
    bool granted(uint16_t a) const
    {
        return (a >= base_ && a < base_ + 3) || (ecr_ && a == base_ + ParallelEcrOffset);
    }
    uint16_t base_;
    bool ecr_;
};
#endif

class PpdevPortIo final : public PortIo {
public:
    PpdevPortIo(uint16_t base, int fd) : base_(base), fd_(fd) {}
    ~PpdevPortIo() override
    {
        ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
    uint8_t read(uint16_t address) override
    {
        unsigned char v = uint8_t(address & 0xFF);
        const int offset = address - base_;
        if (offset == 0)
            ioctl(fd_, PPRDATA, &v);
        else if (offset == ParallelStatusOffset)
            ioctl(fd_, PPRSTATUS, &v);
        else if (offset == ParallelControlOffset)
            ioctl(fd_, PPRCONTROL, &v);
        else if (offset == ParallelEcrOffset)
            v = 0x20;
        return v;
    }
    void write(uint16_t address, uint8_t value) override
    {
        unsigned char v = value;
        const int offset = address - base_;
        if (offset == 0)
            ioctl(fd_, PPWDATA, &v);
        else if (offset == ParallelControlOffset)
            ioctl(fd_, PPWCONTROL, &v);
    }
private:
    uint16_t base_;
    int fd_;
};

// PPCLAIM waits for as long as another driver or program holds the port.
// The kernel names the holder in /proc; a held port is treated as not there
// rather than risking an unbounded wait.
bool heldByAnother(int number)
{
    const std::string path = "/proc/sys/dev/parport/parport" + std::to_string(number) + "/devices/active";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[64] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    return n > 0 && std::string(text, size_t(n)).rfind("none", 0) != 0;
}

class SystemPortAccess final : public PortAccess {
public:
    std::unique_ptr<PortIo> openDirect(uint16_t base) override
    {
#ifdef QX_HAVE_PORT_IO
        if (ioperm(base, 3, 1) != 0)
            return nullptr;
        const bool ecr = ioperm(base + ParallelEcrOffset, 1, 1) == 0;
        return std::make_unique<DirectPortIo>(base, ecr);
#else
        (void)base;
        return nullptr;
#endif
    }

    std::unique_ptr<PortIo> openKernelPort(uint16_t base) override
    {
        int number = -1;
        switch (base) {
        case 0x378: number = 0; break;
        case 0x278: number = 1; break;
        case 0x3BC: number = 2; break;
        default: return nullptr;
        }
        if (heldByAnother(number))
            return nullptr;
        const std::string path = "/dev/parport" + std::to_string(number);
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        if (ioctl(fd, PPCLAIM) != 0) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PpdevPortIo>(base, fd);
    }
};

} // namespace

std::unique_ptr<PortAccess> MakeSystemPortAccess()
{
    return std::make_unique<SystemPortAccess>();
}

} // namespace qx
