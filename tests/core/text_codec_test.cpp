#include "core/text_codec.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(TextCodec, DecodesUtf8AndFallsBackToBig5)
{
    const QString chinese = QString::fromUtf8("暫存器");
    EXPECT_EQ(decodeLine(chinese.toUtf8()), chinese);
    const QByteArray big5 = encodeBig5(chinese);
    ASSERT_NE(big5, chinese.toUtf8()) << "Big5 codec missing";
    EXPECT_EQ(big5, QByteArray("\xBC\xC8\xA6\x73\xBE\xB9"));
    EXPECT_EQ(decodeLine(big5), chinese);
    EXPECT_EQ(decodeLine("PLAIN ascii"), QString("PLAIN ascii"));
}
