#include "device/field_table.h"

namespace qx {

namespace {
using S = FieldSection;
using K = FieldKind;
constexpr bool R = true;   // reset at load
constexpr bool N = false;
} // namespace

const std::array<FieldInfo, FieldCount> &FieldInfos()
{
    static const std::array<FieldInfo, FieldCount> infos{{
        // ADC1
        {"VIPBUF", S::Ads, K::Captioned, "", N}, {"VINBUF", S::Ads, K::Captioned, "", N},
        {"VRPBUF", S::Ads, K::Captioned, "", N}, {"VRNBUF", S::Ads, K::Captioned, "", N},
        {"VRGNAD1", S::Ads, K::GainCaptioned, "", N}, {"AD1OSR", S::Ads, K::Plain, "", N},
        {"AD1CHO", S::Ads, K::Plain, "", N}, {"DCOS", S::Ads, K::Plain, "", N},
        {"AD1GN", S::Ads, K::Gain, "", N}, {"S_AD1IP", S::Ads, K::Selector, "ADSIP<", R},
        {"S_AD1IN", S::Ads, K::Selector, "ADSIN<", R}, {"S_FT1", S::Ads, K::Plain, "", R},
        {"S_AD1RL", S::Ads, K::Selector, "ADSRN<", R}, {"S_AD1RH", S::Ads, K::Selector, "ADSRP<", R},
        {"ADSIP", S::Ads, K::SelectorTwoRows, "ADSIP<", R}, {"ENAD_S", S::Ads, K::Captioned, "", R},
        {"SADC_IF", S::Ads, K::Plain, "", R},
        // ADC2 / ADC3
        {"AD2OSR", S::Adf, K::Plain, "", N}, {"VRGNAD2", S::Adf, K::GainCaptioned, "", N},
        {"AD2CHO", S::Adf, K::Captioned, "", N}, {"AD2GN", S::Adf, K::Gain, "", N},
        {"SELAVG", S::Adf, K::Captioned, "", N}, {"ENAD_F", S::Adf, K::Captioned, "", R},
        {"EN_AVG", S::Adf, K::Captioned, "", R}, {"EN_RMS", S::Adf, K::Captioned, "", R},
        {"ENPKH", S::Adf, K::Captioned, "", R}, {"SELPKH", S::Adf, K::Plain, "", R},
        {"S_AD2IP", S::Adf, K::Selector, "SAD2IP<", R}, {"S_AD2IN", S::Adf, K::Selector, "SAD2IN<", R},
        {"S_AD2RL", S::Adf, K::Selector, "ADFRN<", R}, {"S_AD2RH", S::Adf, K::Selector, "ADFRP<", R},
        {"SADPIP", S::Adf, K::Selector, "ADPIP<", R}, {"SADPIN", S::Adf, K::Selector, "ADPIN<", R},
        {"ADPCHO", S::Adf, K::Captioned, "", N}, {"ADPRG", S::Adf, K::GainCaptioned, "", N},
        {"ADPGN", S::Adf, K::Gain, "", N}, {"ENADP", S::Adf, K::Captioned, "", R},
        {"MULFP", S::Adf, K::Captioned, "", R}, {"DISFP", S::Adf, K::Captioned, "", R},
        {"ENDCP", S::Adf, K::Captioned, "", R}, {"DCPOS", S::Adf, K::Captioned, "", R},
        {"FADC_IF", S::Adf, K::Plain, "", R}, {"LPF_IF", S::Adf, K::Plain, "", R},
        {"RMS_IF", S::Adf, K::Plain, "", R},
        {"CPTH", S::Adf, K::AddressOnly, "", N}, {"CPTL", S::Adf, K::AddressOnly, "", N},
        {"CPBH", S::Adf, K::AddressOnly, "", N}, {"CPBL", S::Adf, K::AddressOnly, "", N},
        {"CPHH", S::Adf, K::AddressOnly, "", N}, {"CPHL", S::Adf, K::AddressOnly, "", N},
        {"CPLH", S::Adf, K::AddressOnly, "", N}, {"CPLL", S::Adf, K::AddressOnly, "", N},
        // OP and power
        {"ENVS", S::Op, K::Captioned, "", R}, {"EN_REFO", S::Op, K::Captioned, "", R},
        {"EN_BIAS", S::Op, K::Captioned, "", R}, {"S_AGND", S::Op, K::SelectorNoLabels, "S_AGND<", R},
        {"S_OP1P", S::Op, K::Selector, "S_OP1P<", R}, {"S_OP2P", S::Op, K::Selector, "S_OP2P<", R},
        {"EN_OP1", S::Op, K::Captioned, "", R}, {"EN_OP2", S::Op, K::Captioned, "", R},
        {"OPS2", S::Op, K::Plain, "", R}, {"OPS1", S::Op, K::Plain, "", R},
        {"OPCHP", S::Op, K::Plain, "", R}, {"SREFO", S::Op, K::Captioned, "", R},
        // Program counter
        {"EN_CTR", S::ProgramCounter, K::Captioned, "", R}, {"CNS", S::ProgramCounter, K::Captioned, "", R},
        {"CTIF", S::ProgramCounter, K::Plain, "", R},
        {"CTC0", S::ProgramCounter, K::Plain, "", R}, {"CTC1", S::ProgramCounter, K::Plain, "", R},
        {"CTC2", S::ProgramCounter, K::Plain, "", R}, {"CTB0", S::ProgramCounter, K::Plain, "", R},
        {"CTB1", S::ProgramCounter, K::Plain, "", R}, {"CTB2", S::ProgramCounter, K::Plain, "", R},
        {"CTA0", S::ProgramCounter, K::Plain, "", R}, {"CTA1", S::ProgramCounter, K::Plain, "", R},
        {"CTA2", S::ProgramCounter, K::Plain, "", R},
        // ADC clock
        {"EN_OSC", S::DmmAdcClk, K::Captioned, "", R}, {"ENI_XI", S::DmmAdcClk, K::Captioned, "", R},
        {"FCLK_SEL", S::DmmAdcClk, K::Captioned, "", R},
        // MPN switch banks and comparator
        {"PS0", S::Mpn, K::Plain, "", N}, {"PS1", S::Mpn, K::Plain, "", N}, {"PS2", S::Mpn, K::Plain, "", N},
        {"PS3", S::Mpn, K::Plain, "", N}, {"PS4", S::Mpn, K::Plain, "", N}, {"PS5", S::Mpn, K::Plain, "", N},
        {"PS6", S::Mpn, K::Plain, "", N}, {"PS7", S::Mpn, K::Plain, "", N}, {"PS8", S::Mpn, K::Plain, "", N},
        {"PS9", S::Mpn, K::Plain, "", N},
        {"DS0", S::Mpn, K::Plain, "", N}, {"DS1", S::Mpn, K::Plain, "", N}, {"DS2", S::Mpn, K::Plain, "", N},
        {"DS3", S::Mpn, K::Plain, "", N}, {"DS4", S::Mpn, K::Plain, "", N}, {"DS5", S::Mpn, K::Plain, "", N},
        {"DS6", S::Mpn, K::Plain, "", N}, {"DS7", S::Mpn, K::Plain, "", N}, {"DS8", S::Mpn, K::Plain, "", N},
        {"DS9", S::Mpn, K::Plain, "", N},
        {"FS0", S::Mpn, K::Plain, "", N}, {"FS1", S::Mpn, K::Plain, "", N}, {"FS2", S::Mpn, K::Plain, "", N},
        {"FS3", S::Mpn, K::Plain, "", N}, {"FS4", S::Mpn, K::Plain, "", N}, {"FS5", S::Mpn, K::Plain, "", N},
        {"FS6", S::Mpn, K::Plain, "", N}, {"FS7", S::Mpn, K::Plain, "", N}, {"FS8", S::Mpn, K::Plain, "", N},
        {"FS9", S::Mpn, K::Plain, "", N},
        {"SS0", S::Mpn, K::Plain, "", N}, {"SS1", S::Mpn, K::Plain, "", N}, {"SS2", S::Mpn, K::Plain, "", N},
        {"SS3", S::Mpn, K::Plain, "", N}, {"SS4", S::Mpn, K::Plain, "", N}, {"SS5", S::Mpn, K::Plain, "", N},
        {"SS6", S::Mpn, K::Plain, "", N}, {"SS7", S::Mpn, K::Plain, "", N}, {"SS8", S::Mpn, K::Plain, "", N},
        {"SS9", S::Mpn, K::Plain, "", N},
        {"SMODE", S::Mpn, K::Plain, "", N}, {"SMODE4", S::Mpn, K::Plain, "", N},
        {"SMODE5", S::Mpn, K::Plain, "", N}, {"SDIO", S::Mpn, K::Plain, "", N},
        {"SFUVR", S::Mpn, K::Selector, "S_FUVR<", R}, {"ACC", S::Mpn, K::Plain, "", R},
        {"EN_CMP", S::Mpn, K::Captioned, "", R}, {"S_CMPI", S::Mpn, K::Selector, "S_CMPI<", R},
        {"S_CMPRL", S::Mpn, K::Selector, "S_CMPRL<", R}, {"S_CMPRH", S::Mpn, K::Selector, "S_CMPRH<", R},
        {"FGRISE", S::Mpn, K::Plain, "", R}, {"SADCPO", S::Mpn, K::Captioned, "", R},
        {"ACPO", S::Mpn, K::Plain, "", R},
    }};
    return infos;
}

FieldTable::FieldTable()
{
    const auto &infos = FieldInfos();
    for (int i = 0; i < FieldCount; ++i)
        index_.insert(QString::fromLatin1(infos[size_t(i)].name), i);
}

FieldEntry *FieldTable::find(const QString &name)
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : &entries_[size_t(i)];
}

const FieldEntry *FieldTable::find(const QString &name) const
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : &entries_[size_t(i)];
}

int FieldTable::definedCount() const
{
    int n = 0;
    for (const auto &e : entries_)
        n += e.Defined ? 1 : 0;
    return n;
}

} // namespace qx
