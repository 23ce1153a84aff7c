#pragma once

#include <QString>

// The Japanese texts the simulated terminal of the demo conversation sends
// (encoded in code page 932 on the line).
namespace ferrox::boardtexts {

inline QString measuredValue() { return QStringLiteral("「測定値」"); }
inline QString statusNormal() { return QStringLiteral("状態：正常"); }

} // namespace ferrox::boardtexts
