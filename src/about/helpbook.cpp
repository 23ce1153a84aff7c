#include "helpbook.h"

#include "files/fileaccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace ferrox {

namespace {

std::optional<QString> readPage(const QString &path)
{
    const std::optional<QByteArray> bytes = readHelpFile(path);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

QString decodeEntities(QString text)
{
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

QString firstCapture(const QString &html, const QRegularExpression &pattern)
{
    return decodeEntities(pattern.match(html).captured(1)).simplified();
}

HelpTopic readTopic(const QString &file, const QString &html)
{
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression keywords(
        QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression head(QStringLiteral("<head>.*?</head>"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));

    HelpTopic topic;
    topic.file = file;
    topic.title = firstCapture(html, title);
    for (const QString &keyword : firstCapture(html, keywords).split(u',', Qt::SkipEmptyParts)) {
        if (const QString k = keyword.trimmed(); !k.isEmpty())
            topic.keywords << k;
    }
    QString body = html;
    topic.text = decodeEntities(body.remove(head).remove(tag)).simplified();
    return topic;
}

} // namespace

std::optional<HelpBook> HelpBook::load(const QString &folder)
{
    const QDir dir(folder);
    const std::optional<QString> contents = readPage(dir.filePath(contentsFile()));
    if (!contents)
        return std::nullopt;

    HelpBook book;
    book.m_folder = folder;
    static const QRegularExpression link(QStringLiteral("<a\\s+href=\"([^\"#:/]+\\.html)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList files;
    for (const QRegularExpressionMatch &match : link.globalMatch(*contents)) {
        const QString file = match.captured(1);
        if (file == contentsFile() || files.contains(file))
            continue;
        files << file;
        if (const std::optional<QString> html = readPage(dir.filePath(file)))
            book.m_topics << readTopic(file, *html);
    }
    return book;
}

QList<HelpHit> HelpBook::search(const QString &term) const
{
    const QString wanted = term.trimmed();
    QList<HelpHit> byKeyword;
    QList<HelpHit> byText;
    for (int i = 0; i < m_topics.size(); ++i) {
        bool matched = false;
        for (const QString &keyword : m_topics[i].keywords) {
            if (keyword.contains(wanted, Qt::CaseInsensitive)) {
                byKeyword << HelpHit{keyword, i};
                matched = true;
            }
        }
        if (!matched && !wanted.isEmpty() && m_topics[i].text.contains(wanted, Qt::CaseInsensitive))
            byText << HelpHit{QString(), i};
    }
    std::stable_sort(byKeyword.begin(), byKeyword.end(),
                     [](const HelpHit &a, const HelpHit &b) { return a.keyword.localeAwareCompare(b.keyword) < 0; });
    return byKeyword + byText;
}

std::optional<QByteArray> readHelpFile(const QString &path)
{
    FileBytes file = readFileBytes(path, MaxHelpFileBytes, FileKinds::RegularOnly);
    if (file.error != FileErrorNone)
        return std::nullopt;
    return std::move(file.bytes);
}

QString helpFolder()
{
    const QString chosen = qEnvironmentVariable("FERROX_HELP");
    if (!chosen.isEmpty())
        return chosen;
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QStringLiteral("help"));
    if (QDir(beside).exists())
        return beside;
    const QString installed = QDir::cleanPath(programDir.filePath(QStringLiteral(FERROX_HELP_INSTALLED_DIR)));
    if (QDir(installed).exists(QStringLiteral("index.html")))
        return installed;
    return QStringLiteral(FERROX_HELP_SOURCE_DIR);
}

QString supportPage()
{
    return QDir(helpFolder()).filePath(HelpBook::supportFile());
}

} // namespace ferrox
