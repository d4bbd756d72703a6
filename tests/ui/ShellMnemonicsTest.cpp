// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellFixture.h"

#include <QKeySequence>
#include <map>

namespace {

// Every entry of a menu, and of the bar itself, has an Alt key of its own: the entries without one,
// or sharing one, as "menu: entries".
void FindMnemonicFaults(const QString& where, const QList<QAction*>& entries, QStringList& faults) {
    std::map<QString, QStringList> byKey;
    for (QAction* a : entries) {
        if (a->isSeparator() || !a->isVisible()) continue;
        const QString key = QKeySequence::mnemonic(a->text()).toString();
        if (key.isEmpty()) faults << where + ": " + a->text() + " has none";
        else byKey[key] << a->text();
        if (QMenu* menu = a->menu()) {
            emit menu->aboutToShow();  // the window menu adds the documents here
            FindMnemonicFaults(where + " > " + a->text(), menu->actions(), faults);
        }
    }
    for (const auto& [key, texts] : byKey)
        if (texts.size() > 1) faults << where + ": " + texts.join(", ") + " share " + key;
}

}  // namespace

TEST_F(ShellTest, EveryMenuEntryHasAMnemonicOfItsOwn) {
    for (const char* lang : {"pl", "en"}) {
        qputenv("KIV_LANG", lang);
        NewApp();
        ASSERT_TRUE(Start()) << lang;
        m_app->AddToRecentFileList(MakeDocument("a.kiv"));
        Frame().Execute(ID_FILE_NEW);
        for (bool document : {false, true}) {
            QStringList faults;
            FindMnemonicFaults(document ? "menu bar" : "menu bar with no document", Frame().MenuBarEntries(document),
                               faults);
            EXPECT_TRUE(faults.isEmpty()) << lang << "\n" << faults.join('\n').toStdString();
        }
        m_app->ExitInstance();
    }
    qputenv("KIV_LANG", "pl");
}
