#include "device/chip_definition_loader.h"

#include "core/program_paths.h"
#include "device/base_utils.h"
#include "device/chip_description.h"
#include "device/chip_selection.h"
#include "device/line_reader.h"

#include <QFileInfo>

#include <algorithm>

namespace qx {

namespace {

// Runs the section rules over the lines of one definition file.
class DefinitionReader {
public:
    explicit DefinitionReader(ChipModel &m) : m_(m), d_(m.desc) {}

    void reset()
    {
        d_.chipId = 0;
        d_.romSize = 4096;
        d_.registerAreas = {};
        d_.ramBanks = {};
        d_.bitPageCounts = {};
        d_.byteCount = d_.wordCount = d_.threeByteCount = 0;
        d_.byteRegisterNames.clear();
        d_.wordRegisterNames.clear();
        d_.pageShown = {};
        d_.instrumentsShown = false;
        // The register counters restart, and so do the lists: a definition
        // without one of the register sections must not show the registers
        // of the chip loaded before it.
        m_.bitRegisters.Clear();
        m_.byteRegisters.Clear();
        m_.wordRegisters.Clear();
    }

    void line(const QString &asRead)
    {
        pl_.setLine(asRead);
        raw_ = asRead;
        const int code = IsPseudo(pl_.token(4));
        if (code != NotDirective) {
            enterSection(code);
            return;
        }
        handle();
    }

private:
    // A number token; a token that does not parse yields the value of the
    // previous successful parse.
    int32_t num(int k)
    {
        ParseNumber(pl_.token(k), last_);
        return last_;
    }
    bool has(int k) const { return !pl_.token(k).isEmpty(); }

    static bool inMirror(int32_t a) { return a >= 0 && a < MirrorSize; }

    void enterSection(int code)
    {
        section_ = code;
        descCounter_ = 0;
        current_ = -1;
        switch (code) {
        case DirRegBit: m_.bitRegisters.Clear(); [[fallthrough]];
        case DirRegBit + 1: case DirRegBit + 2: case DirRegBit3:
            d_.pageShown[size_t(code - DirRegBit)] = true;
            break;
        case DirRegByte: m_.byteRegisters.Clear(); break;
        case DirRegWord: m_.wordRegisters.Clear(); break;
        default: break;
        }
    }

    void handle()
    {
        const int tokens = pl_.tokenCount();
        switch (section_) {
        case DirProduct:
            if (tokens > 0) {
                d_.productName = pl_.token(4);
                d_.registerViewCaption = d_.productName + " Register";
            }
            break;
        case DirId: if (tokens > 0) d_.chipId = uint16_t(num(4)); break;
        case DirRom:
            if (tokens > 0) {
                d_.romSize = num(4);
                if (d_.romSize < 256)
                    d_.romSize = 4096;
            }
            break;
        case DirReg0: case DirReg1:
            if (tokens > 0)
                d_.registerAreas[size_t(section_ - DirReg0)] = range();
            break;
        case DirStack:
            if (tokens > 0) {
                const int32_t depth = num(4);
                d_.stackDepth = depth < 4 ? 4 : uint8_t(depth);
            }
            break;
        case DirSbmAddr: if (tokens > 0) num(4); break;
        case DirSimic: if (tokens > 0) d_.simulatorId = uint16_t(num(4)); break;
        case DirAdcNum: if (tokens > 0) d_.adcCount = num(4); break;
        case DirFluke: d_.instrumentsShown = true; break;
        case DirReg3Byte: if (tokens > 0) ++d_.threeByteCount; break;
        case DirRegBit: case DirRegBit + 1: case DirRegBit + 2: case DirRegBit3:
            if (tokens > 0) bitRegister(section_ - DirRegBit);
            break;
        case DirRegByte: if (tokens > 0) byteRegister(); break;
        case DirRegWord: if (tokens > 0) wordRegister(); break;
        case DirRegBitStr: case DirRegByteStr: case DirRegWordStr: description(); break;
        case DirAds: case DirAdf: case DirOp: case DirDmmAdcClk: case DirProgramCounter: case DirMpn:
            if (tokens > 0) field();
            break;
        default:
            if (section_ >= DirRamBank0 && section_ <= DirRamBank4 && tokens > 0)
                bank(section_ - DirRamBank0);
            break;  // #COMPILER, #CMP0S, #DMM, the Chinese description sections: read past
        }
    }

