// The report header at the top of every rendering. Its usual form is
// checked byte for byte by every rendering test; these are its variants.
#include "datatesting.h"

using namespace ferrox;
using namespace ferrox::testing;

TEST(ReportHeader, NineBitLineAndNamesOutsideTheCodePage)
{
    ReportHeaderSettings header = testHeader();
    header.dataOnly = false;
    header.dataName = QStringLiteral("/logs/caf\u00e9\U0001F600.dat");
    QByteArray out;
    WriteReportHeader(out, header, 0);
    EXPECT_TRUE(out.contains(sjis(u"モニターデータ　　： /logs/caf??.dat\r\n"))) << show(out);
    EXPECT_TRUE(out.endsWith(sjis(u"モニタデータ長　　： ９bit（パリティビットのデータ修得は行いません。）\r\n\r\n")));
}

TEST(ReportHeader, TrimsOnlyPlainSpaces)
{
    struct Case { QString in; QString out; };
    const Case cases[] = {
        {QStringLiteral("  9600"), QStringLiteral("9600")},
        {QStringLiteral("\t9600 "), QStringLiteral("\t9600")},
        {QStringLiteral("　双方向　"), QStringLiteral("　双方向　")}, // ideographic spaces stay
        {QStringLiteral("   "), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(trimSpaces(c.in), c.out) << c.in.toStdString();
}
