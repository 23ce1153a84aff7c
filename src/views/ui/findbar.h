#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace ferrox {

// The find bar under a log window's text (objectName "findBar"): what to
// find ("findText"), as text or as hexadecimal bytes ("findKind"), with or
// without case ("findCase"), next / previous ("findNext", "findPrevious"),
// the outcome ("findResult"). Enter finds the next, Shift+Enter the
// previous, Esc asks to close. The finding itself is the window's.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { Text, Bytes };

    explicit FindBar(QWidget *parent = nullptr);

    // A window without a byte map finds text only.
    void setBytesAvailable(bool available);

    QString text() const;
    Kind kind() const;
    bool caseSensitive() const;

    void showResult(const QString &result);
    // Shows the bar with the text to find selected.
    void open();

signals:
    void findRequested(bool backwards);
    void closeRequested();

private:
    QLineEdit *m_text;
    QComboBox *m_kind;
    QCheckBox *m_case;
    QLabel *m_result;
};

} // namespace ferrox