    AddressRange range()
    {
        AddressRange r;
        r.start = uint16_t(num(4));
        r.end = uint16_t(num(5));
        return r;
    }

    void bank(int b)
    {
        const AddressRange r = range();
        d_.ramBanks[size_t(b)] = r;
        if (r.start < r.end)
            for (int a = r.start; a <= r.end && a < MirrorSize; ++a)
                m_.AddressMask[size_t(a)] = 0xFF;
    }

    void bitRegister(int page)
    {
        RegBitEntry e;
        const int32_t address = num(4);
        e.Address = uint16_t(address);
        e.Name = pl_.token(5);
        uint8_t mask = 0xFF;
        for (int i = 0; i < 8; ++i) {
            const QString name = pl_.token(6 + i);
            e.Bits[size_t(i)].Name = name;
            if (name == "-")
                mask &= uint8_t(~(0x80 >> i));
        }
        if (inMirror(address))
            m_.AddressMask[size_t(address)] = mask;
        m_.bitRegisters.Add(e);
        ++d_.bitPageCounts[size_t(page)];
    }

    void byteRegister()
    {
        RegByteEntry e;
        const int32_t address = num(4);
        e.Address = uint16_t(address);
        d_.byteRegisterNames << pl_.token(5);
        const int32_t mask = num(6);
        if (inMirror(address))
            m_.AddressMask[size_t(address)] = uint8_t(mask);
        m_.byteRegisters.Add(e);
        ++d_.byteCount;
    }

    void wordRegister()
    {
        RegWordEntry e;
        const int32_t high = num(4);
        d_.wordRegisterNames << pl_.token(5);
        const int32_t low = num(6);
        const int32_t maskHigh = num(8);
        const int32_t maskLow = num(9);
        e.AddressHigh = uint16_t(high);
        e.AddressLow = uint16_t(low);
        if (inMirror(high))
            m_.AddressMask[size_t(high)] = uint8_t(maskHigh);
        if (inMirror(low))
            m_.AddressMask[size_t(low)] = uint8_t(maskLow);
        m_.wordRegisters.Add(e);
        ++d_.wordCount;
    }

    int findRegister(int32_t key) const
    {
        switch (section_) {
        case DirRegBitStr: return m_.bitRegisters.IndexOfAddress(key);
        case DirRegByteStr: return m_.byteRegisters.IndexOfAddress(key);
        default: return m_.wordRegisters.IndexOfAddress(key);
        }
    }

    void description()
    {
        int32_t k = 0;
        if (pl_.tokenCount() > 0 && ParseNumber(pl_.token(4), k)) {
            last_ = k;
            if (k >= 0) {
                const int found = findRegister(k);
                if (found >= 0)
                    current_ = found;
                descCounter_ = 0;
                return;
            }
        }
        if (!pl_.hasComment() || current_ < 0)
            return;
        // The description is the text as read, after the comment's first character.
        qsizetype quote = 0;
        while (quote < raw_.size() && raw_[quote] != '"' && raw_[quote] != ';')
            ++quote;
        const QString text = raw_.mid(quote + 1);
        switch (section_) {
        case DirRegBitStr:
            if (RegBitEntry *e = m_.bitRegisters.Get(current_)) {
                if (descCounter_ == 0)
                    e->Description = text;
                else if (descCounter_ <= 8)
                    e->Bits[size_t(descCounter_ - 1)].Description = text;
            }
            break;
        case DirRegByteStr:
            if (RegByteEntry *e = m_.byteRegisters.Get(current_))
                e->Description = text;
            break;
        default:
            if (RegWordEntry *e = m_.wordRegisters.Get(current_))
                e->Description = text;
            break;
        }
        ++descCounter_;
    }

