// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "KivToolCli.h"
#include "document/CKivDoc.h"
#include "data/CPcxEncoder.h"

// Shared pieces of the commands.
CPlatform KivToolPlatform();  // message boxes become lines on stderr
// The document at path; null with the reason (one line) in error.
std::unique_ptr<CKivDoc> KivToolOpen(const std::string& path, std::string& error);
// The document --into names, or a new empty one; null with status set when it fails.
std::unique_ptr<CKivDoc> KivToolInto(const KivToolCall& call, int& status);
// Saves under a ".kiv" name (any other is a usage error): the status.
int KivToolSave(CKivDoc& doc, const std::string& path);
// The call's first file as a document with --mode and --cursors applied where the command
// has them; null with status set (and the line written) when it fails.
std::unique_ptr<CKivDoc> KivToolPrepare(const KivToolCall& call, int& status);
// A number option: absent leaves value; present must read whole and finite. False: usage error written.
bool KivToolNumber(const KivToolCall& call, const char* option, double& value, int& status);
// A (QtCore) application for the instrument dialogue's timers, made once.
void KivToolEnsureApplication();
// --size WxH when given: two positive integers, each side brought into 400..10000 x 200..10000
// with a note on stderr when it had to be. False: not a size, the usage error written.
bool KivToolSize(const KivToolCall& call, int& width, int& height, int& status);
// The 800 x 600 picture with the document's background, as the picture exports take it.
RgbPicture KivToolRenderPicture(CKivDoc& doc);

// The modes as --mode takes them: "original, derivative, ...".
std::string KivToolModeNames();
