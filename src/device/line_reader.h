#pragma once
// Line reader of the chip selection and definition files.
#include <QString>

#include <array>

namespace qx {

// One line: its text (upper-cased, cut to 160 characters) and, for each
// parameter 1..32, a start (1-based, 0 = absent) and a length in that text.
// Parameter 1 is the comment part, parameters 4..32 the tokens.
struct ParseLine {
    static constexpr int MaxText = 160;
    static constexpr int FirstToken = 4;
    static constexpr int LastToken = 32;

    QString text;
    std::array<int, LastToken + 1> start{};
    std::array<int, LastToken + 1> length{};

    // Sets the text from a line as read and tokenizes it.
    void setLine(const QString &asRead);
    // Parameter k as text, empty when absent.
    QString param(int k) const;
    QString token(int k) const { return param(k); }
    // Number of tokens, counted from parameter 4 while starts are non-zero.
    int tokenCount() const;
    bool hasComment() const { return start[1] != 0; }
};

// Fills the parameter table of a line whose text is set.
void CutLIPara(ParseLine &line);

// Directive codes of the definition file.
enum Directive : int {
    DirProduct = 1, DirCompiler = 2, DirId = 3, DirRom = 4, DirReg0 = 5, DirReg1 = 6,
    DirRamBank0 = 7, DirRamBank4 = 11,
    DirRegBit = 12, DirRegBit3 = 15, DirRegByte = 16, DirRegWord = 17, DirReg3Byte = 18,
    DirStack = 19, DirSbmAddr = 20, DirSimic = 21,
    DirRegBitStr = 22, DirRegByteStr = 23, DirRegWordStr = 24,
    DirRegBitStrCn = 25, DirRegByteStrCn = 26, DirRegWordStrCn = 27,
    DirOp = 29, DirCmp0s = 30, DirDmm = 31, DirDmmAdcClk = 32, DirProgramCounter = 33,
    DirMpn = 34, DirAds = 35, DirAdf = 36, DirFluke = 37, DirAdcNum = 38,
    NotDirective = 255,
};

// Directive code of a token, 255 for a token that is not a directive.
int IsPseudo(const QString &token);

} // namespace qx
