#pragma once

#include "frametablemodel.h"

#include <QWidget>

class QListWidget;
class QListWidgetItem;

namespace ferrox {

class SettingsStore;

// The frame view's highlight rules, listed with their colours: a rule's
// pattern is edited in place (as the filter bar takes it), the selected
// rule removed. Every change is stored (see highlightrules.h) and told.
class HighlightPanel : public QWidget
{
    Q_OBJECT

public:
    HighlightPanel(SettingsStore &store, QWidget *parent = nullptr);

    const QList<HighlightRule> &rules() const { return m_rules; }
    // Adds a rule for the pattern; a pattern already listed keeps its one
    // rule (false).
    bool add(const TypedPattern &pattern, const QColor &colour);
    // Removes the rule in row `row`.
    void remove(int row);
    QListWidget *list() const { return m_list; }

signals:
    void rulesChanged(const QList<HighlightRule> &rules);
    // An edit that is no pattern (unreadable hexadecimal) or one already
    // listed; the rule keeps its pattern.
    void editRefused(const QString &typed);

private:
    void edited(QListWidgetItem *item);
    void store();
    void relist();

    SettingsStore &m_store;
    QList<HighlightRule> m_rules;
    QListWidget *m_list;
};

} // namespace ferrox
