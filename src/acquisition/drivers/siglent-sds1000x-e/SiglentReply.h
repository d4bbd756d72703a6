// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// A number as an SDS answers it: bare with CHDR OFF ("5.00E-04"), else after a header word
// ("SARA 5.00E+05Sa/s"); a unit (V, S, s, Sa/s, pts), maybe with an SI prefix, may follow
// ("1.00 GSa/s", "-5.000000ns", "28Mpts"). False for anything else.
bool ParseSiglentNumber(const std::string& answer, double& value);

// The last word of an answer in capitals: "ON" of "C1:TRA ON", "TRIG'D" of "Trig'd".
std::string SiglentWord(const std::string& answer);

// The command sets of Siglent's oscilloscopes, told apart by the model's name: the X-E series
// (SDS1000X-E, SDS2000X-E), the older ones of the same legacy set (SDS1000X, SDS2000X), and the
// new :CHANnel/:WAVeform set of the Plus, HD and SDS3000 to SDS7000 models.
enum class ESiglentCommandSet { Xe, OtherLegacy, New, Unknown };
ESiglentCommandSet SiglentCommandSet(const std::string& model);
bool IsSiglent(const std::string& maker);

// The channels an SDS model has, the digit before its "X" (SDS1202X-E: 2); 0 when its name
// does not say.
int SiglentChannels(const std::string& model);
