// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "KivToolCli.h"

// The commands, in the order kivtool --help lists them.
const std::vector<KivToolCommand>& KivToolCommands();

int KivToolInfo(const KivToolCall& call);
int KivToolCodes(const KivToolCall& call);
int KivToolLabels(const KivToolCall& call);
int KivToolRender(const KivToolCall& call);
int KivToolExport(const KivToolCall& call);
int KivToolGenerate(const KivToolCall& call);
int KivToolImport(const KivToolCall& call);
int KivToolMeanRms(const KivToolCall& call);
int KivToolMeasure(const KivToolCall& call);
int KivToolFetch(const KivToolCall& call);
int KivToolPorts(const KivToolCall& call);
int KivToolProbe(const KivToolCall& call);
int KivToolScreenshot(const KivToolCall& call);
int KivToolComplete(const KivToolCall& call);

// The options of the line, which fetch, probe and screenshot take: --model, --port, --device, --baud.
std::vector<KivToolOption> KivToolLineOptions();
