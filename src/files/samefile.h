#pragma once

#include <QString>

namespace ferrox {

// True when both names are the same file, by any spelling or link, whether
// it exists yet or not: a write to one would replace the other.
bool sameFile(const QString &a, const QString &b);

} // namespace ferrox
