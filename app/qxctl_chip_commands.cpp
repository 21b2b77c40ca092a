// qxctl's chip commands: read, write and writebyte on channel 0 over any
// interface, with the same frames, waits and status texts as the bench tool.
#include "qxctl_chip_commands.h"

#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/base_utils.h"
#include "device/bench.h"
#include "device/chip_selection.h"
#include "shell/app_title.h"
#include "shell/qxadc_config.h"
#include "transport/serial_lookups.h"
#include "transport/parallel_link.h"
#include "transport/port_io.h"
#include "transport/serial_ports.h"
#include "transport/usb_transport.h"
#include "usb_transport_factory.h"

#include <QFile>

#include <optional>

namespace qx {

const char *ChipCommandUsage =
    "  [options] read ADDR COUNT     read COUNT bytes at ADDR, printed as hex\n"
    "  [options] write ADDR BYTE...  write the bytes as one block at ADDR\n"
    "  [options] writebyte ADDR VALUE  write one register, print its read-back\n"
    "  options: --interface RS232|SPI|Special|Parallel|UART|DMM (RS232)\n"
    "           --port COMn (COM1; mapped through QxPorts.cfg)  --device PATH\n"
    "           --baud N (300)  --parity None|Even|Odd (None)  --opto on|off (on)\n"
    "  numbers: 12, 0FFH, 1010B, 12D or 0x1F\n";

namespace {

std::optional<int32_t> number(const QString &text)
{
    if (text.startsWith("0x", Qt::CaseInsensitive)) {
        bool ok = false;
        const int v = text.mid(2).toInt(&ok, 16);
        return ok ? std::optional<int32_t>(v) : std::nullopt;
    }
    int32_t v = 0;
    return ParseNumber(text, v) ? std::optional<int32_t>(v) : std::nullopt;
}

// The tool's settings at start-up: RS232 on COM1 at list index 0 (300
// baud), no parity, optocoupler option checked.
struct ChipOptions {
    int interfaceType = 0;
    int comIndex = 0;
    int baudIndex = 0;
    int parityIndex = 0;
    bool opto = true;
    QString device;
    QStringList command;
};

const QStringList commands{"read", "write", "writebyte"};

// Settings not given on the command line: the tool's start-up defaults, or
// the stored choices of channel 0 when ProgramDir has a configuration file
// written under the tool's title.
ChipOptions storedDefaults(const ProgramPaths &paths)
{
    ChipOptions o;
    QFile f(paths.inProgramDir(ConfigFileName));
    if (!f.open(QIODevice::ReadOnly))
        return o;
    const QxAdcConfigLoad load = DecodeQxAdcConfig(f.readAll(), ReadAppTitle(paths.programDir), QxAdcConfig{});
    if (load.groupsRead >= 1) {
        o.interfaceType = load.config.interfaceType >= 0 && load.config.interfaceType < 6 ? load.config.interfaceType : 0;
        o.comIndex = load.config.comIndex;
        o.baudIndex = load.config.baudIndex;
        o.parityIndex = load.config.parityIndex;
    }
    if (load.groupsRead >= 11)
        o.opto = load.config.photo == 1;
    return o;
}

std::optional<ChipOptions> parse(const QStringList &args, QTextStream &err, const ProgramPaths &paths)
{
    ChipOptions o = storedDefaults(paths);
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith("--")) {
            o.command = args.mid(i);
            break;
        }
        if (i + 1 >= args.size()) {
            err << "qxctl: " << a << " needs a value\n";
            return std::nullopt;
        }
        const QString v = args[++i];
        if (a == "--interface") {
            o.interfaceType = -1;
            for (int k = 0; k < int(InterfaceNames().size()); ++k)
                if (v.compare(InterfaceNames()[size_t(k)], Qt::CaseInsensitive) == 0)
                    o.interfaceType = k;
            if (o.interfaceType < 0) {
                err << "qxctl: unknown interface '" << v << "'\n";
                return std::nullopt;
            }
        } else if (a == "--port") {
            o.comIndex = -1;
            for (int k = 0; k < ComPortCount; ++k)
                if (v.compare(GetCOMString(k), Qt::CaseInsensitive) == 0)
                    o.comIndex = k;
            if (o.comIndex < 0) {
                err << "qxctl: unknown port '" << v << "' (COM1 .. COM17)\n";
                return std::nullopt;
            }
        } else if (a == "--device") {
            o.device = v;
        } else if (a == "--baud") {
            o.baudIndex = BaudRateIndex(v.toInt());
            if (o.baudIndex < 0) {
                err << "qxctl: baud rate " << v << " is not in the list (300 .. 115200)\n";
                return std::nullopt;
            }
        } else if (a == "--parity") {
            const QStringList names{"none", "even", "odd"};
            o.parityIndex = int(names.indexOf(v.toLower()));
            if (o.parityIndex < 0) {
                err << "qxctl: parity must be None, Even or Odd\n";
                return std::nullopt;
            }
        } else if (a == "--opto") {
            if (v != "on" && v != "off") {
                err << "qxctl: --opto takes on or off\n";
                return std::nullopt;
            }
            o.opto = v == "on";
        } else {
            err << "qxctl: unknown option '" << a << "'\n";
            return std::nullopt;
        }
    }
    return o;
}

QString hexLine(const std::vector<uint8_t> &bytes)
{
    QString s;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            s += (i % 16 == 0) ? '\n' : ' ';
        s += HexText(bytes[i], 2);
    }
    return s;
}

