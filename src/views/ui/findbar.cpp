#include "findbar.h"

#include "views/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStandardItemModel>
#include <QToolButton>

namespace ferrox {

namespace {

// Enter and Shift+Enter in the text field.
class EnterFilter : public QObject
{
public:
    explicit EnterFilter(FindBar *bar) : QObject(bar), m_bar(bar) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                emit m_bar->findRequested(key->modifiers() & Qt::ShiftModifier);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    FindBar *m_bar;
};

QToolButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    return b;
}

} // namespace

FindBar::FindBar(QWidget *parent)
    : QWidget(parent), m_text(new QLineEdit(this)), m_kind(new QComboBox(this)), m_case(new QCheckBox(this)),
      m_result(new QLabel(this))
{
    setObjectName(QStringLiteral("findBar"));
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setClearButtonEnabled(true);
    m_kind->setObjectName(QStringLiteral("findKind"));
    m_kind->addItem(viewtexts::findByText());
    m_kind->addItem(viewtexts::findByBytes());
    m_case->setObjectName(QStringLiteral("findCase"));
    m_case->setText(viewtexts::findCaseSensitive());
    m_result->setObjectName(QStringLiteral("findResult"));
    m_result->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QToolButton *next = button(QStringLiteral("findNext"), viewtexts::findNext(), this);
    QToolButton *previous = button(QStringLiteral("findPrevious"), viewtexts::findPrevious(), this);
    QToolButton *close = button(QStringLiteral("findClose"), QStringLiteral("×"), this);
    close->setToolTip(viewtexts::findClose());
    close->setAutoRaise(true);

    // Room for a byte sequence such as "44 30 32 03 0D 0A" and the whole
    // case option however narrow the log window: the window keeps at least
    // the find bar's width rather than squeezing them.
    m_text->setMinimumWidth(m_text->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 20);
    m_case->setMinimumWidth(m_case->sizeHint().width());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(viewtexts::findLabel(), this));
    layout->addWidget(m_text, 2);
    layout->addWidget(m_kind);
    layout->addWidget(m_case);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_result, 1);
    layout->addWidget(close);

    m_text->installEventFilter(new EnterFilter(this));
    connect(next, &QToolButton::clicked, this, [this] { emit findRequested(false); });
    connect(previous, &QToolButton::clicked, this, [this] { emit findRequested(true); });
    connect(close, &QToolButton::clicked, this, &FindBar::closeRequested);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_text->setPlaceholderText(index == 1 ? viewtexts::findBytesHint() : QString());
        m_case->setEnabled(index == 0);
    });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::closeRequested);
}

void FindBar::setBytesAvailable(bool available)
{
    if (auto *model = qobject_cast<QStandardItemModel *>(m_kind->model()))
        model->item(1)->setEnabled(available);
    if (!available)
        m_kind->setCurrentIndex(0);
}

QString FindBar::text() const
{
    return m_text->text();
}

FindBar::Kind FindBar::kind() const
{
    return m_kind->currentIndex() == 1 ? Kind::Bytes : Kind::Text;
}

bool FindBar::caseSensitive() const
{
    return m_case->isChecked();
}

void FindBar::showResult(const QString &result)
{
    m_result->setText(result);
}

void FindBar::open()
{
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

} // namespace ferrox
