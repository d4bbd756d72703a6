#include <QApplication>
#include <clocale>

#include "app/ui/CKivApp.h"

// The one application object.
static CKivApp theApp;

int main(int argc, char** argv) {
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
