#include "highlightpanel.h"

#include "highlightrules.h"

#include "frames/texts.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ferrox {

HighlightPanel::HighlightPanel(SettingsStore &store, QWidget *parent)
    : QWidget(parent), m_store(store), m_rules(loadHighlightRules(store)), m_list(new QListWidget(this))
{
    m_list->setObjectName(QStringLiteral("List_FrameHighlights"));
    m_list->setToolTip(FrameTexts::viewRulesHint());
    auto *remove = new QPushButton(FrameTexts::viewRemoveRule(), this);
    remove->setObjectName(QStringLiteral("Cmd_FrameHighlightRemove"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addWidget(remove);
    connect(remove, &QPushButton::clicked, this, [this] { this->remove(m_list->currentRow()); });
    connect(m_list, &QListWidget::itemChanged, this, &HighlightPanel::edited);
    relist();
}

bool HighlightPanel::add(const TypedPattern &pattern, const QColor &colour)
{
    const HighlightRule rule {pattern.bytes, pattern.text, colour};
    if (pattern.bytes.isEmpty() && pattern.text.isEmpty())
        return false;
    for (const HighlightRule &listed : std::as_const(m_rules)) {
        if (listed.samePattern(rule))
            return false;
    }
    m_rules.append(rule);
    store();
    return true;
}

void HighlightPanel::remove(int row)
{
    if (row < 0 || row >= m_rules.size())
        return;
    m_rules.removeAt(row);
    store();
}

void HighlightPanel::edited(QListWidgetItem *item)
{
    const int row = m_list->row(item);
    const QString typed = item->text();
    const std::optional<TypedPattern> pattern = typedPattern(typed);
    HighlightRule rule = m_rules.value(row);
    if (pattern) {
        rule.bytes = pattern->bytes;
        rule.text = pattern->text;
    }
    bool listed = false;
    for (int other = 0; other < m_rules.size(); ++other)
        listed = listed || (other != row && m_rules.at(other).samePattern(rule));
    if (!pattern || listed || typed.isEmpty()) {
        relist();
        emit editRefused(typed);
        return;
    }
    m_rules[row] = rule;
    store();
}

void HighlightPanel::store()
{
    saveHighlightRules(m_store, m_rules);
    relist();
    emit rulesChanged(m_rules);
}

void HighlightPanel::relist()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const HighlightRule &rule : std::as_const(m_rules)) {
        auto *item = new QListWidgetItem(rule.typed(), m_list);
        item->setBackground(rule.colour);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

} // namespace ferrox
