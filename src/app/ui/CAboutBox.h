// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

// "O programie...": the program's icon, its name and version, and OK.
class CAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* parent = nullptr);
};
