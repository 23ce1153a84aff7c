#pragma once

// The Japanese texts of the capture data editor, in one place. Menu
// captions end with an ideographic space.

#include <QString>

namespace ferrox::editortext {

inline QString windowCaption() { return QStringLiteral("モニターデータ修正ウィンドウ"); }
inline QString columnHeader() { return QStringLiteral("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"); }

// Alt+F opens it: without a mnemonic the key would type "f" into the data.
inline QString fileMenu() { return QStringLiteral("ファイル(&F)"); }
inline QString openItem() { return QStringLiteral("メモリ上のデータを開く　"); }
inline QString storeItem() { return QStringLiteral("データをメモリに戻す　"); }
inline QString endItem() { return QStringLiteral("終了　"); }

inline QString noEndCode() { return QStringLiteral("データの最後に、データ終了コード'FF'を記述してください。"); }
inline QString storeFailed() { return QStringLiteral("修正データの保存に失敗しました。"); }

} // namespace ferrox::editortext
