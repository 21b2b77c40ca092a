#include "views/ram_workbook.h"

#include "device/base_utils.h"
#include "views/ram_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstdio>

namespace qx {

namespace {

bool writeBook(const QByteArray &path, const std::array<uint8_t, MirrorSize> &mirror,
               const AddressTable &mask, QString *error)
{
    lxw_workbook *book = workbook_new(path.constData());
    if (!book) {
        if (error)
            *error = QStringLiteral("cannot create the workbook");
        return false;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(book, RamWorkbookSheet);
    for (int a = 0; a < RamFileAddresses; ++a) {
        const lxw_row_t row = lxw_row_t(a / 16 + 2);        // rows 3..34
        const lxw_col_t number = lxw_col_t(a % 16 + 2);     // columns C..R
        const lxw_col_t text = lxw_col_t(a % 16 + 19);      // columns T..AI
        if (mask[size_t(a)]) {
            const uint8_t v = mirror[size_t(a)];
            worksheet_write_number(sheet, row, number, v, nullptr);
            worksheet_write_string(sheet, row, text, (HexText(v, 2) + "h").toLatin1().constData(), nullptr);
        } else {
            worksheet_write_string(sheet, row, number, "-", nullptr);
            worksheet_write_string(sheet, row, text, "-", nullptr);
        }
    }
    const lxw_error rc = workbook_close(book);
    if (rc != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(rc));
        return false;
    }
    return true;
}

} // namespace

bool WriteRamWorkbook(const QString &path, const std::array<uint8_t, MirrorSize> &mirror,
                      const AddressTable &mask, QString *error)
{
    const QFileInfo target(path);
    // Reserve a fresh name in the target folder; the workbook is written
    // there and then renamed over the target in one step.
    QTemporaryFile reserve(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
    if (!reserve.open()) {
        if (error)
            *error = reserve.errorString();
        return false;
    }
    const QString temp = reserve.fileName();
    reserve.close();
    const QByteArray tempName = QFile::encodeName(temp);
    if (!writeBook(tempName, mirror, mask, error))
        return false;  // QTemporaryFile removes what was written
    if (std::rename(tempName.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        if (error)
            *error = QStringLiteral("cannot replace ") + path;
        return false;
    }
    reserve.setAutoRemove(false);
    return true;
}

} // namespace qx