// The reason a transfer failed: the status text it left in panel 1 (the
// texts are cleared before the transfer), else a plain note.
QString failureText(const Bench &bench, const QString &what)
{
    if (!bench.status.text[1].isEmpty())
        return bench.status.text[1];
    return "qxctl: " + what + " failed: the chip did not answer";
}

struct ReleaseAtExit {
    explicit ReleaseAtExit(TQx_UP &up) : up(up) {}
    ~ReleaseAtExit() { up.BridgeRelease(); }
    TQx_UP &up;
};

} // namespace

bool IsChipCommand(const QStringList &args)
{
    for (int i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith("--"))
            return commands.contains(args[i]);
        ++i;  // skip the option's value
    }
    return false;
}

int RunChipCommand(const QStringList &args, const ProgramPaths &paths, QTextStream &out, QTextStream &err)
{
    const auto o = parse(args, err, paths);
    if (!o)
        return 2;
    const QStringList &c = o->command;
    std::vector<int32_t> values;
    for (int i = 1; i < c.size(); ++i) {
        const auto v = number(c[i]);
        if (!v) {
            err << "qxctl: '" << c[i] << "' is not a number\n";
            return 2;
        }
        values.push_back(*v);
    }
    const QString cmd = c.value(0);
    const bool shapeOk = (cmd == "read" && values.size() == 2) || (cmd == "write" && values.size() >= 2)
                         || (cmd == "writebyte" && values.size() == 2);
    if (!shapeOk) {
        err << "qxctl: usage:\n" << ChipCommandUsage;
        return 2;
    }
    if (values[0] < 0 || values[0] > 0xFFFF) {
        err << "qxctl: address " << c[1] << " is outside 0 .. 0FFFFH\n";
        return 2;
    }
    for (size_t i = 1; cmd != "read" && i < values.size(); ++i)
        if (values[i] < 0 || values[i] > 255) {
            err << "qxctl: byte " << c[int(i) + 1] << " is outside 0 .. 0FFH\n";
            return 2;
        }
    if (cmd == "read" && (values[1] < 1 || values[1] > TQx_UP::MaxTransfer)) {
        err << "qxctl: count must be 1 .. 255\n";
        return 2;
    }
    if (cmd == "write" && values.size() - 1 > size_t(TQx_UP::MaxTransfer)) {
        err << "qxctl: at most 255 bytes per write\n";
        return 2;
    }

    SystemClock clock;
    CountingEventPump pump;
    SilentPrompter prompter;
    Bench bench(clock, pump, prompter, paths);
    STND &dev = bench.device();
    dev.InterfaceType = uint16_t(o->interfaceType);
    bench.Photo = o->opto;
    // The model name decides the Special frames: take it from the chip
    // definition when there is a selection file; run without one otherwise.
    if (SelectionFileExists(paths))
        GetSELUP(bench, 0);

    std::unique_ptr<UsbTransport> usb;
    std::unique_ptr<PortAccess> portAccess;
    std::unique_ptr<ParallelLink> parallel;
    PortMap map = PortMap::load(paths);
    if (!o->device.isEmpty())
        map.set(GetCOMString(o->comIndex), o->device);
    SerialPorts ports(QtSerialPortOpener(clock), map);
    TQx_UP up(bench);
    std::unique_ptr<ReleaseAtExit> release;  // after `up`: it runs before `up` goes

    switch (dev.interface()) {
    case InterfaceKind::RS232:
        OpenChipPort(bench, ports, o->comIndex, o->baudIndex, o->parityIndex);
        if (!dev.Serial.IsOpen) {
            err << bench.status.text[0] << " (" << map.devicePath(GetCOMString(o->comIndex)) << ")\n";
            return 1;
        }
        break;
    case InterfaceKind::Parallel:
        // An unreachable port fails the frames with a status text.
        parallel = CreateParallelLink(portAccess);
        up.setParallelLink(parallel.get());
        break;
    default:
        usb = CreateUsbTransport(paths);
        up.setUsbTransport(usb.get());
        // Hand the bridge back on every way out, as the bench tool does at
        // close, so the next session can take it.
        release = std::make_unique<ReleaseAtExit>(up);
        if (!up.USBConnect()) {
            err << bench.status.text[0] << "\n";
            return 1;
        }
        if (dev.interface() == InterfaceKind::UART && !up.UartLinkSetup()) {
            err << "qxctl: the bridge refused the UART relay set-up\n";
            return 1;
        }
    }

    const int address = values[0];
    bench.status.text = {};
    if (cmd == "read") {
        const auto bytes = up.readBlock(address, values[1]);
        if (!bytes) {
            err << failureText(bench, "read") << "\n";
            return 1;
        }
        out << hexLine(*bytes) << "\n";
    } else if (cmd == "write") {
        std::vector<uint8_t> data;
        for (size_t i = 1; i < values.size(); ++i)
            data.push_back(uint8_t(values[i]));
        if (!up.writeBlock(address, data)) {
            err << failureText(bench, "write") << "\n";
            return 1;
        }
    } else {
        if (!up.WriteChipByte(address, uint8_t(values[1]))) {
            err << failureText(bench, "writebyte") << "\n";
            return 1;
        }
        out << HexText(up.ReadMirror(address), 2) << "\n";
    }
    ports.closeAll();
    return 0;
}

} // namespace qx
