#include "rtfreader.h"

#include "data/cp932.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <vector>

namespace ferrox {

namespace {

// Group nesting beyond this is read as if it were flat: formatting set in
// such deep groups leaks out, but nothing grows without bound.
constexpr int maxDepth = 256;
constexpr int maxWordLength = 32;
constexpr int maxParameterDigits = 10;

enum class Destination { Text, ColorTable, Skipped };

struct GroupState
{
    TextStyle style;
    int colorIndex = -1;
    int unicodeFallback = 1; // \ucN: characters after \uN to skip
    Destination destination = Destination::Text;
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isSkippedDestination(const QByteArray &word)
{
    static const char *const words[] = {
        "fonttbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "listtable", "listoverridetable",
        "rsidtbl", "generator", "themedata", "colorschememapping", "latentstyles", "datastore",
        "xmlnstbl", "fldinst", "filetbl", "revtbl", "pgdsctbl", "xe", "tc", "txe", "footnote",
        "annotation", "atnid", "atnauthor", "private", "nonshppict", "bkmkstart", "bkmkend",
    };
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char *w) { return word == w; });
}

QChar symbolFor(const QByteArray &word)
{
    static const struct { const char *word; char16_t symbol; } symbols[] = {
        {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
        {"emspace", 0x0020}, {"enspace", 0x0020}, {"qmspace", 0x0020},
    };
    for (const auto &s : symbols) {
        if (word == s.word)
            return QChar(s.symbol);
    }
    return QChar();
}

class RtfReader
{
public:
    explicit RtfReader(const QByteArray &rtf) : m_in(rtf) {}

    StyledText read()
    {
        while (m_pos < m_in.size() && !m_finished) {
            const char c = m_in[m_pos++];
            switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': controlSequence(); break;
            case '\r':
            case '\n': break; // line ends in the file are not text
            default: textByte(static_cast<quint8>(c)); break;
            }
        }
        flushBytes();
        flushRun();
        return m_out;
    }

private:
    GroupState &state() { return m_stack.back(); }

    void openGroup()
    {
        if (int(m_stack.size()) >= maxDepth) {
            ++m_excessDepth;
            return;
        }
        m_stack.push_back(m_stack.back());
    }

    void closeGroup()
    {
        if (m_excessDepth > 0) {
            --m_excessDepth;
            return;
        }
        if (m_stack.size() > 1)
            m_stack.pop_back();
        if (m_stack.size() == 1)
            m_finished = true; // the document's outermost group has ended
    }

    void controlSequence()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        QByteArray word;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos])) {
            if (word.size() < maxWordLength)
                word.append(m_in[m_pos]);
            ++m_pos;
        }
        bool negative = false;
        if (m_pos < m_in.size() && m_in[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        bool hasParameter = false;
        qint64 value = 0;
        int digits = 0;
        while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
            if (digits++ < maxParameterDigits)
                value = value * 10 + (m_in[m_pos] - '0');
            hasParameter = true;
            ++m_pos;
        }
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos; // the delimiting space belongs to the control word
        value = std::clamp<qint64>(negative ? -value : value, INT32_MIN, INT32_MAX);
        controlWord(word, hasParameter, int(value));
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}': textByte(static_cast<quint8>(c)); break;
        case '\'': hexByte(); break;
        case '*': skipGroup(); break; // an optional destination we do not know
        case '~': text(QString(QChar(0x00A0))); break;
        case '_': text(QStringLiteral("-")); break;
        case '\r':
        case '\n': text(QStringLiteral("\n")); break;
        case '\t': text(QStringLiteral("\t")); break;
        default: break; // "\-" optional hyphen and the like show nothing
        }
    }

    void hexByte()
    {
        if (m_pos + 2 > m_in.size()) {
            m_pos = m_in.size(); // cut off at the end of the file
            return;
        }
        const int high = hexValue(m_in[m_pos]);
        const int low = hexValue(m_in[m_pos + 1]);
        if (high < 0 || low < 0)
            return; // not an escape after all: read the characters as text
        m_pos += 2;
        textByte(static_cast<quint8>(high * 16 + low));
    }

    void controlWord(const QByteArray &word, bool hasParameter, int value)
    {
        GroupState &s = state();
        const bool on = !hasParameter || value != 0;
        if (s.destination == Destination::Skipped) {
            if (word == "bin")
                skipBinary(value);
            return;
        }
        if (s.destination == Destination::ColorTable) {
            if (word == "red")
                m_red = std::clamp(value, 0, 255), m_colorSet = true;
            else if (word == "green")
                m_green = std::clamp(value, 0, 255), m_colorSet = true;
            else if (word == "blue")
                m_blue = std::clamp(value, 0, 255), m_colorSet = true;
            return;
        }
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row")
            text(QStringLiteral("\n"));
        else if (word == "tab" || word == "cell")
            text(QStringLiteral("\t"));
        else if (word == "b")
            s.style.bold = on;
        else if (word == "i")
            s.style.italic = on;
        else if (word == "ul")
            s.style.underline = on;
        else if (word == "ulnone")
            s.style.underline = false;
        else if (word == "cf")
            s.style.color = colorAt(value);
        else if (word == "plain")
            s.style = TextStyle();
        else if (word == "u")
            unicodeChar(value);
        else if (word == "uc")
            s.unicodeFallback = std::clamp(value, 0, 16);
        else if (word == "ansicpg")
            setCodePage(value);
        else if (word == "colortbl")
            s.destination = Destination::ColorTable;
        else if (word == "bin")
            skipBinary(value);
        else if (isSkippedDestination(word))
            skipGroup();
        else if (const QChar symbol = symbolFor(word); !symbol.isNull())
            text(QString(symbol));
    }

    std::optional<quint32> colorAt(int index) const
    {
        if (index < 0 || index >= m_colors.size())
            return std::nullopt;
        return m_colors[index];
    }

    void skipGroup() { state().destination = Destination::Skipped; }

    void skipBinary(int count)
    {
        m_pos += std::clamp<qsizetype>(count, 0, m_in.size() - m_pos);
    }

    void setCodePage(int codePage)
    {
        flushBytes();
        if (codePage == 932) {
            m_decoder.reset();
            return;
        }
        const QByteArray name = "windows-" + QByteArray::number(codePage);
        QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
        if (decoder.isValid())
            m_decoder.emplace(std::move(decoder));
    }

    void unicodeChar(int value)
    {
        text(QString(QChar(char16_t(value & 0xFFFF))));
        m_fallbackLeft = state().unicodeFallback;
    }

    // A byte of text in the document's code page (or a colour table byte).
    void textByte(quint8 byte)
    {
        GroupState &s = state();
        if (s.destination == Destination::Skipped)
            return;
        if (s.destination == Destination::ColorTable) {
            if (byte == ';') {
                m_colors.append(m_colorSet ? std::optional<quint32>((m_red << 16) | (m_green << 8) | m_blue)
                                           : std::nullopt);
                m_red = m_green = m_blue = 0;
                m_colorSet = false;
            }
            return;
        }
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        if (!m_bytes.isEmpty() && !(m_bytesStyle == s.style))
            flushBytes();
        m_bytesStyle = s.style;
        m_bytes.append(char(byte));
    }

    void text(const QString &characters)
    {
        GroupState &s = state();
        if (s.destination != Destination::Text)
            return;
        if (m_fallbackLeft > 0 && characters != QStringLiteral("\n")) {
            --m_fallbackLeft;
            return;
        }
        flushBytes();
        append(characters, s.style);
    }

    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        // Code page 932 goes through the program's own mapping, which keeps
        // control bytes as Windows does; Qt's converter swaps some.
        append(m_decoder ? QString(m_decoder->decode(m_bytes)) : decodeCp932(m_bytes), m_bytesStyle);
        m_bytes.clear();
    }

    void append(const QString &characters, const TextStyle &style)
    {
        if (characters.isEmpty())
            return;
        if (!m_run.text.isEmpty() && !(m_run.style == style))
            flushRun();
        m_run.style = style;
        m_run.text += characters;
    }

    void flushRun()
    {
        if (m_run.text.isEmpty())
            return;
        m_out.append(m_run);
        m_run = StyledRun();
    }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    bool m_finished = false;
    std::vector<GroupState> m_stack{GroupState()};
    int m_excessDepth = 0;
    std::optional<QStringDecoder> m_decoder; // none: code page 932
    QByteArray m_bytes;
    TextStyle m_bytesStyle;
    int m_fallbackLeft = 0;
    QList<std::optional<quint32>> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
    StyledRun m_run;
    StyledText m_out;
};

} // namespace

StyledText readRtf(const QByteArray &rtf)
{
    return RtfReader(rtf).read();
}

QString plainTextOf(const StyledText &text)
{
    QString plain;
    for (const StyledRun &run : text)
        plain += run.text;
    return plain;
}

} // namespace ferrox
