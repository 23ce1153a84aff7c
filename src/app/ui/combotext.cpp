#include "combotext.h"

#include <QComboBox>
#include <QEvent>

namespace ferrox {

namespace {

// A wheel turn over a combo box that has no focus is the user scrolling
// the panel past it, not a choice: the turn goes on to the panel.
class WheelOnlyWithFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel || static_cast<QWidget *>(watched)->hasFocus())
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

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
    // Clicking or tabbing gives focus; the wheel neither focuses nor chooses.
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->installEventFilter(new WheelOnlyWithFocus(combo));
}

void setComboText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
    combo->setEditText(text);
}

void setComboItems(QComboBox *combo, const QStringList &items, const QString &text)
{
    combo->clear();
    combo->addItems(items);
    setComboText(combo, text);
}

} // namespace ferrox
