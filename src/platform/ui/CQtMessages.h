// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/IMessages.h"

class QWidget;

// Message boxes as QMessageBox, with the program's exact texts, captions and icons.
class CQtMessages : public IMessages {
public:
    explicit CQtMessages(QWidget* parent = nullptr) : m_pParent(parent) {}
    void SetParent(QWidget* parent) { m_pParent = parent; }
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon,
                   MsgButtons buttons = MsgButtons::Ok) override;

private:
    QWidget* m_pParent;
};
