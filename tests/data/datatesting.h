#pragma once

// Helpers for the capture-data tests: streams written as the board sends
// them, and expected text written out independently of the renderers.

#include "data/capturebuffer.h"
#include "data/renderer.h"
#include "data/reportheader.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace ferrox::testing {

inline QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

inline CaptureBuffer streamOf(const QByteArray &raw) { return CaptureBuffer::fromStream(raw); }
inline CaptureBuffer streamOf(std::initializer_list<int> raw) { return streamOf(bytes(raw)); }

// The stream bytes of monitored bytes sent by one side: J1 → A? B?, J2 → 8? 9?.
inline QByteArray sent(int high, QByteArrayView monitored)
{
    QByteArray out;
    for (const char b : monitored)
        out.append(char(high | (std::uint8_t(b) >> 4))).append(char((high + 0x10) | (b & 0x0F)));
    return out;
}
inline QByteArray byJ1(QByteArrayView monitored) { return sent(0xA0, monitored); }
inline QByteArray byJ2(QByteArrayView monitored) { return sent(0x80, monitored); }
inline QByteArray endCode() { return QByteArray(1, char(0xFF)); }

// Text in code page 932, through Qt's codec rather than the program's own.
inline QByteArray sjis(const char16_t *text) { return QStringEncoder("Shift_JIS").encode(QString::fromUtf16(text)); }

inline QByteArray spaces(int n) { return QByteArray(n, ' '); }
inline QByteArray rule(int n, const char *end) { return QByteArray(n, '_') + end; }
inline const QByteArray dot = bytes({0xA5}); // "･", the character column's stand-in

// Settings used by most rendering tests: with blanks the header trims.
inline ReportHeaderSettings testHeader()
{
    return {QStringLiteral("Ferrox Line Monitor Version 2.3.21  "), QStringLiteral("2024年01月02日03:04:05"), QStringLiteral(" COM1 "),
            QStringLiteral(" 57600"), QStringLiteral("  9600"), QStringLiteral("双方向"), true};
}

// The header lines testHeader() gives for `monitoredBytes`, spelled out.
inline QByteArray expectedHeader(int monitoredBytes)
{
    return sjis(u"Ferrox Line Monitor Version 2.3.21  \r\r\n"
                u"モニターデータ　　： 2024年01月02日03:04:05\r\n"
                u"モニターバイト数　： ")
        + QByteArray::number(monitoredBytes)
        + sjis(u"byte\r\n\r\n"
               u"現在の設定 \r\n"
               u"通信ポート　　　　： COM1\r\n"
               u"ＰＣ通信スピード　： 57600\r\n"
               u"モニタスピード　　： 9600\r\n"
               u"モニタ方向　　　　： 双方向\r\n"
               u"モニタデータ長　　： ８bit\r\n\r\n");
}

// Printable form of bytes for failure messages: other bytes as %XX.
inline std::string show(const QByteArray &bytes)
{
    return bytes.toPercentEncoding(" !\"#$&'()*+,/:;<=>?@[]^`{|}").toStdString();
}

// The text after the expected header, failing the test when the header differs.
inline QByteArray bodyOf(const RenderResult &result, int monitoredBytes)
{
    const QByteArray header = expectedHeader(monitoredBytes);
    EXPECT_EQ(show(result.text.left(header.size())), show(header));
    return result.text.mid(header.size());
}

} // namespace ferrox::testing
