#include "abouttexts.h"

#include "helpbook.h"
#include "texts.h"

#include <QDir>

namespace ferrox {

AboutTexts aboutLoadTexts()
{
    return {abouttext::loadVersion(), applicationTitle(), abouttext::description(), abouttext::support(QDir::toNativeSeparators(supportPage()))};
}

AboutTexts aboutStartUpTexts()
{
    return {versionLabelText(), abouttext::startUpTitle(), abouttext::description(), abouttext::support(QDir::toNativeSeparators(supportPage()))};
}

} // namespace ferrox
