#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace ferrox {

// Character formatting our log windows can show.
struct TextStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<quint32> color; // 0xRRGGBB; none: the view's own text colour

    bool operator==(const TextStyle &) const = default;
};

// A piece of text in one style. Line breaks are '\n', tabs '\t'.
struct StyledRun
{
    QString text;
    TextStyle style;

    bool operator==(const StyledRun &) const = default;
};

using StyledText = QList<StyledRun>;

// Reads a rich text (RTF) file into styled runs: groups, paragraph and
// line breaks, tabs, "\'hh" bytes in the document's code page (932 unless
// "\ansicpgN" names another), "\uN" with its fallback skipped, bold,
// italic, underline and the colour table. Font tables, style sheets,
// pictures, document information and other destinations are skipped;
// unknown control words are ignored. Never fails: malformed input
// (unbalanced braces, cut-off escapes, huge numbers) gives whatever text
// could be read. Adjacent runs of one style are merged.
StyledText readRtf(const QByteArray &rtf);

// The plain characters of styled text.
QString plainTextOf(const StyledText &text);

} // namespace ferrox
