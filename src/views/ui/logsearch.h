#pragma once

#include <QString>

#include <vector>

namespace ferrox {

class ByteHighlighter;
class LogTextView;

// Finding in a log window's text. Text is found in the characters shown
// (optionally matching case) and selected; a byte sequence is found in
// the monitored bytes of the window's byte map, whatever lines, blocks
// and directions lie between them: every match is marked, the current
// one selected as a found match (a mark, not the user's selection). Both wrap around at either end. Each step answers the
// text the find bar shows.
class LogSearch
{
public:
    LogSearch(LogTextView &view, ByteHighlighter &highlighter);

    struct Request
    {
        QString text;
        bool bytes = false;
        bool caseSensitive = false;
        bool backwards = false;
    };
    QString find(const Request &request);

    // Removes the marks of found bytes.
    void clear();

private:
    QString findText(const Request &request);
    QString findBytes(const Request &request);
    void selectMatch(qint32 firstByte, qint32 count);

    LogTextView &m_view;
    ByteHighlighter &m_highlighter;
    // The byte search last made: repeated, it steps through its matches.
    QByteArray m_needle;
    std::vector<qint32> m_matches;
    qsizetype m_current = -1;
};

} // namespace ferrox
