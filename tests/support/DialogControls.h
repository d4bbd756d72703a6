// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractButton>
#include <QLineEdit>
#include <QStringList>
#include <stdexcept>

// A dialog's control by its object name, the resource id; a missing one fails the test.
template <class T = QWidget>
T* Get(QWidget& dlg, const QString& name) {
    if (T* w = dlg.findChild<T*>(name)) return w;
    throw std::runtime_error(name.toStdString());
}
inline void Click(QWidget& dlg, const char* name) { Get<QAbstractButton>(dlg, name)->click(); }
inline void SetText(QWidget& dlg, const char* name, const char* text) {
    Get<QLineEdit>(dlg, name)->setText(QString::fromUtf8(text));
}

// One letter per control: a box or radio button x (ticked) or o, anything else E (enabled) or D.
inline QString States(QWidget& dlg, const char* ids) {
    QString letters;
    for (const QString& id : QString(ids).split(' ')) {
        auto* button = qobject_cast<QAbstractButton*>(Get(dlg, id));
        letters += button && button->isCheckable() ? (button->isChecked() ? 'x' : 'o')
                                                   : (Get(dlg, id)->isEnabled() ? 'E' : 'D');
    }
    return letters;
}
