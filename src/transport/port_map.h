#pragma once
// Names of the PC's serial ports ("COM1" .. "COM17") mapped to device
// paths. The map file QxPorts.cfg in ProgramDir holds lines such as
// "COM3 /dev/ttyUSB0"; a port not named there is /dev/ttyS<n-1>.
#include <QHash>
#include <QString>

namespace qx {

struct ProgramPaths;

constexpr const char *PortMapFileName = "QxPorts.cfg";

class PortMap {
public:
    // Reads QxPorts.cfg from ProgramDir; a missing file gives an empty map.
    static PortMap load(const ProgramPaths &paths);
    // Parses the map file's text: "COMn path" per line, '#' starts a remark,
    // port names are not case-sensitive, the last line for a name wins.
    static PortMap parse(const QString &text);

    void set(const QString &portName, const QString &devicePath);
    // The device path for a port name; empty for a name that is not COMn.
    QString devicePath(const QString &portName) const;

private:
    QHash<QString, QString> paths_;  // upper-case port name -> device path
};

} // namespace qx
