#include "modifywindow.h"

#include "editor/editorstore.h"
#include "editor/modifylayout.h"
#include "editor/texts.h"

#include "platform/dialogs.h"
#include "version/programinfo.h"
#include "platform/ui/appearance.h"
#include "views/ui/logtextview.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>

namespace ferrox {

namespace {

QFrame *makeLine(const QString &name, const QColor &color, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, color);
    line->setPalette(p);
    return line;
}

QRect pixelRect(const QRectF &twips, const QWidget *widget)
{
    return QRect(twipsToPixelsX(twips.x(), widget), twipsToPixelsY(twips.y(), widget),
                 twipsToPixelsX(twips.width(), widget), twipsToPixelsY(twips.height(), widget));
}

// A horizontal line one pixel high.
QRect pixelLine(const QLineF &twips, const QWidget *widget)
{
    const int left = twipsToPixelsX(twips.x1(), widget);
    return QRect(left, twipsToPixelsY(twips.y1(), widget), twipsToPixelsX(twips.x2(), widget) - left + 1, 1);
}

} // namespace

ModifyWindow::ModifyWindow(EditorData &data, ProgramSettings settings, Dialogs &dialogs, QString folder,
                           QWidget *parent)
    : QMainWindow(parent), m_data(data), m_settings(settings), m_dialogs(dialogs), m_folder(std::move(folder))
{
    setObjectName(QStringLiteral("frmModify"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(editortext::windowCaption());

    QMenu *file = menuBar()->addMenu(editortext::fileMenu());
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *open = file->addAction(editortext::openItem(), this, &ModifyWindow::openView);
    open->setObjectName(QStringLiteral("mnuOpen"));
    m_store = file->addAction(editortext::storeItem(), this, &ModifyWindow::storeText);
    m_store->setObjectName(QStringLiteral("mnuDataSave"));
    QAction *end = file->addAction(editortext::endItem(), this, &QWidget::close);
    end->setObjectName(QStringLiteral("mnuEnd"));

    auto *client = new QWidget(this);
    setCentralWidget(client);
    m_upperLine = makeLine(QStringLiteral("LN1"), colorFromBgr(0x808080), client);
    m_lowerLine = makeLine(QStringLiteral("LN2"), Qt::white, client);
    m_view = new LogTextView(client);
    m_view->setObjectName(QStringLiteral("RTModify"));
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_header = new QLabel(editortext::columnHeader(), client);
    m_header->setObjectName(QStringLiteral("Label1"));
    m_header->setFont(gothicFont(9));
    // A text still loading is not the data: storing it would cut the stream.
    connect(m_view, &LogTextView::textLoaded, this, [this] {
        m_store->setEnabled(true);
        m_view->setUndoRedoEnabled(true);
    });

    const EditorGeometry geometry = loadEditorGeometry(m_settings);
    move(twipsToPixelsX(geometry.left, this), twipsToPixelsY(geometry.top, this));
    resize(twipsToPixelsX(geometry.width, this), twipsToPixelsY(geometry.height, this));
    layOut();
    openView();
    m_stored = false;
}

void ModifyWindow::openView()
{
    m_store->setEnabled(false);
    m_view->setUndoRedoEnabled(false);
    const ViewFileResult view = writeEditorViewFile(m_folder, m_data.captureBuffer());
    if (!view.message.isEmpty())
        m_dialogs.inform(view.message, MessageIcon::Exclamation);
    m_view->loadBytes(view.text, false);
}

void ModifyWindow::storeText()
{
    if (m_view->isLoading())
        return;
    const EditorStoreResult result = storeEditedText(m_folder, m_view->plainText(), m_data.captureBuffer());
    switch (result.status) {
    case EditorStoreResult::Status::NoEndCode:
        m_dialogs.inform(editortext::noEndCode(), MessageIcon::Critical, applicationTitle());
        return;
    case EditorStoreResult::Status::FileFailed:
        m_dialogs.inform(result.message, MessageIcon::Exclamation);
        return;
    case EditorStoreResult::Status::Invalid:
        m_dialogs.inform(editortext::storeFailed(), MessageIcon::None, BlankCaption);
        return;
    case EditorStoreResult::Status::Stored:
        break;
    }
    if (!m_data.replaceStream(result.capture))
        return;
    openView();
    m_stored = true;
}

void ModifyWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layOut();
}

void ModifyWindow::layOut()
{
    const QSize outer = frameGeometry().size();
    const ModifyLayout layout = modifyWindowLayout(QSizeF(pixelsToTwipsX(outer.width(), this),
                                                          pixelsToTwipsY(outer.height(), this)));
    // The outer size includes the frame, caption and menu bar: nothing may
    // reach past the client area.
    const QRect client = centralWidget()->rect();
    m_upperLine->setGeometry(pixelLine(layout.upperLine, this) & client);
    m_lowerLine->setGeometry(pixelLine(layout.lowerLine, this) & client);
    const QRect text = pixelRect(layout.text, this) & client;
    m_view->setGeometry(text);
    // The header's columns stand over the text's.
    const int inset = m_view->frameWidth() + int(m_view->document()->documentMargin());
    m_header->setGeometry(pixelRect(layout.header, this).adjusted(inset, 0, 0, 0) & client);
}

void ModifyWindow::closeEvent(QCloseEvent *event)
{
    if (!isMinimized()) {
        saveEditorGeometry(m_settings, {float(pixelsToTwipsX(x(), this)), float(pixelsToTwipsY(y(), this)),
                                        float(pixelsToTwipsX(width(), this)), float(pixelsToTwipsY(height(), this))});
    }
    if (m_stored)
        m_data.reloadStream();
    event->accept();
}

} // namespace ferrox
