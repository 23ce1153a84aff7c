#pragma once

// The file functions' own Japanese texts, in one place.

#include <QString>

namespace ferrox::filetexts {

// Reasons of failed file operations, shown after a message's own text.
inline QString noSuchFile() { return QStringLiteral("ファイルまたはフォルダが見つかりません。"); }
inline QString accessDenied() { return QStringLiteral("アクセスが拒否されました。"); }
inline QString isFolder() { return QStringLiteral("ファイルではなくフォルダです。"); }
inline QString diskFull() { return QStringLiteral("ディスクの空き容量が足りません。"); }
inline QString readOnlyFileSystem() { return QStringLiteral("読み取り専用のファイルシステムです。"); }
inline QString readOnlyFile() { return QStringLiteral("読み取り専用のファイルです。"); }
inline QString notRegularFile() { return QStringLiteral("通常のファイルではありません（名前付きパイプやデバイスなど）。"); }

} // namespace ferrox::filetexts
