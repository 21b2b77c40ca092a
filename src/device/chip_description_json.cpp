#include "device/chip_description_json.h"

#include "device/base_utils.h"
#include "device/chip_description.h"

#include <QJsonArray>
#include <QTextStream>

namespace qx {

namespace {

QJsonObject rangeJson(const AddressRange &r)
{
    return QJsonObject{{"start", r.start}, {"end", r.end}};
}

QJsonArray strings(const QStringList &l)
{
    QJsonArray a;
    for (const QString &s : l)
        a.append(s);
    return a;
}

bool hasCaption(FieldKind k) { return k == FieldKind::Captioned || k == FieldKind::GainCaptioned; }
bool hasGains(FieldKind k) { return k == FieldKind::Gain || k == FieldKind::GainCaptioned; }
bool isSelector(FieldKind k)
{
    return k == FieldKind::Selector || k == FieldKind::SelectorTwoRows || k == FieldKind::SelectorNoLabels;
}

QString hex(int v, int w) { return "0x" + HexText(v, w); }

} // namespace

QJsonObject DescriptionToJson(const ChipModel &m)
{
    const ChipDescription &d = m.desc;
    QJsonObject o;
    o["product"] = d.productName;
    o["id"] = d.chipId;
    o["rom"] = d.romSize;
    o["stack"] = d.stackDepth;
    o["simulatorId"] = d.simulatorId;
    o["adcCount"] = d.adcCount;
    o["fluke"] = d.instrumentsShown;
    o["areas"] = QJsonArray{rangeJson(d.registerAreas[0]), rangeJson(d.registerAreas[1])};
    QJsonArray banks;
    for (const auto &b : d.ramBanks)
        banks.append(rangeJson(b));
    o["banks"] = banks;
    o["bitPageCounts"] = QJsonArray{d.bitPageCounts[0], d.bitPageCounts[1], d.bitPageCounts[2], d.bitPageCounts[3]};
    o["threeByteCount"] = d.threeByteCount;

    QJsonArray bits;
    for (int i = 0; i < m.bitRegisters.Count(); ++i) {
        const RegBitEntry &e = *m.bitRegisters.Get(i);
        QJsonArray names, descs;
        for (const auto &slot : e.Bits) {
            names.append(slot.Name.str());
            descs.append(slot.Description.str());
        }
        bits.append(QJsonObject{{"name", e.Name.str()}, {"address", e.Address},
                                {"description", e.Description.str()},
                                {"bitNames", names}, {"bitDescriptions", descs}});
    }
    o["bitRegisters"] = bits;
    QJsonArray bytes;
    for (int i = 0; i < m.byteRegisters.Count(); ++i) {
        const RegByteEntry &e = *m.byteRegisters.Get(i);
        bytes.append(QJsonObject{{"name", d.byteRegisterNames.value(i)}, {"address", e.Address},
                                 {"mask", m.AddressMask[e.Address % MirrorSize]},
                                 {"description", e.Description.str()}});
    }
    o["byteRegisters"] = bytes;
    QJsonArray words;
    for (int i = 0; i < m.wordRegisters.Count(); ++i) {
        const RegWordEntry &e = *m.wordRegisters.Get(i);
        words.append(QJsonObject{{"name", d.wordRegisterNames.value(i)}, {"addressHigh", e.AddressHigh},
                                 {"addressLow", e.AddressLow}, {"description", e.Description.str()}});
    }
    o["wordRegisters"] = words;

    QJsonArray mask;
    for (int a = 0; a < MirrorSize; ++a)
        if (m.AddressMask[size_t(a)] != 0)
            mask.append(QJsonObject{{"address", a}, {"mask", m.AddressMask[size_t(a)]}});
    o["addressMask"] = mask;

    QJsonObject fields;
    for (int i = 0; i < FieldCount; ++i) {
        const FieldInfo &info = m.fields.info(i);
        const FieldEntry &f = m.fields.at(i);
        QJsonObject j{{"address", f.Address}, {"width", f.Width}, {"lsb", f.Lsb},
                      {"defined", f.Defined != 0}, {"state", f.State}};
        if (hasCaption(info.kind))
            j["caption"] = f.Caption;
        if (isSelector(info.kind)) {
            if (info.kind != FieldKind::SelectorNoLabels)
                j["labels"] = strings(f.Labels);
            if (info.kind == FieldKind::SelectorTwoRows)
                j["labels2"] = strings(f.Labels2);
            j["items"] = strings(f.Items);
        }
        if (hasGains(info.kind)) {
            QJsonArray g;
            for (double v : f.Gains)
                g.append(v);
            j["gains"] = g;
        }
        fields[QString::fromLatin1(info.name)] = j;
    }
    o["fields"] = fields;
    return o;
}

QString DescriptionToText(const ChipModel &m)
{
    const ChipDescription &d = m.desc;
    QString out;
    QTextStream s(&out);
    s << "Product      " << d.productName << "\n";
    s << "Id           " << hex(d.chipId, 4) << "\n";
    s << "ROM          " << d.romSize << "\n";
    s << "Stack        " << d.stackDepth << "\n";
    s << "Simulator id " << d.simulatorId << "\n";
    s << "ADC count    " << d.adcCount << "\n";
    s << "Instruments  " << (d.instrumentsShown ? "shown" : "hidden") << "\n";
    for (int i = 0; i < 2; ++i)
        s << "Register area " << i << "  " << hex(d.registerAreas[size_t(i)].start, 3) << ".."
          << hex(d.registerAreas[size_t(i)].end, 3) << "\n";
    for (int i = 0; i < 5; ++i)
        if (d.ramBanks[size_t(i)].present())
            s << "RAM bank " << i << "       " << hex(d.ramBanks[size_t(i)].start, 3) << ".."
              << hex(d.ramBanks[size_t(i)].end, 3) << "\n";
    s << "\nBit registers (" << m.bitRegisters.Count() << "; per page "
      << d.bitPageCounts[0] << "/" << d.bitPageCounts[1] << "/" << d.bitPageCounts[2] << "/"
      << d.bitPageCounts[3] << ")\n";
    for (int i = 0; i < m.bitRegisters.Count(); ++i) {
        const RegBitEntry &e = *m.bitRegisters.Get(i);
        s << "  " << hex(e.Address, 3) << " " << e.Name.str().leftJustified(15) << " mask "
          << hex(m.AddressMask[e.Address % MirrorSize], 2) << " ";
        for (const auto &slot : e.Bits)
            s << " " << (slot.Name.isEmpty() ? QString("?") : slot.Name.str());
        if (!e.Description.isEmpty())
            s << "  \"" << e.Description.str() << "\"";
        s << "\n";
    }
    s << "\nByte registers (" << m.byteRegisters.Count() << ")\n";
    for (int i = 0; i < m.byteRegisters.Count(); ++i) {
        const RegByteEntry &e = *m.byteRegisters.Get(i);
        s << "  " << hex(e.Address, 3) << " " << d.byteRegisterNames.value(i).leftJustified(15)
          << " mask " << hex(m.AddressMask[e.Address % MirrorSize], 2);
        if (!e.Description.isEmpty())
            s << "  \"" << e.Description.str() << "\"";
        s << "\n";
    }
    s << "\nWord registers (" << m.wordRegisters.Count() << ")\n";
    for (int i = 0; i < m.wordRegisters.Count(); ++i) {
        const RegWordEntry &e = *m.wordRegisters.Get(i);
        s << "  " << hex(e.AddressHigh, 3) << ":" << hex(e.AddressLow, 3) << " "
          << d.wordRegisterNames.value(i).leftJustified(15);
        if (!e.Description.isEmpty())
            s << "  \"" << e.Description.str() << "\"";
        s << "\n";
    }
    s << "\nFields (" << m.fields.definedCount() << " of " << FieldCount << " defined)\n";
    for (int i = 0; i < FieldCount; ++i) {
        const FieldEntry &f = m.fields.at(i);
        s << "  " << QString::fromLatin1(m.fields.info(i).name).leftJustified(9);
        if (!f.Defined) {
            s << " (not defined)\n";
            continue;
        }
        s << " " << hex(f.Address, 3) << " width " << f.Width << " lsb " << f.Lsb;
        if (!f.Caption.isEmpty())
            s << "  caption " << f.Caption;
        if (!f.Labels.isEmpty())
            s << "  labels " << f.Labels.join(' ');
        if (!f.Labels2.isEmpty())
            s << " / " << f.Labels2.join(' ');
        if (!f.Gains.empty()) {
            s << "  gains";
            for (double g : f.Gains)
                s << " " << g;
        }
        if (!f.Items.isEmpty())
            s << "  items " << f.Items.join(' ');
        s << "\n";
    }
    return out;
}

} // namespace qx
