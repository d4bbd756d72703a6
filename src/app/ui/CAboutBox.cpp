// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/CAboutBox.h"
#include "qtcore/KivLanguage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutBox::CAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(KivTr("Kiv", "O programie..."));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/kiv.svg")).pixmap(48, 48));
    auto* text = new QLabel(KivTr("Kiv", "Kiv Wersja %1").arg(QStringLiteral(KIV_VERSION)), this);
    text->setObjectName(QStringLiteral("version"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addWidget(text, 1, Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setContentsMargins(16, 16, 16, 12);
    // Wide enough for the caption as well as the text.
    layout->activate();
    setFixedSize(qMax(320, sizeHint().width()), sizeHint().height());
}
