#include "shell/qxadc_config.h"

#include "device/base_utils.h"
#include "shell/config_text.h"

namespace qx {

QString ChipVariantCode(int variant)
{
    switch (variant) {
    case 1: return "03077";
    case 2: return "0B108";
    case 3: return "0B301";
    default: return "0B3F7";
    }
}

int ChipVariantFromCode(const QString &line)
{
    switch (ParseHex(line)) {
    case 0x3077: return 1;
    case 0xB108: return 2;
    case 0xB301: return 3;
    default: return 0;
    }
}

int64_t ModeCountForSave(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    const qsizetype digits = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - digits < 18)
        ++i;
    if (i == digits)
        return 48;
    const int64_t v = text.mid(start, i - start).toLongLong();
    return v == 0 ? 48 : v;
}

void ApplyCalibrationDefaults(int64_t &reference, int64_t &reading)
{
    if (reference == 0 || reading == 0) {
        reference = 500000;
        reading = 50000;
    }
}

uint16_t ParallelBaseForIndex(int lptIndex)
{
    switch (lptIndex) {
    case 1: return 0x278;
    case 2: return 0x3BC;
    default: return 0x378;
    }
}

QByteArray EncodeQxAdcConfig(const QString &appTitle, const QxAdcConfig &c)
{
    ConfigWriter w;
    w.line(appTitle);
    w.integer(c.chipIndex, 4).integer(c.interfaceType, 4).integer(c.comIndex, 4)
        .integer(c.baudIndex, 4).integer(c.parityIndex, 4).endLine();
    for (bool f : c.options)
        w.boolean(f);
    w.integer(c.registerPage, 2).endLine().integer(c.memoryBank, 2).endLine();
    w.integer(c.adsOutputBits, 4).integer(c.adpOutputBits, 4).integer(c.peakHoldSelect, 4).endLine();
    w.integer(c.pointIndex, 4).integer(c.scaleIndex, 4).endLine().boolean(c.fftView);
    w.integer(c.functionIndex, 4).endLine();
    w.integer(c.lptIndex, 4).endLine();
    w.integer(c.calibrationReference, 8).integer(c.calibrationReading, 8).endLine();
    for (int v : c.scaleShadow)
        w.integer(v, 4);
    w.endLine();
    for (int v : c.dmmShadow)
        w.integer(v, 4);
    w.endLine();
    w.integer(c.comFun, 4).endLine().integer(c.adShift, 4).endLine();
    w.integer(c.photo, 4).endLine();
    w.line(c.referenceVoltage);
    w.integer(c.averageIndex, 4).endLine();
    w.integer(ModeCountForSave(c.modeCountText), 6).endLine();
    w.line(ChipVariantCode(c.chipVariant));
    w.line(c.setdmmFolder);
    return w.bytes();
}

namespace {

// Reads `n` integers of one line into `out`; false when one is not a number.
template <typename T, size_t N>
bool readInts(ConfigReader &r, std::array<T *, N> out)
{
    std::array<int64_t, N> v{};
    for (size_t i = 0; i < N; ++i) {
        const auto x = r.integer();
        if (!x)
            return false;
        v[i] = *x;
    }
    r.skipRestOfLine();
    for (size_t i = 0; i < N; ++i)
        *out[i] = T(v[i]);
    return true;
}

bool readGroup(ConfigReader &r, int g, QxAdcConfig &c)
{
    switch (g) {
    case 0:
        return readInts<int, 5>(r, {&c.chipIndex, &c.interfaceType, &c.comIndex, &c.baudIndex, &c.parityIndex});
    case 1:
        for (bool &f : c.options)
            f = r.boolean();
        return true;
    case 2:
        return readInts<int, 1>(r, {&c.registerPage}) && readInts<int, 1>(r, {&c.memoryBank});
    case 3:
        return readInts<int, 3>(r, {&c.adsOutputBits, &c.adpOutputBits, &c.peakHoldSelect});
    case 4:
        if (!readInts<int, 2>(r, {&c.pointIndex, &c.scaleIndex}))
            return false;
        r.line();           // the chart flag is read and ignored:
        c.fftView = false;  // a loaded configuration always shows the table
        return true;
    case 5: return readInts<int, 1>(r, {&c.functionIndex});
    case 6: return readInts<int, 1>(r, {&c.lptIndex});
    case 7:
        if (!readInts<int64_t, 2>(r, {&c.calibrationReference, &c.calibrationReading}))
            return false;
        ApplyCalibrationDefaults(c.calibrationReference, c.calibrationReading);
        return true;
    case 8: {
        auto &s = c.scaleShadow;
        auto &d = c.dmmShadow;
        return readInts<int, 6>(r, {&s[0], &s[1], &s[2], &s[3], &s[4], &s[5]}) &&
               readInts<int, 6>(r, {&d[0], &d[1], &d[2], &d[3], &d[4], &d[5]});
    }
    case 9: return readInts<int, 1>(r, {&c.comFun}) && readInts<int, 1>(r, {&c.adShift});
    case 10: return readInts<int, 1>(r, {&c.photo});
    case 11: c.referenceVoltage = r.line(); return true;
    case 12: return readInts<int, 1>(r, {&c.averageIndex});
    case 13: return true;
    case 14: {
        int64_t n = 0;
        if (!readInts<int64_t, 1>(r, {&n}))
            return false;
        c.modeCountText = QString::number(n);
        return true;
    }
    case 15: c.chipVariant = ChipVariantFromCode(r.line()); return true;
    case 16: c.setdmmFolder = r.line(); return true;
    default: return false;
    }
}

} // namespace

QxAdcConfigLoad DecodeQxAdcConfig(const QByteArray &bytes, const QString &appTitle, const QxAdcConfig &current)
{
    QxAdcConfigLoad load;
    load.config = current;
    ConfigReader r(bytes);
    if (r.line() != appTitle)
        return load;
    load.titleMatched = true;
    for (int g = 0; g < ConfigGroupCount; ++g) {
        if (r.atEnd())
            break;
        // A group is applied whole or not at all.
        QxAdcConfig next = load.config;
        if (!readGroup(r, g, next))
            break;
        load.config = next;
        load.groupsRead = g + 1;
    }
    return load;
}

} // namespace qx
