#include "combotext.h"

#include <QComboBox>

namespace ferrox {

QComboBox *makeListCombo(const QString &objectName, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    setUpListCombo(combo, objectName);
    return combo;
}

void setUpListCombo(QComboBox *combo, const QString &objectName)
{
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Without a completer the typed text stays as typed and Return matches
    // items case-sensitively.
    combo->setCompleter(nullptr);
}

void setComboText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
    combo->setEditText(text);
}

void addComboItems(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    combo->addItems(items);
    setComboText(combo, text);
}

} // namespace ferrox
