#include "shell/config_store.h"

#include "core/atomic_file.h"
#include "device/bench.h"

#include <QFile>
#include <QFileInfo>

namespace qx {

bool ConfigStore::SaveConfig(const QString &path, QString *error)
{
    // Channel 0's record is the source of group 0.
    const STND &d = bench_.device();
    values.chipIndex = d.ChipIndex;
    values.interfaceType = d.InterfaceType;
    values.comIndex = d.ComIndex;
    values.baudIndex = d.BaudIndex;
    values.parityIndex = d.ParityIndex;
    for (const Binding &b : bindings_)
        if (b.collect)
            b.collect(values);
    return WriteFileAtomically(path, EncodeQxAdcConfig(title_, values), error);
}

int ConfigStore::LoadConfig(const QString &path, QString *error)
{
    if (!QFileInfo::exists(path) && !SaveConfig(path, error))
        return 0;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return 0;
    }
    const QxAdcConfigLoad load = DecodeQxAdcConfig(f.readAll(), title_, values);
    if (!load.titleMatched)
        return -1;
    values = load.config;
    if (load.groupsRead > 0) {
        STND &d = bench_.device();
        d.ChipIndex = uint16_t(values.chipIndex);
        d.InterfaceType = uint16_t(values.interfaceType);
        d.ComIndex = values.comIndex;
        d.BaudIndex = values.baudIndex;
        d.ParityIndex = values.parityIndex;
    }
    for (const Binding &b : bindings_)
        if (b.apply)
            b.apply(values, load.groupsRead);

    if (after_.loadChipDefinition)
        after_.loadChipDefinition();
    const int type = bench_.device().InterfaceType;
    if (after_.enableSetupControls)
        after_.enableSetupControls(type);
    if (InterfaceKind(type) == InterfaceKind::RS232 && after_.openChipPort)
        after_.openChipPort();
    if (InterfaceKind(type) == InterfaceKind::Parallel && after_.parallelInit)
        after_.parallelInit();
    return load.groupsRead;
}

bool ConfigStore::SaveSteps(const QString &path, QString *error)
{
    return WriteFileAtomically(path, EncodeStepAdcConfig(steps), error);
}

bool ConfigStore::LoadSteps(const QString &path, QString *error)
{
    if (!QFileInfo::exists(path) && !SaveSteps(path, error))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    steps = DecodeStepAdcConfig(f.readAll(), steps);
    return true;
}

} // namespace qx
