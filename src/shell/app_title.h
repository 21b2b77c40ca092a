#pragma once
#include <QString>

namespace qx {

constexpr const char *DefaultAppTitle = "QX-ENOB TEST for QX7020";
constexpr const char *AppTitleFileName = "QxAppName.cfg";

// The window title: the first line of "QxAppName.cfg" in ProgramDir when
// that file exists, else the default title.
QString ReadAppTitle(const QString &programDir);

} // namespace qx
