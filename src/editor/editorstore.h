#pragma once

#include "data/capturebuffer.h"

#include <QByteArray>
#include <QString>

namespace ferrox {

// The editor's two files in the program folder (folder ends with a
// separator, as AppFolder() does).

struct ViewFileResult
{
    QByteArray text; // ModifyViewText of the capture, shown whatever happened to the file
    QString message; // why "rs_temp.rsm" could not be written; empty when it was
};

// The view's text for the capture, written to "rs_temp.rsm".
ViewFileResult writeEditorViewFile(const QString &folder, const CaptureBuffer &capture);

struct EditorStoreResult
{
    enum class Status {
        Stored,     // capture holds the stream the text describes
        NoEndCode,  // the text never names "FF": nothing was written
        FileFailed, // "rs_mod.rsm" could not be written; message says why
        Invalid     // the text holds something that is no stream byte
    };
    Status status = Status::Invalid;
    CaptureBuffer capture;
    QString message;
};

// The store's file part: the check for "FF", the text saved as
// "rs_mod.rsm" (code page 932, CR LF) and read back into a copy of
// current. The caller makes the copy the current data; on any other
// status nothing has changed but, possibly, "rs_mod.rsm".
EditorStoreResult storeEditedText(const QString &folder, const QString &text, const CaptureBuffer &current);

// The current data as the editor reaches it.
class EditorData
{
public:
    virtual ~EditorData();
    virtual CaptureBuffer captureBuffer() const = 0;
    // The stored stream becomes the current data, examined and written to
    // "rs_data.dat". False when it could not be (the user has been told);
    // the current data is then as it was.
    virtual bool replaceStream(const CaptureBuffer &capture) = 0;
    // The editor closed after a store: the current data is loaded again
    // from "rs_data.dat".
    virtual void reloadStream() = 0;
};

} // namespace ferrox
