#pragma once
// The whole tool assembled: the context, the transports, the chip access
// layer with its poll timer, and every window, created once in the fixed
// order and wired to the menus. main() makes one; an end-to-end test can
// make one on a scratch ProgramDir.
#include "transport/port_io.h"
#include "transport/usb_transport.h"

#include <QString>

#include <memory>

namespace qx {

class Bench;
class Clock;
class ConfigStore;
class EventPump;
class ParallelPort;
class PollTimer;
class Prompter;
class SerialPorts;
class TMainPanel;
class TOption;
class TQx_RAM;
class TQx_Reg2;
class TQxPopSelHex;
class TQx_UP;
struct ProgramPaths;

class BenchApp {
public:
    struct Parts {
        Clock *clock = nullptr;
        EventPump *pump = nullptr;
        Prompter *prompter = nullptr;
        std::unique_ptr<UsbTransport> usb;
        std::unique_ptr<PortAccess> ports;
    };

    BenchApp(const ProgramPaths &paths, Parts parts);
    ~BenchApp();

    // The activation step: hide every window, load the configuration files.
    void activate();

    Bench &bench() { return *bench_; }
    TQx_UP &up() { return *up_; }
    PollTimer &poll() { return *poll_; }
    TMainPanel &main() { return *main_; }
    TOption &setup() { return *setup_; }
    TQx_RAM &memoryView() { return *ram_; }
    TQx_Reg2 &registerView() { return *reg_; }
    ConfigStore &config() { return *config_; }
    SerialPorts &serialPorts() { return *serial_; }

    // Menu commands.
    void showSetup();
    void usbScan();
    bool readRam();
    void toggleIntf();
    void sleepChip();

private:
    void createWindows();
    void wireMenus();
    void bindConfiguration();
    void onConnected();
    void onClose();
    void hideAll();

    Parts parts_;
    std::unique_ptr<Bench> bench_;
    std::unique_ptr<SerialPorts> serial_;
    std::unique_ptr<ParallelPort> parallel_;
    std::unique_ptr<TQx_UP> up_;
    std::unique_ptr<PollTimer> poll_;
    std::unique_ptr<ConfigStore> config_;
    std::unique_ptr<TMainPanel> main_;
    // The windows are owned by their frames in the main window.
    TOption *setup_ = nullptr;
    TQx_RAM *ram_ = nullptr;
    TQx_Reg2 *reg_ = nullptr;
    std::unique_ptr<TQxPopSelHex> popup_;
};

} // namespace qx
