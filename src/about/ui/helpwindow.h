#pragma once

#include "about/helpbook.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace ferrox {

// The help viewer "HelpViewer": on the left a contents tab
// ("HelpContents": the topics in order) and a search tab ("HelpKeyword",
// "HelpResults": keyword entries and text matches as one types), on the
// right the page ("HelpText"), whose links lead on within the help.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    HelpWindow(HelpBook book, QWidget *parent = nullptr);

    // The contents tab and the contents page.
    void showContents();
    // The search tab with an empty keyword: every keyword listed.
    void showSearch();

    QString currentPage() const;

private:
    void showTopic(int index);
    void listHits(const QString &term);

    HelpBook m_book;
    QList<HelpHit> m_hits;
    QTabWidget *m_tabs = nullptr;
    QListWidget *m_contents = nullptr;
    QLineEdit *m_keyword = nullptr;
    QListWidget *m_results = nullptr;
    QTextBrowser *m_page = nullptr;
};

} // namespace ferrox
