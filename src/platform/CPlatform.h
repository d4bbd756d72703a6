// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/IMessages.h"
#include "platform/IProgressWindow.h"

// The desktop services one document uses. Both pointers may be null (batch use):
// messages are then dropped and no progress is shown.
struct CPlatform {
    IMessages* messages = nullptr;
    IProgressWindow* progress = nullptr;

    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok) const {
        return messages ? messages->Show(text, caption, icon, buttons) : MsgResult::Ok;
    }
};
