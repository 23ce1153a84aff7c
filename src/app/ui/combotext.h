#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

namespace ferrox {

// The settings panel's combo boxes: editable drop-down lists whose text is
// compared exactly (spaces and case included). Typing never adds an item
// and nothing completes the typed text. The mouse wheel changes the choice
// only of the combo box that has focus; elsewhere it scrolls the panel.
QComboBox *makeListCombo(const QString &objectName, QWidget *parent);
// Makes a combo box of a class of its own into such a list combo.
void setUpListCombo(QComboBox *combo, const QString &objectName);

// Shows text in the combo box without counting as a user's choice (no
// activated()). An item with exactly this text becomes the current item;
// any other text stays as typed text with no current item.
void setComboText(QComboBox *combo, const QString &text);

// Makes items the list and shows text as setComboText() does (Qt would
// otherwise make the first item of an empty list current).
void setComboItems(QComboBox *combo, const QStringList &items, const QString &text);

} // namespace ferrox
