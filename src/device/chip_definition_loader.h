#pragma once
// Reads a chip definition file into the chip model.
#include <QString>
#include <QStringList>

namespace qx {

struct ChipModel;
struct ProgramPaths;

// Loads definition lines into `model`: resets the description, then runs
// every line through its section's rule. Field entries are not cleared:
// a field missing from these lines keeps its previous entry.
void LoadDefinitionLines(ChipModel &model, const QStringList &lines);

// Loads the definition of chip `chipIndex` of the selection file. Clears the
// address mask first; false (and nothing else changed) when the selection
// file or the definition file is missing.
bool LoadChipDefinition(ChipModel &model, const ProgramPaths &paths, int chipIndex);

} // namespace qx
