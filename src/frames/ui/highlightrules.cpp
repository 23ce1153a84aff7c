#include "highlightrules.h"

#include "platform/settingsstore.h"

namespace ferrox {

namespace {

const QString application = QStringLiteral("ferrox");
const QString section = QStringLiteral("FrameHighlights");

QString ruleText(const HighlightRule &rule)
{
    const QString pattern = rule.bytes.isEmpty() ? QStringLiteral("text:") + rule.text
                                                 : QStringLiteral("hex:") + rule.bytes.hex();
    return pattern + u'|' + rule.colour.name();
}

std::optional<HighlightRule> ruleOf(const QString &text)
{
    const qsizetype bar = text.lastIndexOf(u'|');
    const QColor colour = QColor::fromString(text.mid(bar + 1));
    if (bar < 0 || !colour.isValid())
        return std::nullopt;
    const QString pattern = text.left(bar);
    if (pattern.startsWith(QLatin1String("hex:"))) {
        const std::optional<BytePattern> bytes = BytePattern::fromHex(QStringView(pattern).sliced(4));
        return bytes ? std::optional(HighlightRule {*bytes, {}, colour}) : std::nullopt;
    }
    if (pattern.startsWith(QLatin1String("text:")) && pattern.size() > 5)
        return HighlightRule {{}, pattern.mid(5), colour};
    return std::nullopt;
}

} // namespace

QList<HighlightRule> loadHighlightRules(const SettingsStore &store)
{
    QList<HighlightRule> rules;
    const int count = store.GetSetting(application, section, QStringLiteral("Count"), QStringLiteral("0")).toInt();
    for (int i = 1; i <= count; ++i) {
        if (const auto rule = ruleOf(store.GetSetting(application, section, QStringLiteral("Rule%1").arg(i), QString())))
            rules.append(*rule);
    }
    return rules;
}

void saveHighlightRules(SettingsStore &store, const QList<HighlightRule> &rules)
{
    store.SaveSetting(application, section, QStringLiteral("Count"), QString::number(rules.size()));
    for (qsizetype i = 0; i < rules.size(); ++i)
        store.SaveSetting(application, section, QStringLiteral("Rule%1").arg(i + 1), ruleText(rules.at(i)));
}

namespace {

const QString viewSection = QStringLiteral("FrameView");

} // namespace

FrameViewChoice loadFrameViewChoice(const SettingsStore &store)
{
    return {store.GetSetting(application, viewSection, QStringLiteral("Decoder"), QStringLiteral("lines")),
            store.GetSetting(application, viewSection, QStringLiteral("Gap"), QString())};
}

void saveFrameViewChoice(SettingsStore &store, const FrameViewChoice &choice)
{
    store.SaveSetting(application, viewSection, QStringLiteral("Decoder"), choice.decoder);
    store.SaveSetting(application, viewSection, QStringLiteral("Gap"), choice.gapMillis);
}

} // namespace ferrox
