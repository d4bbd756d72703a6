#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
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
    // Qt's own dialogs and buttons speak Polish like the rest, where the translation is installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    QStringList args = app.arguments();
    args.removeFirst();
    if (!theApp.InitInstance(args)) return 1;
    const int result = app.exec();
    theApp.ExitInstance();
    return result;
}
