#include "helpwindow.h"

#include "about/texts.h"

#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>

namespace ferrox {

namespace {

// The page view reads the help's files as the help book does: a link to a
// named pipe or a device shows nothing instead of holding the window.
class HelpPageView : public QTextBrowser
{
public:
    QVariant loadResource(int type, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        const std::optional<QByteArray> bytes = readHelpFile(url.toLocalFile());
        return bytes ? QVariant(*bytes) : QVariant();
    }
};

} // namespace

HelpWindow::HelpWindow(HelpBook book, QWidget *parent) : QWidget(parent, Qt::Window), m_book(std::move(book))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(abouttext::helpCaption());

    m_contents = new QListWidget;
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    for (const HelpTopic &topic : m_book.topics())
        m_contents->addItem(topic.title);

    auto *searchPage = new QWidget;
    m_keyword = new QLineEdit;
    m_keyword->setObjectName(QStringLiteral("HelpKeyword"));
    m_keyword->setClearButtonEnabled(true);
    m_results = new QListWidget;
    m_results->setObjectName(QStringLiteral("HelpResults"));
    auto *searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(new QLabel(abouttext::keywordPrompt()));
    searchLayout->addWidget(m_keyword);
    searchLayout->addWidget(m_results, 1);

    m_tabs = new QTabWidget;
    m_tabs->addTab(m_contents, abouttext::contentsTab());
    m_tabs->addTab(searchPage, abouttext::searchTab());

    m_page = new HelpPageView;
    m_page->setObjectName(QStringLiteral("HelpText"));
    m_page->setSearchPaths({m_book.folder()});
    // Links out of the help (the support page) open in the default browser.
    m_page->setOpenExternalLinks(true);

    auto *splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    // Nine tenths of the screen at most: frame and panels fit beside it.
    resize(QSize(960, 680).boundedTo(screen()->availableGeometry().size() * 0.9));

    connect(m_contents, &QListWidget::currentRowChanged, this, &HelpWindow::showTopic);
    connect(m_keyword, &QLineEdit::textChanged, this, &HelpWindow::listHits);
    connect(m_results, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < m_hits.size())
            showTopic(m_hits[row].topic);
    });
    listHits(QString());
}

void HelpWindow::showContents()
{
    m_tabs->setCurrentIndex(0);
    m_contents->setCurrentRow(-1);
    m_page->setSource(QUrl::fromLocalFile(QDir(m_book.folder()).filePath(HelpBook::contentsFile())));
    show();
    raise();
    activateWindow();
}

void HelpWindow::showSearch()
{
    m_tabs->setCurrentIndex(1);
    m_keyword->clear();
    m_keyword->setFocus();
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const
{
    return m_page->source().fileName();
}

void HelpWindow::showTopic(int index)
{
    if (index < 0 || index >= m_book.topics().size())
        return;
    m_page->setSource(QUrl::fromLocalFile(QDir(m_book.folder()).filePath(m_book.topics()[index].file)));
}

void HelpWindow::listHits(const QString &term)
{
    m_hits = m_book.search(term);
    m_results->clear();
    for (const HelpHit &hit : m_hits) {
        const QString &title = m_book.topics()[hit.topic].title;
        m_results->addItem(hit.keyword.isEmpty() ? abouttext::textHit(title) : abouttext::keywordHit(hit.keyword, title));
    }
}

} // namespace ferrox
