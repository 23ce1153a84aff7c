#include "abouttexts.h"

#include "texts.h"

namespace ferrox {

AboutTexts aboutLoadTexts()
{
    return {abouttext::loadVersion(), applicationTitle(), abouttext::description(), abouttext::support()};
}

AboutTexts aboutStartUpTexts()
{
    return {versionLabelText(), abouttext::startUpTitle(), abouttext::description(), abouttext::support()};
}

} // namespace ferrox
