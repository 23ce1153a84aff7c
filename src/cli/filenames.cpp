#include "filenames.h"

#include "data/sidecar.h"
#include "files/filenamebytes.h"
#include "files/samefile.h"

namespace ferrox::cli {

QStringList decodeArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decodeFileName(QByteArray(argv[i]));
    return arguments;
}

QString inputOverwrittenBy(const QString &output, const QString &dataPath)
{
    for (const QString &input : {dataPath, sidecarPath(dataPath)}) {
        if (sameFile(output, input))
            return input;
    }
    return {};
}

} // namespace ferrox::cli
