#include "shell/step_adc_config.h"

#include <QList>

#include <gtest/gtest.h>

using namespace qx;

TEST(StepAdcConfig, LayoutAndRoundTrip)
{
    StepAdcConfig c;
    c.stepLengthIndex = 2;
    c.loopStepIndex = 10;
    c.channelChecked = {1, 0, 1, 0, 0, 0, 0, 1};
    c.channelValues[0] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 255};
    c.currentStep = 4;
    const QByteArray bytes = EncodeStepAdcConfig(c);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 13);  // twelve lines and the empty rest
    EXPECT_EQ(lines[0], "   2  10\r");
    EXPECT_EQ(lines[1], "   1   0   1   0   0   0   0   1\r");
    EXPECT_EQ(lines[2], "  49  50  55  60  61  62  63  64  48  73  52\r");
    EXPECT_EQ(lines[3], "   1   2   3   4   5   6   7   8   9  10 255\r");
    EXPECT_EQ(lines[11], "   4\r");

    const StepAdcConfig back = DecodeStepAdcConfig(bytes, StepAdcConfig{});
    EXPECT_EQ(EncodeStepAdcConfig(back), bytes);

    // A short file keeps the values of the lines it lacks.
    StepAdcConfig current;
    current.currentStep = 9;
    const StepAdcConfig part = DecodeStepAdcConfig("   1   3\r\n   1   1   1   1   1   1   1   1\r\n", current);
    EXPECT_EQ(part.loopStepIndex, 3);
    EXPECT_EQ(part.channelChecked[7], 1);
    EXPECT_EQ(part.currentStep, 9);
}
