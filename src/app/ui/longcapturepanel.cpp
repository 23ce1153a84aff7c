#include "longcapturepanel.h"

#include "app/base/texts.h"
#include "session/monitorsession.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace ferrox {

LongCapturePanel::LongCapturePanel(QWidget *parent) : QGroupBox(apptext::LongCaptureFrame, parent)
{
    setObjectName(QStringLiteral("Frame_LongCapture"));
    setCheckable(true);
    setChecked(false);
    m_fileBytes = new QSpinBox(this);
    m_fileBytes->setObjectName(QStringLiteral("Text_LongFileBytes"));
    m_fileBytes->setRange(2, LongCaptureSettings::LargestFile);
    m_files = new QSpinBox(this);
    m_files->setObjectName(QStringLiteral("Text_LongFiles"));
    m_files->setRange(0, 1'000'000);
    m_files->setSpecialValueText(apptext::LongFilesAll);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("Text_LongFolder"));
    m_folder->setPlaceholderText(apptext::LongFolderDefault);
    // A long path must not widen the settings panel.
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_reconnect = new QCheckBox(apptext::Reconnect, this);
    m_reconnect->setObjectName(QStringLiteral("Check_Reconnect"));

    // Two rows, so a first run still shows the whole settings panel: the
    // size and the count say what they are in their tips and units.
    m_fileBytes->setSuffix(QStringLiteral(" ") + apptext::ByteUnit);
    m_fileBytes->setToolTip(apptext::LongFileBytes);
    m_files->setPrefix(apptext::LongFilesPrefix);
    m_files->setToolTip(apptext::LongFiles);
    m_folder->setToolTip(apptext::LongFolder);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(3);
    grid->addWidget(m_fileBytes, 0, 0);
    grid->addWidget(m_files, 0, 1);
    grid->addWidget(m_reconnect, 0, 2);
    grid->addWidget(m_folder, 1, 0, 1, 3);
    show(LongCaptureSettings{});
}

void LongCapturePanel::bind(MonitorSession &session, SettingsStore &store)
{
    show(session.longCapture());
    const auto edited = [this, &session, &store] {
        const LongCaptureSettings settings = value();
        if (settings == session.longCapture())
            return;
        session.setLongCapture(settings);
        storeLongCapture(store, settings);
    };
    connect(this, &QGroupBox::toggled, this, edited);
    connect(m_fileBytes, &QSpinBox::valueChanged, this, edited);
    connect(m_files, &QSpinBox::valueChanged, this, edited);
    connect(m_folder, &QLineEdit::textChanged, this, edited);
    connect(m_reconnect, &QCheckBox::toggled, this, edited);
}

void LongCapturePanel::show(const LongCaptureSettings &settings)
{
    setChecked(settings.on);
    m_fileBytes->setValue(settings.fileBytes);
    m_files->setValue(settings.keepFiles);
    m_folder->setText(settings.folder);
    m_reconnect->setChecked(settings.reconnect);
}

LongCaptureSettings LongCapturePanel::value() const
{
    LongCaptureSettings settings;
    settings.on = isChecked();
    settings.fileBytes = m_fileBytes->value();
    settings.keepFiles = m_files->value();
    settings.folder = m_folder->text();
    settings.reconnect = m_reconnect->isChecked();
    return settings;
}

} // namespace ferrox
