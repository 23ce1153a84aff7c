#pragma once

#include <QString>

#include <optional>

class QPrinter;

namespace ferrox {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A file dialog as the program describes it. The filter is in the
// program's "label|pattern|label|pattern|" form, for example
// "モニタデータファイル(*.dat)|*.dat|すべてのファイル|*.*|".
struct FileDialogRequest
{
    QString title;
    QString filter;
    QString defaultExtension; // without the dot; added to a name that has none
    QString initialFolder;    // empty: the dialog's own choice
    QString initialName;      // for example "*.dat"
};

struct PrintRequest
{
    QString title;
    bool selectionAvailable = false; // offer "selection" as the print range
};

struct PrintChoice
{
    bool selectionOnly = false;
};

// Every dialog of the program goes through here, so that tests script
// the user's answers. A message box without a title (a null text) shows
// "ferrox"; BlankCaption shows an empty title bar. A cancelled dialog
// returns an empty optional, and so does a dialog that ends without the
// user's answer (the program shutting down): a message box then answers
// Cancel or No, never a consent.
class Dialogs
{
public:
    virtual ~Dialogs();

    virtual MessageAnswer message(const QString &text, MessageIcon icon,
                                  MessageButtons buttons, const QString &title) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest &request) = 0;
    virtual std::optional<PrintChoice> print(QPrinter &printer, const PrintRequest &request) = 0;
    virtual bool pageSetup(QPrinter &printer, const QString &title) = 0;

    // Convenience for the frequent single-button box.
    void inform(const QString &text, MessageIcon icon, const QString &title = QString())
    {
        message(text, icon, MessageButtons::Ok, title);
    }
};

// "a(*.dat)|*.dat|b|*.*|" -> "a(*.dat);;b (*.*)": each pattern shown once.
QString qtFileFilter(const QString &programFilter);

// The title for a box whose title bar stays empty.
inline const QString BlankCaption = QStringLiteral("");

// The title a message box shows: the given one, or "ferrox" for none.
QString messageTitle(const QString &title);

} // namespace ferrox
