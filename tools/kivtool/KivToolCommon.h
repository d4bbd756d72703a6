#pragma once
#include <memory>
#include <string>
#include <vector>

#include "KivToolArgs.h"
#include "data/CKivDoc.h"
#include "data/CPcxEncoder.h"

// Shared pieces of the subcommands.
int KivToolFail(const std::string& message);  // prints "kivtool: message", returns 1
CPlatform KivToolPlatform();                   // message boxes go to stderr
std::unique_ptr<CKivDoc> KivToolOpen(const std::string& path, std::string& error);
// The document named by --into, or a new empty one.
std::unique_ptr<CKivDoc> KivToolInto(const KivToolArgs& a, std::string& error);
int KivToolSave(CKivDoc& doc, const std::string& path);
// Parses args, expects `positional` files, opens the first as a document and applies
// --mode/--cursors when given. Null with status 1 on failure (already reported).
std::unique_ptr<CKivDoc> KivToolPrepare(const std::vector<std::string>& args, KivToolArgs& a, size_t positional,
                                        const std::vector<std::string>& valueFlags,
                                        const std::vector<std::string>& switchFlags, int& status);
// A (GUI, offscreen) application for fonts and timers, made once.
void KivToolEnsureApplication();
// The 800 x 600 picture with the document's background, as the PCX export takes it.
RgbPicture KivToolRenderPicture(CKivDoc& doc);
