// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// What the document needs of its view: a fresh picture, a repaint, and the two
// flags the view keeps in the document file.
class IViewSink {
public:
    virtual ~IViewSink() = default;
    virtual void SetRedraw() = 0;   // m_bRedraw = 1
    virtual void Invalidate() = 0;  // repaint the whole view
    virtual void GetStoredFlags(int32_t& cursors, int32_t& whiteBackground) const = 0;
    virtual void SetStoredFlags(int32_t cursors, int32_t whiteBackground) = 0;
};
