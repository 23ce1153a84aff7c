#include "responsechartstream.h"

#include <QDataStream>
#include <QIODevice>

namespace ferrox {

namespace {

constexpr char tag[] = "ferrox chart 1\n";
constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_0;
constexpr double largestSide = 16384;

QDataStream &operator<<(QDataStream &out, const ChartItem &item)
{
    return out << quint8(item.kind) << item.area << item.rgb << item.text << item.frame;
}

QDataStream &operator>>(QDataStream &in, ChartItem &item)
{
    quint8 kind = 0;
    in >> kind >> item.area >> item.rgb >> item.text >> item.frame;
    if (kind > quint8(ChartItem::Kind::Text))
        in.setStatus(QDataStream::ReadCorruptData);
    item.kind = ChartItem::Kind(kind);
    return in;
}

} // namespace

QByteArray chartToBytes(const ResponseChart &chart)
{
    QByteArray bytes(tag);
    QDataStream out(&bytes, QIODevice::WriteOnly | QIODevice::Append);
    out.setVersion(streamVersion);
    out << chart.width << chart.height << quint32(chart.items.size());
    for (const ChartItem &item : chart.items)
        out << item;
    return bytes;
}

std::optional<ResponseChart> chartFromBytes(const QByteArray &bytes)
{
    if (!bytes.startsWith(tag))
        return std::nullopt;
    QDataStream in(bytes.sliced(sizeof tag - 1));
    in.setVersion(streamVersion);
    ResponseChart chart;
    in >> chart.width >> chart.height;
    const auto sideFits = [](double side) { return side > 0 && side <= largestSide; };
    if (in.status() != QDataStream::Ok || !sideFits(chart.width) || !sideFits(chart.height))
        return std::nullopt;
    // Item by item, never reserving what the count claims: a corrupt count
    // ends at the bytes' end instead of asking for gigabytes.
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        ChartItem item;
        in >> item;
        chart.items.append(item);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return chart;
}

} // namespace ferrox
