#include "capturestore.h"

#include "finishedcapture.h"
#include "sidecar.h"

namespace ferrox {

StoredCapture storeCapture(const MonitorData &data, const CaptureFiles &files)
{
    StoredCapture stored;
    if (isEmptyCapture(data.capture)) {
        stored.empty = true;
        return stored;
    }
    const FileWriteResult written = files.writeFile(files.dataPath, data.capture.stream());
    stored.dataWritten = written.ok;
    if (!written.ok)
        stored.failures << written.message;
    else if (files.hasSidecar(files.dataPath)) {
        if (const FileWriteResult times = placeSidecar(files.dataPath, data.times); !times.ok)
            stored.failures << times.message;
    }
    if (!files.textPath.isEmpty()) {
        if (const FileWriteResult text = files.writeFile(files.textPath, files.text); !text.ok)
            stored.failures << text.message;
    }
    return stored;
}

} // namespace ferrox
