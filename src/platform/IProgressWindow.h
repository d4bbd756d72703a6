// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// A small modeless progress window (the DFT progress): opened, moved, closed.
class IProgressWindow {
public:
    virtual ~IProgressWindow() = default;
    virtual void Open(const std::string& title) = 0;
    virtual void SetPercent(int percent) = 0;  // 0..100
    virtual void Close() = 0;
};
