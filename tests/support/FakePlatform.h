// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "platform/IViewSink.h"

// Records every message box and answers from a script (Ok when the script is empty).
class FakeMessages : public IMessages {
public:
    struct Box {
        std::string text, caption;
        MsgIcon icon;
        MsgButtons buttons;
    };
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon icon, MsgButtons buttons) override {
        boxes.push_back({text, caption, icon, buttons});
        if (onShow) onShow();
        const MsgResult r = answers.empty() ? MsgResult::Ok : answers.front();
        if (!answers.empty()) answers.pop_front();
        return r;
    }
    std::vector<Box> boxes;
    std::deque<MsgResult> answers;
    std::function<void()> onShow;  // runs as each box comes up
};

// Records the progress window's life: "open:<title>", "<percent>", "close".
class FakeProgress : public IProgressWindow {
public:
    void Open(const std::string& title) override { events.push_back("open:" + title); }
    void SetPercent(int percent) override { events.push_back(std::to_string(percent)); }
    void Close() override { events.push_back("close"); }
    std::vector<std::string> events;
};

class FakeView : public IViewSink {
public:
    void SetRedraw() override { ++redraws; }
    void Invalidate() override { ++invalidates; }
    void GetStoredFlags(int32_t& c, int32_t& w) const override { c = cursors, w = white; }
    void SetStoredFlags(int32_t c, int32_t w) override { cursors = c, white = w; }
    int redraws = 0, invalidates = 0;
    int32_t cursors = 0, white = 0;
};

// All three fakes wired into one platform record.
struct FakeHost {
    FakeMessages messages;
    FakeProgress progress;
    FakeView view;
    CPlatform Platform() { return {&messages, &progress}; }
};
