// ferrox-chart: paints a response-time chart as PNG for ferrox-cli, which
// runs it for `timeline --chart OUT.png` so that ferrox-cli itself loads no
// GUI library. The chart, laid out by ferrox-cli, comes on standard input;
// the PNG goes to standard output. Not meant to be run by hand.
#include "frames/responsechartstream.h"
#include "frames/ui/chartpainter.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc > 1 || isatty(STDIN_FILENO)) {
        std::fputs("usage: ferrox-chart < CHART > OUT.png\n"
                   "ferrox-cli runs it to paint `timeline --chart OUT.png`.\n", stderr);
        return 2;
    }
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    const std::optional<ferrox::ResponseChart> chart = ferrox::chartFromBytes(in.readAll());
    if (!chart) {
        std::fputs("ferrox-chart: standard input holds no chart from ferrox-cli of the same build\n", stderr);
        return 2;
    }
    // Nothing is shown: the fonts are all it needs of a platform, and a
    // display named in the environment must not be required.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QByteArray png = ferrox::chartPng(*chart);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(png) != png.size() || !out.flush()) {
        std::fputs("ferrox-chart: the PNG could not be written to standard output\n", stderr);
        return 1;
    }
    return 0;
}
