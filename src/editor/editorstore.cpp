#include "editorstore.h"

#include "hextext.h"

#include "data/datafiles.h"
#include "views/logtext.h"

namespace ferrox {

EditorData::~EditorData() = default;

ViewFileResult writeEditorViewFile(const QString &folder, const CaptureBuffer &capture)
{
    ViewFileResult result;
    result.text = ModifyViewText(capture);
    result.message = writeFileAtomically(folder + editorViewFileName(), result.text).message;
    return result;
}

EditorStoreResult storeEditedText(const QString &folder, const QString &text, const CaptureBuffer &current)
{
    EditorStoreResult result;
    if (!mentionsEndCode(text)) {
        result.status = EditorStoreResult::Status::NoEndCode;
        return result;
    }
    const FileWriteResult written = writeFileAtomically(folder + editedTextFileName(), encodeLogText(text));
    if (!written.ok) {
        result.status = EditorStoreResult::Status::FileFailed;
        result.message = written.message;
        return result;
    }
    if (std::optional<CaptureBuffer> edited = readEditedText(text, current)) {
        result.status = EditorStoreResult::Status::Stored;
        result.capture = std::move(*edited);
    }
    return result;
}

} // namespace ferrox
