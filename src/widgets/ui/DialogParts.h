// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <string>

#include "qtcore/KivLanguage.h"

#include "units/SINotation.h"

// A number as the dialogs and the view write it: engineering notation with the prefix.
inline QString SIText(double value, int exponent) {
    std::string text;
    FormatSI(text, value, exponent);
    return QString::fromLatin1(text.c_str());
}

// What an edit field hands over: the fields were always read into a 20-byte buffer, so
// 19 characters, one byte each; anything outside ASCII is no digit, point or prefix and
// the parse refuses it.
inline QByteArray FieldText(const QLineEdit* edit) { return edit->text().left(19).toLatin1(); }

// The dialogs' "OK" (default) and "Anuluj" row, named IDOK and IDCANCEL after their ids;
// they run the dialog's own accept() and reject().
struct OkCancelRow {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};
inline OkCancelRow AddOkCancel(QDialog* dialog) {
    auto* box = new QDialogButtonBox(dialog);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(KivTr("Kiv", "Anuluj"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    cancel->setObjectName(QStringLiteral("IDCANCEL"));
    ok->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, [dialog] { dialog->accept(); });
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, [dialog] { dialog->reject(); });
    return {box, ok, cancel};
}
