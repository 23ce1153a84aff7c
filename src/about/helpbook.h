#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// The program's help: HTML pages in one folder. "index.html" is the
// contents page; its links to other pages of the folder, in order, are
// the topics. A topic's <title> names it and its
// <meta name="keywords" content="a, b, c"> gives its search keywords.
struct HelpTopic
{
    QString file; // relative to the folder, "capture.html"
    QString title;
    QStringList keywords;
    QString text; // the page's words without markup, for the text search
};

struct HelpHit
{
    QString keyword; // the keyword that matched; empty for a match in the text
    int topic = 0;   // index into topics
};

class HelpBook
{
public:
    static QString contentsFile() { return QStringLiteral("index.html"); }
    // The support page, which the About window opens.
    static QString supportFile() { return QStringLiteral("support.html"); }

    // Nothing when the folder holds no readable contents page. Linked
    // pages that cannot be read are left out.
    static std::optional<HelpBook> load(const QString &folder);

    const QString &folder() const { return m_folder; }
    const QList<HelpTopic> &topics() const { return m_topics; }

    // Keyword entries containing the term (any case), sorted by keyword;
    // then topics whose text holds it and whose keywords did not match.
    // An empty term lists every keyword.
    QList<HelpHit> search(const QString &term) const;

private:
    QString m_folder;
    QList<HelpTopic> m_topics;
};

// A file of the help (a page, a picture): only a regular file, at most
// MaxHelpFileBytes of it, so a named pipe or a link to a device cannot
// hold or flood the viewer. Nothing when it cannot be read.
constexpr qint64 MaxHelpFileBytes = 4 * 1024 * 1024;
std::optional<QByteArray> readHelpFile(const QString &path);

// Where the help is: $FERROX_HELP when set, else "help" beside the
// executable when it exists, else the installed help (share/ferrox/help
// next to the program's bin folder), else the help of the source tree
// this program was built from.
QString helpFolder();

// The help's support page, a local file.
QString supportPage();

} // namespace ferrox
