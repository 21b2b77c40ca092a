#include "sim/qxsim_options.h"

#include "transport/usb_bridge.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace qx::sim {

QString QxsimUsage()
{
    return QStringLiteral(
        "usage: qxsim [options]\n"
        "Serves a simulated QX7020 behind a USB bridge endpoint and on an RS232 pty.\n"
        "  --bulk              serve a bulk bridge, socket QxUSB-<n> (default)\n"
        "  --hid               serve a HID bridge, socket QxHID-<n>\n"
        "  --number N          endpoint number 0..31 (bulk) or index 0..127 (HID), default 0\n"
        "  --dir PATH          endpoint folder (default $QX_SIM_DIR, else $XDG_RUNTIME_DIR/qxbench)\n"
        "  --latency-ms MS     cost of every report, default 0 (1 = full-speed HID link)\n"
        "  --ports PROGRAMDIR  map the RS232 pty in PROGRAMDIR/QxPorts.cfg\n"
        "  --com N             COM number used for that mapping, default 1\n"
        "  --help              this text\n"
        "Runs until SIGINT or SIGTERM.\n");
}

std::optional<QxsimOptions> ParseQxsimOptions(const QStringList &args, QString &error)
{
    QxsimOptions o;
    auto number = [&](int &i, int low, int high, int &out) {
        bool ok = false;
        const QString name = args[i];
        const int v = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
        if (!ok || v < low || v > high) {
            error = QStringLiteral("%1 needs a number from %2 to %3").arg(name).arg(low).arg(high);
            return false;
        }
        out = v;
        ++i;
        return true;
    };
    auto text = [&](int &i, QString &out) {
        if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
            error = QStringLiteral("%1 needs a path").arg(args[i]);
            return false;
        }
        out = args[++i];
        return true;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        bool ok = true;
        if (a == "--bulk")
            o.hid = false;
        else if (a == "--hid")
            o.hid = true;
        else if (a == "--number")
            ok = number(i, 0, HidBridgeCount - 1, o.number);
        else if (a == "--latency-ms")
            ok = number(i, 0, 1000, o.latencyMs);
        else if (a == "--com")
            ok = number(i, 1, 17, o.com);
        else if (a == "--dir")
            ok = text(i, o.dir);
        else if (a == "--ports")
            ok = text(i, o.portsProgramDir);
        else if (a == "--help" || a == "-h")
            o.help = true;
        else {
            error = QStringLiteral("unknown option '%1'").arg(a);
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    if (!o.hid && o.number >= BulkBridgeCount) {
        error = QStringLiteral("a bulk bridge number is 0 to %1").arg(BulkBridgeCount - 1);
        return std::nullopt;
    }
    if (o.dir.isEmpty())
        o.dir = simwire::EndpointDir();
    return o;
}

simwire::Hello SimulatedBridgeHello(bool hid)
{
    simwire::Hello h;
    h.hid = hid;
    if (hid) {
        h.attrs = {HidVendorId, HidProductId, HidVersion, 1 + HidReportData, 1 + HidReportData};
    } else {
        h.bulk.deviceDescriptor = simwire::DeviceDescriptor(BulkVendorId, BulkProductId, 0x0100);
        h.bulk.in = {64, 0x82};
        h.bulk.out = {64, 0x02};
    }
    return h;
}

QString EndpointPath(const QxsimOptions &options)
{
    return QDir(options.dir).filePath(options.hid ? simwire::HidEndpointName(options.number)
                                                  : simwire::BulkEndpointName(options.number));
}

bool UpdatePortsFile(const QString &programDir, int com, const QString &device, QString &error)
{
    const QString path = QDir(programDir).filePath("QxPorts.cfg");
    const QString name = QStringLiteral("COM%1").arg(com);
    QStringList lines;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly | QIODevice::Text)) {
            error = QStringLiteral("cannot read %1").arg(path);
            return false;
        }
        lines = QString::fromUtf8(old.readAll()).split('\n');
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
    }
    const QString entry = name + ' ' + device;
    bool replaced = false;
    for (QString &line : lines) {
        const QString first = line.trimmed().section(QRegularExpression("\\s+"), 0, 0);
        if (first.compare(name, Qt::CaseInsensitive) == 0) {
            line = entry;
            replaced = true;
        }
    }
    if (!replaced)
        lines << entry;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    out.write((lines.join('\n') + '\n').toUtf8());
    if (!out.commit()) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace qx::sim
