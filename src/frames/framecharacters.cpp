#include "framecharacters.h"

#include "data/characterrules.h"
#include "data/cp932.h"

namespace ferrox {

namespace {

const QChar otherByte = QChar(u'･');

void appendControl(QString &out, std::uint8_t value)
{
    if (value == 0x0D)
        out += QStringLiteral("[CR]");
    else if (const char *name = controlCodeName(value))
        out += QLatin1String(name);
    else
        out += otherByte;
}

} // namespace

QString frameHex(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

QString frameCharacters(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        out += byteCell(std::uint8_t(c));
    return out;
}

QString frameText(QByteArrayView bytes)
{
    const QString decoded = decodeCp932(bytes);
    QString out;
    out.reserve(decoded.size());
    for (const QChar c : decoded) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            appendControl(out, std::uint8_t(c.unicode()));
        else
            out += c;
    }
    return out;
}

} // namespace ferrox
