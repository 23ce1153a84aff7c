// The report header at the top of every rendering.
#include "datatesting.h"

#include "data/reportheader.h"

using namespace ferrox;
using namespace ferrox::testing;

TEST(ReportHeader, WritesTheSettingsLinesTrimmedAndTheByteCount)
{
    QByteArray out;
    WriteReportHeader(out, testHeader(), 3);
    EXPECT_EQ(show(out), show(expectedHeader(3)));
}

TEST(ReportHeader, KeyCharactersAreCodePage932)
{
    QByteArray out;
    ReportHeaderSettings header = testHeader();
    WriteReportHeader(out, header, 0);
    // "モニターデータ　　： " : the ideographic space is 81 40, the colon 81 46.
    EXPECT_TRUE(out.contains(bytes({0x83, 0x66, 0x81, 0x5B, 0x83, 0x5E, 0x81, 0x40, 0x81, 0x40, 0x81, 0x46, 0x20})));
    // First line ends with CR, then CR LF.
    EXPECT_TRUE(out.startsWith("Ferrox Line Monitor Version 2.3.21  \r\r\n"));
    EXPECT_TRUE(out.endsWith(bytes({0x82, 0x57, 'b', 'i', 't', '\r', '\n', '\r', '\n'}))); // "８bit"
}

TEST(ReportHeader, NineBitLineWhenParityIsCaptured)
{
    QByteArray out;
    ReportHeaderSettings header = testHeader();
    header.dataOnly = false;
    WriteReportHeader(out, header, 0);
    EXPECT_TRUE(out.endsWith(sjis(u"モニタデータ長　　： ９bit（パリティビットのデータ修得は行いません。）\r\n\r\n")));
}

TEST(ReportHeader, TrimsOnlyPlainSpaces)
{
    struct Case { QString in; QString out; };
    const Case cases[] = {
        {QStringLiteral("  9600"), QStringLiteral("9600")},
        {QStringLiteral(" COM1  "), QStringLiteral("COM1")},
        {QStringLiteral("\t9600 "), QStringLiteral("\t9600")},
        {QStringLiteral("　双方向　"), QStringLiteral("　双方向　")}, // ideographic spaces stay
        {QStringLiteral("   "), QString()},
        {QString(), QString()},
        {QStringLiteral("a b"), QStringLiteral("a b")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(trimSpaces(c.in), c.out) << c.in.toStdString();
}

TEST(ReportHeader, DataNameOutsideTheCodePageBecomesQuestionMarks)
{
    QByteArray out;
    ReportHeaderSettings header = testHeader();
    header.dataName = QStringLiteral("/logs/caf\u00e9\U0001F600.dat");
    WriteReportHeader(out, header, 0);
    EXPECT_TRUE(out.contains(sjis(u"モニターデータ　　： /logs/caf??.dat\r\n"))) << show(out);
}
