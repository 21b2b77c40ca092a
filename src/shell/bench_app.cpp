#include "shell/bench_app.h"

#include "chipaccess/poll_timer.h"
#include "chipaccess/qx_up.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "shell/app_title.h"
#include "shell/config_store.h"
#include "shell/main_panel.h"
#include "shell/setup_form.h"
#include "transport/parallel_port.h"
#include "transport/serial_port_io.h"
#include "transport/serial_ports.h"
#include "transport/usb_transport.h"
#include "views/hex_entry_popup.h"
#include "views/memory_view.h"
#include "views/register_view.h"
#include "views/view_seams.h"

#include <QAction>
#include <QComboBox>
#include <QCheckBox>
#include <QMdiSubWindow>

namespace qx {

BenchApp::BenchApp(const ProgramPaths &paths, Parts parts) : parts_(std::move(parts))
{
    // Creation order: main window, base form (the context), chip access
    // layer, setup form, then the other windows.
    bench_ = std::make_unique<Bench>(*parts_.clock, *parts_.pump, *parts_.prompter, paths);
    serial_ = std::make_unique<SerialPorts>(QtSerialPortOpener(*parts_.clock), PortMap::load(paths));
    if (parts_.ports)
        parallel_ = std::make_unique<ParallelPort>(*parts_.ports);
    up_ = std::make_unique<TQx_UP>(*bench_, parts_.usb.get(), parallel_.get());
    poll_ = std::make_unique<PollTimer>(*bench_, *up_);
    config_ = std::make_unique<ConfigStore>(*bench_);
    main_ = std::make_unique<TMainPanel>(*bench_);
    main_->restoreOnFirstShow = false;  // activate() applies it after hiding every window
    config_->setAppTitle(main_->windowTitle());
    bench_->status.shown = [this](int panel, const QString &text) { main_->setStatusText(panel, text); };
    createWindows();
    wireMenus();
    bindConfiguration();
    up_->connected.add([this] { onConnected(); });
    main_->onClose = [this] { onClose(); };
    poll_->start();
}

BenchApp::~BenchApp()
{
    // End of the run: close the chip's serial link, release the bridge, and
    // power the DMM front end down.
    poll_->stop();
    poll_->PollEnable = false;
    // The front end is powered down before the bridge is released: once
    // released, the bridge is closed and could no longer take the command.
    STND &d = bench_->device();
    if (d.interface() == InterfaceKind::DMM && d.Usb.Connected)
        up_->BridgeDmmPower(false);
    if (d.Usb.Connected && d.Usb.Handle)
        up_->BridgeRelease();
    serial_->closeAll();
}

void BenchApp::createWindows()
{
    SetupServices s;
    s.openChipPort = [this](int com, int baud, int parity) { OpenChipPort(*bench_, *serial_, com, baud, parity); };
    s.uartLinkSetup = [this] { return up_->UartLinkSetup(); };
    s.parallelInit = [this] {
        if (parallel_)
            parallel_->ParallelInit(bench_->ParallelPortBase);
    };
    s.loadChipDefinition = [this] { return GetSELUP(*bench_, 0); };
    s.devicePath = [this](const QString &name) { return serial_->map().devicePath(name); };
    setup_ = new TOption(*bench_, std::move(s));
    main_->panels().adopt(setup_);
    QObject::connect(setup_, &TOption::closeRequested, main_.get(), [this] { main_->HidePanel(setup_); });

    popup_ = std::make_unique<TQxPopSelHex>(main_.get());
    ram_ = new TQx_RAM(*bench_, *up_, AskWith(*popup_));
    main_->panels().adopt(ram_);
    reg_ = new TQx_Reg2(*bench_, *up_, AskWith(*popup_));
    main_->panels().adopt(reg_);
}

void BenchApp::hideAll()
{
    for (QWidget *w : main_->panels().panels())
        main_->HidePanel(w);
}

void BenchApp::activate()
{
    hideAll();
    QString error;
    if (config_->LoadConfig(bench_->paths.inProgramDir(ConfigFileName), &error) == 0 && !error.isEmpty())
        bench_->status.show(1, "QxADC.cfg: " + error);
    if (!config_->LoadSteps(bench_->paths.inProgramDir(StepConfigFileName), &error))
        bench_->status.show(1, "StepADC.txt: " + error);
    // The windows that were open at the last close come back at their places.
    main_->restorePlacements();
}

void BenchApp::wireMenus()
{
    auto on = [this](const char *name, auto fn) {
        QObject::connect(main_->action(name), &QAction::triggered, main_.get(), fn);
    };
    on("SMenu_Option", [this] { showSetup(); });
    on("SMenu_RAM", [this] { main_->ShowPanel(ram_); });
    on("SMenu_REG", [this] { main_->ShowPanel(reg_); });
    on("USBScan", [this] { usbScan(); });
    on("Menu_ReadRAM", [this] { readRam(); });
    on("Menu_INTF", [this] { toggleIntf(); });
    on("SLEEP1", [this] { sleepChip(); });
    poll_->pollStateChanged.add([this] { main_->showPollState(poll_->PollEnable); });
}

void BenchApp::showSetup()
{
    // Chip list and interface list show the stored choices; the form opens
    // 40 pixels right of and below the frame's corner.
    setup_->selectStored();
    main_->panels().frameOf(setup_)->move(40, 40);
    main_->ShowPanel(setup_);
}

void BenchApp::usbScan()
{
    const InterfaceKind k = bench_->device().interface();
    if (k == InterfaceKind::SPI || k == InterfaceKind::Special || k == InterfaceKind::UART || k == InterfaceKind::DMM)
        up_->USBConnect();
}

bool BenchApp::readRam()
{
    if (!up_->ReadChipBlock(0, 64))
        return false;
    for (int a = 0; a < 64; ++a)
        up_->WriteMirror(a, bench_->FrameBuffer[size_t(a)]);
    for (ViewSlot slot : {ViewSlot::MemoryView, ViewSlot::RegisterView, ViewSlot::AdcClock, ViewSlot::ProgramCounter,
                          ViewSlot::Mpn, ViewSlot::Ads, ViewSlot::Adf, ViewSlot::Op})
        up_->views().refresh(slot);
    return true;
}

void BenchApp::toggleIntf()
{
    poll_->setPollEnable(!poll_->PollEnable);
}

void BenchApp::sleepChip()
{
    const uint8_t sleep = 0xA5;
    up_->writeBlock(0xFD, std::span<const uint8_t>(&sleep, 1));
}

void BenchApp::onConnected()
{
    setup_->ChennalComChange();
    const QString name = setup_->chipName(bench_->device().ChipIndex);
    ram_->setChipName(name);
    reg_->setChipName(name);
    ram_->Refresh(false);
    reg_->Refresh(false);
}

void BenchApp::bindConfiguration()
{
    ConfigStore::Binding setupForm;
    setupForm.collect = [this](QxAdcConfig &c) {
        c.lptIndex = setup_->CLPT->currentIndex();
        c.photo = setup_->Photo->isChecked() ? 1 : 0;
        c.scaleShadow = {bench_->ScaleShadow[0], bench_->ScaleShadow[1], bench_->ScaleShadow[2],
                         bench_->ScaleShadow[3], bench_->ScaleShadow[4], bench_->ScaleShadow[5]};
        c.dmmShadow = {bench_->DmmShadow[0], bench_->DmmShadow[1], bench_->DmmShadow[2],
                       bench_->DmmShadow[3], bench_->DmmShadow[4], bench_->DmmShadow[5]};
    };
    setupForm.apply = [this](const QxAdcConfig &c, int groups) {
        const STND &d = bench_->device();
        if (groups > 0) {
            auto index = [](QComboBox *box, int i) { box->setCurrentIndex(i >= 0 && i < box->count() ? i : -1); };
            const QSignalBlocker b1(setup_->TXBaud), b2(setup_->TXCOM), b3(setup_->TXParity);
            index(setup_->TXBaud, d.BaudIndex);
            index(setup_->TXCOM, d.ComIndex);
            index(setup_->TXParity, d.ParityIndex);
        }
        if (groups > 6) {
            const QSignalBlocker b(setup_->CLPT);
            setup_->CLPT->setCurrentIndex(c.lptIndex >= 0 && c.lptIndex < 3 ? c.lptIndex : -1);
            bench_->ParallelPortBase = ParallelBaseForIndex(c.lptIndex);
        }
        if (groups > 8)
            for (int i = 0; i < 6; ++i) {
                bench_->ScaleShadow[size_t(i)] = uint8_t(c.scaleShadow[size_t(i)]);
                bench_->DmmShadow[size_t(i)] = uint8_t(c.dmmShadow[size_t(i)]);
            }
        if (groups > 10)
            setup_->Photo->setChecked(c.photo == 1);
    };
    config_->bind(std::move(setupForm));

    ConfigStore::Binding views;
    views.collect = [this](QxAdcConfig &c) {
        c.registerPage = reg_->page();
        c.memoryBank = ram_->bank();
    };
    views.apply = [this](const QxAdcConfig &c, int groups) {
        if (groups > 2) {
            reg_->selectPage(c.registerPage);
            ram_->selectBank(c.memoryBank);
        }
    };
    config_->bind(std::move(views));

    ConfigStore::AfterLoad after;
    after.loadChipDefinition = [this] { return GetSELUP(*bench_, 0); };
    after.enableSetupControls = [this](int type) { setup_->enableFor(type); };
    after.openChipPort = [this] { setup_->TXCOMChange(); };
    after.parallelInit = [this] {
        if (parallel_)
            parallel_->ParallelInit(bench_->ParallelPortBase);
    };
    config_->setAfterLoad(std::move(after));
}

void BenchApp::onClose()
{
    poll_->setPollEnable(false);
    poll_->stop();
    QString error;
    if (!config_->SaveConfig(bench_->paths.inProgramDir(ConfigFileName), &error)) {
        bench_->status.show(1, "QxADC.cfg not saved: " + error);
        bench_->prompter.message("QxADC.cfg", "The configuration could not be saved:\n" + error,
                                 Prompter::Buttons::Ok);
    }
    if (!config_->SaveSteps(bench_->paths.inProgramDir(StepConfigFileName), &error))
        bench_->status.show(1, "StepADC.txt not saved: " + error);
    bench_->chip.bitRegisters.Clear();
    bench_->chip.byteRegisters.Clear();
    bench_->chip.wordRegisters.Clear();
    hideAll();
}

} // namespace qx
