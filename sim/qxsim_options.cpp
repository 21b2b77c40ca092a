#include "sim/qxsim_options.h"

#include "transport/usb_bridge.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace qx::sim {

QString QxsimUsage()
{
    const ChipInputs d;
    return QStringLiteral(
               "usage: qxsim [options]\n"
               "Serves a simulated QX7020 behind a USB bridge endpoint and on an RS232 pty.\n"
               "  --bulk                  serve a bulk bridge, socket QxUSB-<n> (default)\n"
               "  --hid                   serve a HID bridge, socket QxHID-<n>\n"
               "  --number N              endpoint number 0..31 (bulk) or index 0..127 (HID), default 0\n"
               "  --dir PATH              endpoint folder (default $QX_SIM_DIR, else $XDG_RUNTIME_DIR/qxbench)\n"
               "  --latency-ms MS         cost of every report, default 0 (1 = full-speed HID link)\n"
               "  --ports PROGRAMDIR      map the RS232 pty in PROGRAMDIR/QxPorts.cfg\n"
               "  --com N                 COM number used for that mapping, default 1\n"
               "Analog inputs (volts at the ADC input, before the gain; 1.2 V reference):\n"
               "  --adc1-volts V          ADC1 input, default %1\n"
               "  --adc1-offset-uv UV     ADC1 offset in microvolts, default %2\n"
               "  --adc1-noise-uv UV      ADC1 Gaussian noise (standard deviation) in microvolts, default %3\n"
               "  --adc2-volts V          ADC2 input, default %4\n"
               "  --adc2-offset-uv UV     ADC2 offset in microvolts, default %5\n"
               "  --adc2-noise-uv UV      ADC2 Gaussian noise in microvolts, default %6\n"
               "  --frequency HZ          counter input frequency, default %7\n"
               "  --duty PERCENT          counter input duty cycle, default %8\n"
               "  --resistor OHMS         unknown resistor of the resistance measurement, default %9\n"
               "  --reference-ohms OHMS   reference resistor in series with it, default %10\n"
               "  --seed N                noise generator seed, default %11\n"
               "  --help                  this text\n"
               "Runs until SIGINT or SIGTERM.\n")
        .arg(d.adc1.volts)
        .arg(d.adc1.offsetVolts * 1e6)
        .arg(d.adc1.noiseVolts * 1e6)
        .arg(d.adc2.volts)
        .arg(d.adc2.offsetVolts * 1e6)
        .arg(d.adc2.noiseVolts * 1e6)
        .arg(d.counterHz)
        .arg(d.counterDuty * 100)
        .arg(d.resistorOhms)
        .arg(d.referenceOhms)
        .arg(d.seed);
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
    // A decimal in [low, high] (`open`: low itself excluded), stored times `scale`.
    auto real = [&](int &i, double low, double high, double &out, double scale = 1.0, bool open = false) {
        bool ok = false;
        const QString name = args[i];
        const double v = i + 1 < args.size() ? args[i + 1].toDouble(&ok) : 0;
        if (!ok || !std::isfinite(v) || v < low || (open && v == low) || v > high) {
            error = QStringLiteral("%1 needs a number %2 %3 to %4")
                        .arg(name, open ? QStringLiteral("above") : QStringLiteral("from"))
                        .arg(low)
                        .arg(high);
            return false;
        }
        out = v * scale;
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
        else if (a == "--adc1-volts")
            ok = real(i, -10, 10, o.inputs.adc1.volts);
        else if (a == "--adc1-offset-uv")
            ok = real(i, -1e6, 1e6, o.inputs.adc1.offsetVolts, 1e-6);
        else if (a == "--adc1-noise-uv")
            ok = real(i, 0, 1e6, o.inputs.adc1.noiseVolts, 1e-6);
        else if (a == "--adc2-volts")
            ok = real(i, -10, 10, o.inputs.adc2.volts);
        else if (a == "--adc2-offset-uv")
            ok = real(i, -1e6, 1e6, o.inputs.adc2.offsetVolts, 1e-6);
        else if (a == "--adc2-noise-uv")
            ok = real(i, 0, 1e6, o.inputs.adc2.noiseVolts, 1e-6);
        else if (a == "--frequency")
            ok = real(i, 0, 1e7, o.inputs.counterHz);
        else if (a == "--duty")
            ok = real(i, 0, 100, o.inputs.counterDuty, 0.01);
        else if (a == "--resistor")
            ok = real(i, 0, 1e9, o.inputs.resistorOhms, 1.0, true);
        else if (a == "--reference-ohms")
            ok = real(i, 0, 1e9, o.inputs.referenceOhms, 1.0, true);
        else if (a == "--seed") {
            const qulonglong seed = i + 1 < args.size() ? args[i + 1].toULongLong(&ok) : 0;
            if (ok) {
                o.inputs.seed = seed;
                ++i;
            } else {
                error = QStringLiteral("--seed needs a whole number from 0");
            }
        } else if (a == "--help" || a == "-h")
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
