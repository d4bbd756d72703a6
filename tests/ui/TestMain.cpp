#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "sigrok/SigrokSession.h"
#include "render/PictureForms.h"

// GUI tests run on Qt's offscreen platform unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests read the Polish texts, whatever the machine's locale; kivtool runs inherit it.
    if (qEnvironmentVariableIsEmpty("KIV_LANG")) qputenv("KIV_LANG", "pl");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // as the program does after Qt took the desktop's locale
    RegisterSigrokForms();
    RegisterPictureForms();           // as the program does at start
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
