// qxsim: a simulated QX7020 behind a USB bridge endpoint socket and on an
// RS232 pty, for running and testing the tool without hardware.
//
// Prints one line per endpoint ("bridge: <socket path> (bulk|HID)",
// "rs232: <pty path>", "ports: <QxPorts.cfg path>"), then "ready", and runs
// until SIGINT or SIGTERM, when it stops its servers, removes its socket and
// prints "stopped".
#include "core/clock.h"
#include "sim/bridge_endpoint_server.h"
#include "sim/bridge_model.h"
#include "sim/pty_rs232_server.h"
#include "sim/qxsim_options.h"
#include "sim/rs232_protocol.h"
#include "sim/sim_chip.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <csignal>
#include <pthread.h>

using namespace qx;
using namespace qx::sim;

int main(int argc, char **argv)
{
    // The stop signals are taken by sigwait below; blocking them before any
    // server thread starts keeps every thread from taking them itself.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QString error;
    const auto options = ParseQxsimOptions(args, error);
    if (!options) {
        err << "qxsim: " << error << "\n" << QxsimUsage();
        return 2;
    }
    if (options->help) {
        out << QxsimUsage();
        return 0;
    }

    SystemClock clock;
    SimChip chip;
    chip.setInputs(options->inputs);
    chip.setClock(&clock);  // the chip converts in real time
    BridgeModel bridge(chip);
    Rs232Protocol rs232(chip);
    PtyRs232Server pty(rs232);

    if (!PrepareEndpointDir(options->dir, error)) {
        err << "qxsim: " << error << "\n";
        return 1;
    }
    BridgeEndpointServer endpoint(EndpointPath(*options), SimulatedBridgeHello(options->hid),
                                  [&bridge](std::span<const uint8_t> r) { return bridge.exchange(r); });
    endpoint.setLatency(&clock, options->latencyMs);
    if (!endpoint.start(error)) {
        err << "qxsim: " << error << "\n";
        return 1;
    }
    out << "bridge: " << endpoint.path() << (options->hid ? " (HID)" : " (bulk)") << "\n";

    if (pty.open()) {
        pty.start();
        const QString ptyPath = QString::fromStdString(pty.slavePath());
        out << "rs232: " << ptyPath << "\n";
        if (!options->portsProgramDir.isEmpty()) {
            if (UpdatePortsFile(options->portsProgramDir, options->com, ptyPath, error))
                out << "ports: " << QDir(options->portsProgramDir).filePath("QxPorts.cfg") << " (COM"
                    << options->com << ")\n";
            else
                err << "qxsim: " << error << "\n";
        }
    } else {
        err << "qxsim: no pty for the RS232 link\n";
    }
    out << "ready" << Qt::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    endpoint.stop();
    pty.stop();
    out << "stopped" << Qt::endl;
    return 0;
}