    static FieldSection sectionOf(int code)
    {
        switch (code) {
        case DirAds: return FieldSection::Ads;
        case DirAdf: return FieldSection::Adf;
        case DirOp: return FieldSection::Op;
        case DirDmmAdcClk: return FieldSection::DmmAdcClk;
        case DirProgramCounter: return FieldSection::ProgramCounter;
        default: return FieldSection::Mpn;
        }
    }

    static double gain(const QString &token)
    {
        bool ok = false;
        const double g = token.toDouble(&ok);
        return ok && g > 0 ? g : 1.0;
    }

    void field()
    {
        const int index = m_.fields.indexOf(pl_.token(5));
        if (index < 0)
            return;
        const FieldInfo &info = m_.fields.info(index);
        if (info.section != sectionOf(section_))
            return;
        FieldEntry &f = m_.fields.at(index);
        f.Address = uint16_t(num(4));
        if (info.kind != FieldKind::AddressOnly) {
            f.Width = uint8_t(num(6));
            f.Lsb = uint8_t(num(7));
        }
        f.Defined = 1;
        if (info.resetAtLoad)
            f.State = 0;
        switch (info.kind) {
        case FieldKind::Captioned:
            if (has(8)) {
                f.Caption = pl_.token(8);
                if (section_ == DirOp)
                    f.CaptionShown = true;
            }
            break;
        case FieldKind::GainCaptioned:
            f.Gains = {gain(pl_.token(8)), gain(pl_.token(9))};
            if (has(10))
                f.Caption = pl_.token(10);
            break;
        case FieldKind::Gain:
            f.Gains = {gain(pl_.token(8)), gain(pl_.token(9)), gain(pl_.token(10)), gain(pl_.token(11))};
            break;
        case FieldKind::Selector: selector(f, info, 1); break;
        case FieldKind::SelectorTwoRows: selector(f, info, 2); break;
        case FieldKind::SelectorNoLabels: selector(f, info, 0); break;
        default: break;
        }
    }

    // A multiplexer of n = 2^width choices: `rows` rows of n labels, then an
    // optional item prefix. The choice list is rebuilt from the labels.
    void selector(FieldEntry &f, const FieldInfo &info, int rows)
    {
        const int n = 1 << std::min<int>(f.Width, 8);
        f.Labels.clear();
        f.Labels2.clear();
        f.Items.clear();
        f.ItemValues.clear();
        if (rows >= 1)
            for (int k = 0; k < n; ++k)
                f.Labels << pl_.token(8 + k);
        if (rows == 2)
            for (int k = 0; k < n; ++k)
                f.Labels2 << pl_.token(8 + n + k);
        const QString prefix = pl_.token(8 + rows * n);
        const QString head = prefix.isEmpty() ? QString::fromLatin1(info.defaultPrefix) : prefix + "<";
        for (int k = 0; k < n; ++k) {
            if (rows >= 1 && f.Labels[k] == "-")
                continue;
            f.Items << head + BinText(k, f.Width) + ">";
            f.ItemValues.push_back(k);
        }
        f.ItemsRebuilt = true;
    }

    ChipModel &m_;
    ChipDescription &d_;
    ParseLine pl_;
    QString raw_;
    int section_ = 0;
    int32_t last_ = 0;
    int current_ = -1;
    int descCounter_ = 0;
};

} // namespace

int ChipDescription::bankAfterLoad(int selected) const
{
    return bankShown(selected) ? selected : 0;
}

int ChipDescription::pageAfterLoad(int selected) const
{
    return selected >= 0 && selected < 4 && bitPageCounts[size_t(selected)] > 0 ? selected : 0;
}

void LoadDefinitionLines(ChipModel &model, const QStringList &lines)
{
    DefinitionReader reader(model);
    reader.reset();
    for (const QString &l : lines)
        reader.line(l);
}

bool LoadChipDefinition(ChipModel &model, const ProgramPaths &paths, int chipIndex)
{
    model.AddressMask.fill(0);
    if (!SelectionFileExists(paths))
        return false;
    const QString path = DefinitionPathFor(paths, chipIndex);
    if (!QFileInfo(path).isFile())
        return false;
    const auto lines = ReadTextLines(path);
    if (!lines)
        return false;
    LoadDefinitionLines(model, *lines);
    return true;
}

} // namespace qx
