#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>
#include <vector>

namespace ferrox {

// A byte sequence typed as hexadecimal: pairs of digits, spaces between
// bytes optional ("02 41 42", "024142", "2 41 42" is not: a byte is two
// digits). Nothing, an odd digit, or any other character gives nothing.
std::optional<QByteArray> parseHexBytes(QStringView text);

// Every index where `needle` starts in `haystack`, overlapping matches
// included; none for an empty needle.
std::vector<qint32> findAllBytes(QByteArrayView haystack, QByteArrayView needle);

} // namespace ferrox
