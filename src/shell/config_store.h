#pragma once
// LoadConfig / SaveConfig of "QxADC.cfg" and "StepADC.txt". The store holds
// the values of every group; the windows that own a group fill it in before
// a save and take it over after a load. A group whose window does not exist
// yet keeps the value read, so a load followed by a save loses nothing.
#include "shell/qxadc_config.h"
#include "shell/step_adc_config.h"

#include <QString>

#include <functional>
#include <vector>

namespace qx {

class Bench;

class ConfigStore {
public:
    struct Binding {
        std::function<void(QxAdcConfig &)> collect;             // window -> values, before a save
        std::function<void(const QxAdcConfig &, int groupsRead)> apply;  // values -> window, after a load
    };
    // The steps after the group loop of a load.
    struct AfterLoad {
        std::function<bool()> loadChipDefinition;
        std::function<void(int interfaceType)> enableSetupControls;
        std::function<void()> openChipPort;   // RS232
        std::function<void()> parallelInit;   // Parallel
    };

    explicit ConfigStore(Bench &bench) : bench_(bench) {}

    void bind(Binding b) { bindings_.push_back(std::move(b)); }
    void setAfterLoad(AfterLoad a) { after_ = std::move(a); }

    QxAdcConfig values;
    StepAdcConfig steps;

    // Title of the run: the key of the file.
    void setAppTitle(const QString &t) { title_ = t; }
    const QString &appTitle() const { return title_; }

    // false (and `error` set) when the file cannot be written; the old file stays whole.
    bool SaveConfig(const QString &path, QString *error = nullptr);
    // Creates the file when missing, then reads and applies it. Returns the
    // number of groups applied; -1 when the title did not match.
    int LoadConfig(const QString &path, QString *error = nullptr);

    bool SaveSteps(const QString &path, QString *error = nullptr);
    bool LoadSteps(const QString &path, QString *error = nullptr);

private:
    Bench &bench_;
    QString title_;
    std::vector<Binding> bindings_;
    AfterLoad after_;
};

} // namespace qx
