#include "widgets/window_placement.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(WindowPlacement, LayoutRoundTripAndScreenFit)
{
    const std::vector<WindowPlacement> entries{
        {"MainPanel", 0, 0, 1024, 720, 0, true}, {"Qx_RAM", 12, 340, 600, 400, 0, false}};
    const QByteArray bytes = EncodePlacements(entries);
    EXPECT_EQ(bytes, "1.10\r\n2\r\nMainPanel\r\n    0    0 1024  720    0    1\r\n"
                     "Qx_RAM\r\n   12  340  600  400    0    0\r\n");
    EXPECT_EQ(DecodePlacements(bytes).value(), entries);
    EXPECT_FALSE(DecodePlacements("1.09\r\n0\r\n").has_value());
    EXPECT_TRUE(DecodePlacements("1.10\r\n5\r\nMainPanel\r\n 1 2").value().empty());

    const WindowPlacement far{"X", 1901, 1070, 3000, 200, 0, true};
    EXPECT_EQ(FitPlacementToScreen(far, 1920, 1080), (WindowPlacement{"X", 0, 880, 1920, 200, 0, true}));
    const WindowPlacement maximised{"X", 1900, 1070, 3000, 200, 1, true};
    EXPECT_EQ(FitPlacementToScreen(maximised, 1920, 1080), maximised);
}
