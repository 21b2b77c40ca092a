#pragma once
// The window placement file ("qxbench.wst" in ProgramDir): for every form
// its name and left, top, width, height, window state and visibility.
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace qx {

struct WindowPlacement {
    QString name;
    int left = 0, top = 0, width = 0, height = 0;
    int state = 0;       // 0 normal, 1 maximised, 2 minimised
    bool visible = false;
    bool operator==(const WindowPlacement &) const = default;
};

constexpr int MaxPlacements = 40;

// "1.10", the entry count, then two lines per form (name; six integers in 5 characters).
QByteArray EncodePlacements(const std::vector<WindowPlacement> &entries);
// nullopt unless the first line is "1.10"; a short or damaged file yields the entries read so far.
std::optional<std::vector<WindowPlacement>> DecodePlacements(const QByteArray &bytes);

// Pulls a resizable window in its normal state back onto the screen.
WindowPlacement FitPlacementToScreen(WindowPlacement p, int screenWidth, int screenHeight);

} // namespace qx
