// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QGroupBox>
#include <QLabel>
#include <QStringList>

// Every text a window shows besides its fields: group titles, then labels.
inline QStringList Captions(const QWidget& w) {
    QStringList out;
    for (const QGroupBox* g : w.findChildren<QGroupBox*>()) out << g->title();
    for (const QLabel* l : w.findChildren<QLabel*>()) out << l->text();
    return out;
}
