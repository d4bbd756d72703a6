// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "SimModel.h"

// What the SCPI instruments the simulator plays share: a request ends with LF and holds
// commands separated by ';', a reply ends with LF, data comes in IEEE 488.2 definite-length
// blocks; the run state, the screen and the faults that spoil a reply. A command a family's
// programming guide does not have is answered by nothing and reported on the standard error.
class CSimScpiModel : public CSimModel {
public:
    explicit CSimScpiModel(const SimOptions& options);

    SimFrame FrameRequest(const std::string& pending) const override;
    void Answer(const std::string& request, SimReply& reply) final;

protected:
    // One command, its header in capitals without a leading ':', its argument as sent; false
    // for a command the family does not know.
    virtual bool Execute(const std::string& header, const std::string& argument, SimReply& reply) = 0;

    // The identity as *IDN? gives it: the family's own, or another maker's (wrong-id).
    std::string IdentityLine(const std::string& own) const;
    // "#" N, N digits of length (as many as it has when digits is 0), data, then trailer,
    // spoilt as the block faults say.
    void AppendBlock(SimReply& reply, const std::string& data, const std::string& trailer = "\n", int digits = 9);
    // The signal of a channel (1-based) at t seconds after the trigger.
    double Volts(int channel, double t) const;
    bool ChannelOn(int channel) const;
    // The screen's picture: width x height, a grid of divisions x 8 and the traces of the
    // channels that are on.
    std::string ScreenBmp(int width, int height, int divisions = 10) const;
    std::string ScreenPng(int width, int height, int divisions = 10) const;
    // Header matching in the guides' way: "CHAN1:SCAL?" matches "CHANnel1:SCALe?" written as
    // CHAN<n>:SCAL?; long forms are accepted too (each word's short form is its capitals).
    static bool Matches(const std::string& header, const std::string& pattern, int* channel = nullptr);

    bool m_bRunning;

private:
    std::vector<uint32_t> Picture(int width, int height, int divisions) const;
    bool m_bBlockSpoilt = false;  // the block faults spoil the first block only
};
