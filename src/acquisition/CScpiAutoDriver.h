// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "acquisition/CScpiDriver.h"

// "Automatycznie" in the model list, --model auto in kivtool: asks the instrument *IDN? and
// goes on as the registered SCPI family its answer names, on the same connection (an
// instrument serves one client at a time). Until then, and after, the host's calls reach the
// family's driver through this one.
class CScpiAutoDriver : public CScpiDriver {
public:
    CScpiAutoDriver(RawTrace* traces, std::vector<CScpiDriver*> families);

    bool Identifies(const ScpiIdentity& identity) const override;
    // The longest of the families': the instrument is not known yet.
    int FirstReplyTimeoutMs() const override;
    std::string FoundInstrument() const override;
    // The family's own until it returns: a live view's host hears of the end from inside it.
    int32_t FetchState() const override { return m_pChosen ? m_pChosen->m_nState : m_nState; }

    bool Start(IProgressHost* host) override;
    void OnBytes(const uint8_t* bytes, size_t size) override;
    void OnReplyByte(uint8_t byte) override;
    void OnTimer(int timerId) override;
    void OnLineGone() override;
    void ClosePort() override;
    void Detach() override;
    bool FirstReplyTaken() const override { return m_bIdentified; }

    // The family the last fetch went on as; null before one was found.
    CScpiDriver* Chosen() const { return m_pChosen; }
    const std::string& ScreenImage() const override {
        return m_pChosen ? m_pChosen->ScreenImage() : CScpiDriver::ScreenImage();
    }

protected:
    // Either job: the identity first, then the family does the job.
    CScpiTask Job() override { return Fetch(); }
    CScpiTask Fetch() override;
    bool HandOver() override;

private:
    void Mirror();

    std::vector<CScpiDriver*> m_families;
    CScpiDriver* m_pFound = nullptr;   // named by the answer, not yet running
    CScpiDriver* m_pChosen = nullptr;  // running the fetch
};

// The model entry of "Automatycznie".
const ScopeModel& AutoScopeModel();
