#pragma once
#include <QJsonObject>
#include <QString>

namespace qx {
struct ChipModel;

// A stable JSON document of the whole chip description.
QJsonObject DescriptionToJson(const ChipModel &model);
// The same description as readable text.
QString DescriptionToText(const ChipModel &model);

} // namespace qx
