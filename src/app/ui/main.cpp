#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/ui/CKivApp.h"

// The one application object.
static CKivApp theApp;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
