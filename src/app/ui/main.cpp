// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/ui/CKivApp.h"
#include "view/ui/CKivView.h"

// The one application object.
static CKivApp theApp;

// The start-up benchmark (bench/startup.sh) puts the launch time in KIV_FIRST_FRAME, in ns of
// CLOCK_REALTIME: the first frame with the plot on it prints the milliseconds since then and
// ends the program.
static void ReportFirstFrame(const char* launched) {
    CChildFrame* child = theApp.MainFrame() ? theApp.MainFrame()->ActiveChild() : nullptr;
    if (!child) return;
    QObject::connect(child->GetView(), &CKivView::plotPainted, qApp, [launched] {
        static bool reported = false;
        if (reported) return;
        reported = true;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("%.1f\n", (double(now.tv_sec) * 1e9 + double(now.tv_nsec) - std::strtod(launched, nullptr)) / 1e6);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
}

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
    if (const char* launched = std::getenv("KIV_FIRST_FRAME")) ReportFirstFrame(launched);
    const int result = app.exec();
    theApp.ExitInstance();
    return result;
}
