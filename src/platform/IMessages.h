// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// Message boxes the core raises. The desktop shows them; tests record them.
enum class MsgIcon { None, Information, Exclamation, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

class IMessages {
public:
    virtual ~IMessages() = default;
    virtual MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok) = 0;
};
