// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/CPlatform.h"

class CData;
class CDataSrc;

// What a display mode reads of the document it belongs to: the plot pair, the two cursors,
// the mode on show and the desktop services for its messages. The document implements it;
// a mode never changes the document through it.
class IModeHost {
public:
    virtual ~IModeHost() = default;
    virtual CDataSrc& Source() const = 0;
    virtual int32_t Cursor1() const = 0;
    virtual int32_t Cursor2() const = 0;
    virtual CData* GetCurrentMode() const = 0;
    virtual const CPlatform& Platform() const = 0;
};
