#pragma once
#include <QByteArray>
#include <QLineEdit>
#include <QString>
#include <string>

#include "view/SINotation.h"

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
