#include "settingspanel.h"

#include "colorbox.h"
#include "combotext.h"
#include "longcapturepanel.h"
#include "portcombo.h"

#include "app/base/texts.h"
#include "link/protocol.h"
#include "platform/ui/appearance.h"
#include "session/monitorsession.h"
#include "settings/settingsschema.h"
#include "signals/ui/signalpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <initializer_list>

namespace ferrox {

namespace {

constexpr QSize LinkLampSize{16, 11};

template<typename Widget>
Widget *named(Widget *widget, const QString &objectName)
{
    widget->setObjectName(objectName);
    return widget;
}

QGroupBox *frame(const QString &objectName, const QString &title, QWidget *parent)
{
    return named(new QGroupBox(title, parent), objectName);
}

QStringList speedTexts(const QList<int> &speeds)
{
    QStringList texts;
    for (int speed : speeds)
        texts << speedText(speed);
    return texts;
}

QStringList directionTexts(const QList<MonitorDirection> &directions)
{
    QStringList texts;
    for (MonitorDirection direction : directions)
        texts << directionText(direction);
    return texts;
}

QStringList displayModeTexts()
{
    QStringList texts;
    for (qint32 mode = 1; mode <= DisplayModeCount; ++mode)
        texts << displayModeText(mode);
    return texts;
}

} // namespace

SettingsPanel::SettingsPanel(ProgramSettings &settings, QWidget *parent)
    : QScrollArea(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("Picture_big"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("Picture_big_content"));
    auto *title = named(new QLabel(apptext::SettingsWindow, content), QStringLiteral("Label_SettingsWindow"));
    title->setAlignment(Qt::AlignCenter);
    title->setAutoFillBackground(true);
    title->setForegroundRole(QPalette::HighlightedText);
    title->setBackgroundRole(QPalette::Highlight);
    title->setMargin(2);

    m_signalPanel = new SignalPanel(content);

    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(title);
    layout->addWidget(makeChoices(content));
    layout->addWidget(makeDataWidthFrame(content));
    layout->addWidget(makeLinkOptionsFrame(content));
    layout->addWidget(makeSimpleMonitorFrame(content));
    layout->addWidget(makeReceivedBytesFrame(content));
    m_longCapture = new LongCapturePanel(content);
    layout->addWidget(m_longCapture);
    layout->addWidget(m_signalPanel);
    layout->addWidget(makeDisplayButtons(content));
    layout->addStretch();
    setWidget(content);

    // Wide enough for the content and a vertical scroll bar, never wider.
    setFixedWidth(content->sizeHint().width() + verticalScrollBar()->sizeHint().width());

    storeChoices();
    choosePortsByText();
}

QWidget *SettingsPanel::makeChoices(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    const auto addRow = [&](QComboBox *&combo, const char *name, const char *labelName,
                            const QString &caption) {
        if (!combo)
            combo = makeListCombo(QLatin1String(name), box);
        auto *label = named(new QLabel(caption, box), QLatin1String(labelName));
        label->setBuddy(combo);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
    };
    m_comPort = new PortCombo(box);
    QComboBox *portCombo = m_comPort;
    addRow(portCombo, "Combo_Com_port", "Label_Com_port", apptext::ComPortCaption);
    addRow(m_pcSpeed, "Combo_PC_speed", "Label_PC_speed", apptext::PcSpeedCaption);
    addRow(m_monitorSpeed, "Combo_Monitor_speed", "Label_Monitor_speed", apptext::MonitorSpeedCaption);
    addRow(m_direction, "Combo_Direction", "Label_Direction", apptext::DirectionCaption);
    addRow(m_displayMode, "Combo_DisplayMode", "Label_DisplayMode", apptext::DisplayModeCaption);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *SettingsPanel::makeDataWidthFrame(QWidget *parent)
{
    // Offered only by the newest firmware; the connection check enables it.
    m_dataWidthFrame = frame(QStringLiteral("Frame2"), apptext::DataWidthFrame, parent);
    m_dataOnly = named(new QRadioButton(apptext::DataOnly, m_dataWidthFrame), QStringLiteral("Data_only"));
    m_dataAndParity = named(new QRadioButton(apptext::DataAndParity, m_dataWidthFrame),
                            QStringLiteral("DataAndParity"));
    m_dataOnly->setChecked(true);
    auto *row = new QHBoxLayout(m_dataWidthFrame);
    for (QRadioButton *option : {m_dataOnly, m_dataAndParity}) {
        option->setToolTip(apptext::DataWidthHint);
        option->setEnabled(false);
        row->addWidget(option);
    }
    m_dataWidthFrame->setEnabled(false);
    return m_dataWidthFrame;
}

QWidget *SettingsPanel::makeLinkOptionsFrame(QWidget *parent)
{
    QGroupBox *box = frame(QStringLiteral("Frame_ComSet"), apptext::LinkOptionsFrame, parent);
    m_checkDtr = named(new QCheckBox(apptext::DtrEnable, box), QStringLiteral("Check_DTR"));
    m_checkRts = named(new QCheckBox(apptext::RtsEnable, box), QStringLiteral("Check_RTS"));
    m_help = named(new QPushButton(apptext::LinkOptionsHelp, box), QStringLiteral("Command_Help"));
    m_help->setFixedWidth(m_help->fontMetrics().height() * 2);
    m_portCheck = named(new QPushButton(apptext::PortCheck, box), QStringLiteral("Cmd_Port_Check"));
    m_dsrLamp = new ColorBox(QStringLiteral("Picture_DSR"), LinkLampSize, box);
    m_ctsLamp = new ColorBox(QStringLiteral("Picture_CTS"), LinkLampSize, box);
    // Off until a connection check reads the link port's lines.
    m_dsrLamp->setColor(colorFromBgr(0));
    m_ctsLamp->setColor(colorFromBgr(0));

    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    grid->addWidget(m_checkDtr, 0, 0);
    grid->addWidget(m_checkRts, 0, 1);
    grid->addWidget(m_help, 0, 2, Qt::AlignRight);
    auto *lamps = new QHBoxLayout;
    lamps->setSpacing(3);
    lamps->addWidget(m_dsrLamp);
    lamps->addWidget(named(new QLabel(apptext::DsrLamp, box), QStringLiteral("Label_DSR")));
    lamps->addSpacing(6);
    lamps->addWidget(m_ctsLamp);
    lamps->addWidget(named(new QLabel(apptext::CtsLamp, box), QStringLiteral("Label_CTS")));
    lamps->addStretch();
    grid->addLayout(lamps, 1, 0);
    grid->addWidget(m_portCheck, 1, 1, 1, 2);
    return box;
}

QWidget *SettingsPanel::makeSimpleMonitorFrame(QWidget *parent)
{
    QGroupBox *box = frame(QStringLiteral("Frame1"), apptext::SimpleMonitorFrame, parent);
    m_hexOption = named(new QRadioButton(apptext::HexOption, box), QStringLiteral("Option_Hex"));
    m_textOption = named(new QRadioButton(apptext::TextOption, box), QStringLiteral("Option_Txt"));
    m_hexOption->setChecked(true);
    auto *row = new QHBoxLayout(box);
    row->addWidget(m_hexOption);
    row->addWidget(m_textOption);
    return box;
}

QWidget *SettingsPanel::makeReceivedBytesFrame(QWidget *parent)
{
    QGroupBox *box = frame(QStringLiteral("Frame_RecByte"), QString(), parent);
    m_recByteCheck = named(new QCheckBox(apptext::ReceivedBytes, box), QStringLiteral("Check_RecByte"));
    m_recByteCheck->setChecked(true);
    m_receiveLamp = new ColorBox(QStringLiteral("Picture1"), LinkLampSize, box);
    m_recByteLabel = named(new QLabel(apptext::Zero, box), QStringLiteral("Label_RecByte"));
    m_recByteLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_recByteLabel->setFrameShape(QFrame::Panel);
    m_recByteLabel->setFrameShadow(QFrame::Sunken);
    m_byteLabel = named(new QLabel(apptext::ByteUnit, box), QStringLiteral("Label_Byte"));

    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(3);
    grid->addWidget(m_recByteCheck, 0, 0, 1, 3);
    grid->addWidget(m_receiveLamp, 1, 0);
    grid->addWidget(m_recByteLabel, 1, 1);
    grid->addWidget(m_byteLabel, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *SettingsPanel::makeDisplayButtons(QWidget *parent)
{
    QGroupBox *box = frame(QStringLiteral("Frame_DpOpen"), apptext::ShowLogFrame, parent);
    auto *row = new QHBoxLayout(box);
    row->setSpacing(3);
    for (int i = 0; i < DisplayButtonCount; ++i) {
        m_displayButtons[i] = named(new QPushButton(QString::number(i + 1), box),
                                    QStringLiteral("Cmd_DpOpen(%1)").arg(i));
        m_displayButtons[i]->setToolTip(apptext::ShowLogTips.at(i));
        m_displayButtons[i]->setFixedWidth(m_displayButtons[i]->fontMetrics().height() * 2);
        row->addWidget(m_displayButtons[i]);
    }
    row->addStretch();
    m_openLogCount = named(new QLabel(apptext::Zero, box), QStringLiteral("Label_x"));
    m_openLogCount->setToolTip(apptext::OpenLogCountTip);
    m_openLogCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_openLogCount->setFrameShape(QFrame::Panel);
    m_openLogCount->setFrameShadow(QFrame::Sunken);
    m_openLogCount->setMinimumWidth(m_openLogCount->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    row->addWidget(m_openLogCount);
    return box;
}

void SettingsPanel::storeChoices()
{
    const auto storeChoice = [this](QComboBox *combo, const SettingKey &key) {
        connect(combo, &QComboBox::activated, this,
                [this, combo, &key](int index) { storeText(m_settings, key, combo->itemText(index)); });
    };
    storeChoice(m_pcSpeed, settingkey::linkSpeed());
    storeChoice(m_monitorSpeed, settingkey::monitorSpeed());
    storeChoice(m_direction, settingkey::direction());
    storeChoice(m_displayMode, settingkey::displayMode());

    const auto storeCheck = [this](QCheckBox *box, const SettingKey &key) {
        connect(box, &QCheckBox::clicked, this,
                [this, &key](bool checked) { storeText(m_settings, key, checkText(checked)); });
    };
    storeCheck(m_checkDtr, settingkey::dtr());
    storeCheck(m_checkRts, settingkey::rts());
}

void SettingsPanel::choosePortsByText()
{
    // The list is made anew as it opens; the text stays what it was.
    connect(m_comPort, &PortCombo::listOpening, this, [this] { m_comPort->refill(m_comPort->currentText()); });
    // A listed text is a choice by activated() already.
    connect(m_comPort->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const QString text = m_comPort->currentText();
        if (isDevicePath(text) && m_comPort->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            emit devicePathEntered();
    });
}

void SettingsPanel::writeEditsInto(MonitorSession &session)
{
    MonitorSession *target = &session;
    const auto edit = [target](auto apply) {
        MonitorSettings settings = target->settings();
        apply(settings);
        target->setSettings(settings);
    };
    // The session is the context: the edits stop going there when it goes.
    const auto onText = [&session, edit](QComboBox *combo, auto apply) {
        const auto write = [edit, apply](const QString &text) {
            edit([&](MonitorSettings &settings) { apply(settings, text); });
        };
        connect(combo, &QComboBox::currentTextChanged, &session, write);
        connect(combo, &QComboBox::editTextChanged, &session, write);
    };
    onText(m_comPort, [](MonitorSettings &s, const QString &text) { s.port = text; });
    onText(m_pcSpeed, [](MonitorSettings &s, const QString &text) { s.linkSpeed = linkSpeedOf(text); });
    onText(m_monitorSpeed, [](MonitorSettings &s, const QString &text) { s.monitoredSpeed = monitorSpeedOf(text); });
    onText(m_direction, [](MonitorSettings &s, const QString &text) { s.direction = directionOf(text); });
    onText(m_displayMode, [](MonitorSettings &s, const QString &text) { s.displayMode = displayModeNumberOf(text); });

    // One button of each pair of options answers for the pair.
    const auto onCheck = [&session, edit](QAbstractButton *button, auto apply) {
        connect(button, &QAbstractButton::toggled, &session,
                [edit, apply](bool on) { edit([&](MonitorSettings &settings) { apply(settings, on); }); });
    };
    onCheck(m_checkDtr, [](MonitorSettings &s, bool on) { s.dtr = on; });
    onCheck(m_checkRts, [](MonitorSettings &s, bool on) { s.rts = on; });
    onCheck(m_dataOnly, [](MonitorSettings &s, bool on) { s.dataWidth = on ? DataWidth::DataOnly : DataWidth::DataAndParity; });
    onCheck(m_textOption, [](MonitorSettings &s, bool on) { s.liveDisplay = on ? LiveDisplay::Text : LiveDisplay::Hex; });
}

void SettingsPanel::setSettingsLocked(bool locked)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_portCheck, m_comPort, m_direction, m_displayMode,
                                                             m_monitorSpeed, m_pcSpeed})
        control->setEnabled(!locked);
}

void SettingsPanel::setReadoutEnabled(bool enabled)
{
    m_signalPanel->readButton()->setEnabled(enabled);
}

void SettingsPanel::load()
{
    m_comPort->fillNumbered(storedText(m_settings, settingkey::port()));
    const QString linkSpeed = storedText(m_settings, settingkey::linkSpeed());
    setComboItems(m_pcSpeed, speedTexts(linkSpeedChoices()), linkSpeed);
    setComboItems(m_displayMode, displayModeTexts(), storedText(m_settings, settingkey::displayMode()));
    setComboItems(m_direction, {directionText(MonitorDirection::Both)}, storedText(m_settings, settingkey::direction()));
    // Before any check: the oldest firmware's speeds; only a link of
    // exactly 115200 bits per second is the fast one.
    const bool slowLink = linkSpeedOf(linkSpeed) != 115200;
    setComboItems(m_monitorSpeed, speedTexts(monitorSpeedsOffered(QString(), slowLink)),
                  storedText(m_settings, settingkey::monitorSpeed()));

    m_checkRts->setChecked(checkedOf(storedText(m_settings, settingkey::rts())));
    m_checkDtr->setChecked(checkedOf(storedText(m_settings, settingkey::dtr())));
}

QString SettingsPanel::displayModeCaption(qint32 mode) const
{
    // The stored choice is what the list shows: the first run's "モード１" too.
    const QString stored = storedText(m_settings, settingkey::displayMode());
    return displayModeNumberOf(stored) == mode ? stored : displayModeText(mode);
}

void SettingsPanel::offerFeatures(const FirmwareFeatures &features)
{
    setComboItems(m_monitorSpeed, speedTexts(features.monitorSpeeds), storedText(m_settings, settingkey::monitorSpeed()));
    setComboItems(m_direction, directionTexts(features.directions), storedText(m_settings, settingkey::direction()));
    if (!features.dataWidth)
        return;
    for (QWidget *option : std::initializer_list<QWidget *>{m_dataWidthFrame, m_dataOnly, m_dataAndParity})
        option->setEnabled(true);
}

} // namespace ferrox
