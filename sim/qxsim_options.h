#pragma once
// Command line and output files of the qxsim program.
#include "sim/conversion_engine.h"
#include "transport/sim_endpoint_wire.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qx::sim {

struct QxsimOptions {
    bool hid = false;         // serve a HID bridge ("QxHID-n") instead of a bulk one ("QxUSB-n")
    int number = 0;           // endpoint number / HID index
    QString dir;              // endpoint folder (default: the tool's endpoint folder)
    int latencyMs = 0;        // cost of every report
    QString portsProgramDir;  // where to write QxPorts.cfg; empty: none
    int com = 1;              // the COM name the chip's RS232 pty is mapped to
    ChipInputs inputs;        // what the chip's analog inputs see
    bool help = false;
};

QString QxsimUsage();
// nullopt with `error` set for a bad command line.
std::optional<QxsimOptions> ParseQxsimOptions(const QStringList &args, QString &error);

// The hello of a simulated bridge: the real bridges' ids, 64-byte reports.
simwire::Hello SimulatedBridgeHello(bool hid);
QString EndpointPath(const QxsimOptions &options);

// Maps "COM<com>" to `device` in ProgramDir's QxPorts.cfg: its line is
// replaced or added, every other line kept. Written atomically.
bool UpdatePortsFile(const QString &programDir, int com, const QString &device, QString &error);

} // namespace qx::sim
