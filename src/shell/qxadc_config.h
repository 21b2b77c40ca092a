#pragma once
// "QxADC.cfg": the title line, then groups 0..16 of settings.
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace qx {

constexpr const char *ConfigFileName = "QxADC.cfg";
constexpr int ConfigGroupCount = 17;

struct QxAdcConfig {
    // 0: channel 0's selection
    int chipIndex = 0, interfaceType = 0, comIndex = 0, baudIndex = 0, parityIndex = 0;
    // 1: six option flags kept for the layout only
    std::array<bool, 6> options{};
    // 2: register view page (0..3), memory view bank (0..4)
    int registerPage = 0, memoryBank = 0;
    // 3: TXADCObit, TXADPFbit, TXPHSEL
    int adsOutputBits = 0, adpOutputBits = 0, peakHoldSelect = 0;
    // 4: NPointIndex, TXScale; FftView (read and ignored)
    int pointIndex = 0, scaleIndex = 0;
    bool fftView = false;
    // 5: CFunADC
    int functionIndex = 0;
    // 6: CLPT
    int lptIndex = 0;
    // 7: voltage calibration pair (reference, reading)
    int64_t calibrationReference = 0, calibrationReading = 0;
    // 8: registers 0x3C..0x40 and 0x30, for the Scale and the DMM function
    std::array<int, 6> scaleShadow{}, dmmShadow{};
    // 9: ComFun, ADShift
    int comFun = 0, adShift = 0;
    // 10: optocoupler option
    int photo = 0;
    // 11: EREFV text
    QString referenceVoltage;
    // 12: CMAVR
    int averageIndex = 0;
    // 14: test mode count (the EModenum text at save time)
    QString modeCountText;
    // 15: chip variant 0..3
    int chipVariant = 0;
    // 16: SETDMM folder
    QString setdmmFolder;
};

// Writes title and all groups, CR LF lines.
QByteArray EncodeQxAdcConfig(const QString &appTitle, const QxAdcConfig &c);

struct QxAdcConfigLoad {
    bool titleMatched = false;
    int groupsRead = 0;   // groups 0..groupsRead-1 were read and applied to `config`
    QxAdcConfig config;
};
// Reads a file over `current`: groups present replace their values, the
// others keep theirs. Reading stops at the end of the file or at a group
// whose numbers are not numbers.
QxAdcConfigLoad DecodeQxAdcConfig(const QByteArray &bytes, const QString &appTitle, const QxAdcConfig &current);

// Group 14: the integer at the start of the text (leading spaces and a sign
// allowed); 48 when there is none or it is 0.
int64_t ModeCountForSave(const QString &text);

// Group 15: variant code lines.
QString ChipVariantCode(int variant);
int ChipVariantFromCode(const QString &line);

// Group 7: a stored 0 stands for the defaults 500000 / 50000.
void ApplyCalibrationDefaults(int64_t &reference, int64_t &reading);

// Group 6: parallel-port base of the CLPT index.
uint16_t ParallelBaseForIndex(int lptIndex);

} // namespace qx
