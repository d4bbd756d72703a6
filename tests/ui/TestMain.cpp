// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <unistd.h>

#include <clocale>
#include <string>

#include "sigrok/SigrokSession.h"
#include "render/PictureForms.h"

// GUI tests run on Qt's offscreen platform unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests read the Polish texts, whatever the machine's locale; kivtool runs inherit it.
    if (qEnvironmentVariableIsEmpty("KIV_LANG")) qputenv("KIV_LANG", "pl");
    // Nothing of the user's own settings is read or written (kivtool runs inherit this too).
    const std::string config = std::string(KIV_TEST_TMP) + "/config-" + std::to_string(getpid());
    qputenv("XDG_CONFIG_HOME", config.c_str());
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // as the program does after Qt took the desktop's locale
    RegisterSigrokForms();
    RegisterPictureForms();           // as the program does at start
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
