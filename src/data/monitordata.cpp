#include "monitordata.h"

#include "texts.h"

namespace ferrox {

QString MonitorData::CaptureTitle() const
{
    return DataTexts::captureTitlePrefix() + CaptureTimestamp;
}

} // namespace ferrox
