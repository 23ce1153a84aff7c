#include "logsearch.h"

#include "views/bytesearch.h"
#include "views/texts.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/logtextview.h"

#include <QTextDocument>

#include <algorithm>

namespace ferrox {

LogSearch::LogSearch(LogTextView &view, ByteHighlighter &highlighter) : m_view(view), m_highlighter(highlighter) {}

QString LogSearch::find(const Request &request)
{
    if (request.text.trimmed().isEmpty())
        return viewtexts::findEmpty();
    if (request.bytes)
        return findBytes(request);
    clear();
    return findText(request);
}

void LogSearch::clear()
{
    m_needle.clear();
    m_matches.clear();
    m_current = -1;
    m_highlighter.mark(ByteHighlighter::Found, {});
}

QString LogSearch::findText(const Request &request)
{
    QTextDocument *doc = m_view.document();
    QTextDocument::FindFlags flags;
    if (request.backwards)
        flags |= QTextDocument::FindBackward;
    if (request.caseSensitive)
        flags |= QTextDocument::FindCaseSensitively;
    QTextCursor found = doc->find(request.text, m_view.textCursor(), flags);
    bool wrapped = false;
    if (found.isNull()) {
        QTextCursor from(doc);
        from.movePosition(request.backwards ? QTextCursor::End : QTextCursor::Start);
        found = doc->find(request.text, from, flags);
        wrapped = true;
    }
    if (found.isNull())
        return viewtexts::findNotFound();
    m_view.selectFound(found);
    // The document's find does not cross line breaks; neither does the count.
    const Qt::CaseSensitivity cs = request.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString text = doc->toPlainText();
    const qsizetype before = QStringView(text).first(found.selectionStart()).count(request.text, cs);
    const QString result = viewtexts::findMatch(before + 1, text.count(request.text, cs));
    return wrapped ? result + viewtexts::findWrapped() : result;
}

QString LogSearch::findBytes(const Request &request)
{
    const std::optional<QByteArray> needle = parseHexBytes(request.text);
    if (!needle) {
        clear();
        return viewtexts::findNotHex();
    }
    const ByteCells &cells = m_highlighter.cells();
    bool wrapped = false;
    if (*needle != m_needle || m_matches.empty()) {
        clear();
        m_needle = *needle;
        m_matches = findAllBytes(cells.values(), m_needle);
        if (m_matches.empty())
            return viewtexts::findNotFound();
        std::vector<std::pair<qint32, qint32>> ranges;
        ranges.reserve(m_matches.size());
        for (const qint32 m : m_matches)
            ranges.emplace_back(m, m + qint32(m_needle.size()));
        m_highlighter.mark(ByteHighlighter::Found, ranges);
        // Start from the caret: the first match of a byte at or after it.
        const qint32 caret = m_view.textCursor().selectionStart();
        const auto after = std::find_if(m_matches.begin(), m_matches.end(), [&](qint32 m) {
            const ByteCells::Byte &b = cells.bytes()[size_t(m)];
            return std::max(b.hexStart, b.charStart) >= caret;
        });
        m_current = after - m_matches.begin();
        if (request.backwards)
            --m_current;
    } else {
        m_current += request.backwards ? -1 : 1;
    }
    const qsizetype count = qsizetype(m_matches.size());
    if (m_current < 0 || m_current >= count) {
        wrapped = true;
        m_current = (m_current + count) % count;
    }
    selectMatch(m_matches[size_t(m_current)], qint32(m_needle.size()));
    const QString result = viewtexts::findMatch(m_current + 1, count);
    return wrapped ? result + viewtexts::findWrapped() : result;
}

// Selects the match's hex cells (its characters where the mode has no hex
// column) from the first byte to the last.
void LogSearch::selectMatch(qint32 firstByte, qint32 count)
{
    const ByteCells::Byte &first = m_highlighter.cells().bytes()[size_t(firstByte)];
    const ByteCells::Byte &last = m_highlighter.cells().bytes()[size_t(firstByte + count - 1)];
    const bool hex = first.hexEnd > first.hexStart;
    QTextCursor cursor(m_view.document());
    cursor.setPosition(hex ? first.hexStart : first.charStart);
    cursor.setPosition(hex ? last.hexEnd : last.charEnd, QTextCursor::KeepAnchor);
    m_view.selectFound(cursor);
}

} // namespace ferrox
