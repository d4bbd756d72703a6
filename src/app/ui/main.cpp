#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/ui/CKivApp.h"

// The one application object.
static CKivApp theApp;

int main(int argc, char** argv) {
    // The version is answered before Qt looks for a display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kiv %s\n", KIV_VERSION);
            return 0;
        }
    QApplication app(argc, argv);
    // Qt takes the desktop's locale for the C library too; numbers in files and
    // read-outs keep their points ("%.2f", "%.12f" before the comma swap).
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName(QStringLiteral("kiv"));
    QStringList args = app.arguments();
    args.removeFirst();
    if (!theApp.InitInstance(args)) return 1;
    const int result = app.exec();
    theApp.ExitInstance();
    return result;
}
