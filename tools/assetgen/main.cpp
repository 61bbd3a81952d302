// assetgen <resource directory>: draws every picture and synthesises every
// sound the desk loads, so that a build tree holds a complete resource
// directory. Deterministic: the same build writes the same files.

#include "tools/assetgen/AssetGenerator.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // Drawing text needs a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <resource directory>\n");
        return 2;
    }
    QString error;
    const QStringList files = assetgen::generateResources(QString::fromLocal8Bit(argv[1]), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(error));
        return 1;
    }
    std::printf("assetgen: %d files in %s\n", int(files.size()), argv[1]);
    return 0;
}
