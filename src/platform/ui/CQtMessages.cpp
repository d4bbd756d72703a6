// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/CQtMessages.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <utility>

#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

namespace {

// The buttons as a Polish system labels them, set here so that they stay Polish
// where Qt's own translation is missing; in English the program's translation names them.
void SetButtonTexts(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Ok, "OK"}, {QMessageBox::Cancel, KIV_TR_NOOP("Kiv", "Anuluj")},
        {QMessageBox::Yes, KIV_TR_NOOP("Kiv", "&Tak")}, {QMessageBox::No, KIV_TR_NOOP("Kiv", "&Nie")}};
    for (const auto& [button, text] : texts)
        if (QAbstractButton* b = box.button(button)) b->setText(KivTr("Kiv", text));
}

}  // namespace

MsgResult CQtMessages::Show(const std::string& text, const std::string& caption, MsgIcon icon,
                            MsgButtons buttons) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::Information: qicon = QMessageBox::Information; break;
    case MsgIcon::Exclamation: qicon = QMessageBox::Warning; break;
    case MsgIcon::Error: qicon = QMessageBox::Critical; break;
    case MsgIcon::Question: qicon = QMessageBox::Question; break;
    case MsgIcon::None: break;
    }
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    switch (buttons) {
    case MsgButtons::Ok: qbuttons = QMessageBox::Ok; break;
    case MsgButtons::OkCancel: qbuttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::YesNo: qbuttons = QMessageBox::Yes | QMessageBox::No; break;
    case MsgButtons::YesNoCancel: qbuttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    // The core's texts are Polish; shown here, they are looked up whole in the translation.
    QMessageBox box(qicon, KivTr("Kiv", caption.c_str()), KivTr("Kiv", text.c_str()), qbuttons, m_pParent);
    SetButtonTexts(box);
    switch (box.exec()) {
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return MsgResult::Ok;
    }
}
