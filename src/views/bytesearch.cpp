#include "bytesearch.h"

#include <QByteArrayMatcher>

namespace ferrox {

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<QByteArray> parseHexBytes(QStringView text)
{
    QByteArray out;
    int high = -1;
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (high >= 0)
                return std::nullopt; // one digit, then a gap
            continue;
        }
        const int v = hexValue(c);
        if (v < 0)
            return std::nullopt;
        if (high < 0) {
            high = v;
        } else {
            out.append(char(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0 || out.isEmpty())
        return std::nullopt;
    return out;
}

std::vector<qint32> findAllBytes(QByteArrayView haystack, QByteArrayView needle)
{
    std::vector<qint32> found;
    if (needle.isEmpty())
        return found;
    const QByteArrayMatcher matcher(needle.toByteArray());
    for (qsizetype at = matcher.indexIn(haystack); at >= 0; at = matcher.indexIn(haystack, at + 1))
        found.push_back(qint32(at));
    return found;
}

} // namespace ferrox
