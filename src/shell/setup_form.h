#pragma once
// TOption, the setup form: chip, interface, serial port settings, parallel
// port address, optocoupler option, channel, and the instrument ports.
// Every choice is applied at once.
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace qx {

class Bench;

// What the form's choices act on; the chip access layer and the transports
// fill these in.
struct SetupServices {
    std::function<void(int comIndex, int baudIndex, int parityIndex)> openChipPort;
    std::function<bool()> uartLinkSetup;
    std::function<void()> parallelInit;
    std::function<bool()> loadChipDefinition;  // GetSELUP on channel 0
    // Instrument "Select" buttons (the instrument links fill them in).
    std::function<void(const QString &portName)> selectFluke, selectPower, selectChamber;
    // Mapped device path of a port name, shown as a tooltip.
    std::function<QString(const QString &portName)> devicePath;
};

class TOption : public QWidget {
    Q_OBJECT
public:
    TOption(Bench &bench, SetupServices services, QWidget *parent = nullptr);

    // Handlers, named after their controls.
    void FormCreate();
    void CbSeluPChange(int index);
    void SelLPTChange(int index);
    void TXCOMChange();
    void TXBaudChange(int index);
    void TXParityChange(int index);
    void CLPTChange(int index);
    void BtCloseClick();
    void ChennalComChange();
    void BryMemChannelChange(int index);

    // The chip definition decides whether the instrument groups are shown.
    void applyDefinition();
    // The setup form's list of chips (as shown by CbSeluP).
    QString chipName(int index) const;
    // Sets the enabled state of the port controls for an interface type.
    void enableFor(int interfaceType);

    QComboBox *CbSeluP = nullptr;
    QComboBox *SelLPT = nullptr;
    QComboBox *TXCOM = nullptr;
    QComboBox *TXBaud = nullptr;
    QComboBox *TXParity = nullptr;
    QComboBox *CLPT = nullptr;
    QCheckBox *Photo = nullptr;
    QComboBox *ChennalCom = nullptr;
    QComboBox *FlukeCOM = nullptr, *PowerCOM = nullptr, *ChamberCOM = nullptr, *BryMemCom = nullptr;
    QComboBox *BryMemChannel = nullptr;
    QPushButton *FlukeSelect = nullptr, *PowerSelect = nullptr, *ChamberSelect = nullptr, *BryMemButtom = nullptr;
    QPushButton *BtClose = nullptr;

signals:
    void closeRequested();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    void fillFromChannel0();
    void refreshPortTooltips();
    // Programmatic list changes must not run the handlers again.
    template <typename F> void quietly(F f);

    Bench &bench_;
    SetupServices services_;
    QList<QWidget *> instrumentControls_;
    bool quiet_ = false;
    bool closing_ = false;
};

} // namespace qx
