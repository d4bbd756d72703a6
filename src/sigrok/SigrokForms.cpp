// SPDX-License-Identifier: GPL-3.0-or-later
// The sigrok session among the file forms. It comes with libzip, so the programs that offer it
// register it at start; kivtool loads it only for the commands that read or write files.
#include "analysis/ModeTable.h"
#include "document/CExportForm.h"
#include "document/CFileForms.h"
#include "document/CImportForm.h"
#include "document/CKivDoc.h"
#include "sigrok/SigrokSession.h"
#include "platform/TrNoop.h"

namespace {

// A capture PulseView and sigrok-cli open; in the Fourier mode the records of the plain view,
// as a spectrum is no capture.
class CSigrokForm : public CExportForm {
public:
    const char* Name() const override { return "sr"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Sesja sigrok (*.sr)"); }
    const char* Extension() const override { return "sr"; }
    bool Write(const CExportJob& job, std::string& out) const override {
        CData& mode = job.mode.IsFourier() ? *job.doc.m_modes[kModeOriginal] : job.Record();
        mode.GetDisplaySamples(1);
        return WriteSigrokSession(mode, out);
    }
};

class CSigrokImport : public CImportForm {
public:
    const char* Name() const override { return "sr"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Sesja sigrok (*.sr)"); }
    const char* Extension() const override { return "sr"; }
    int Read(CDataSrc& src, const std::string& path, int plot) const override {
        return ReadSigrokSession(src, path, plot);
    }
};

}  // namespace

void RegisterSigrokForms() {
    CFileForms::AddExport(std::make_unique<CSigrokForm>());
    CFileForms::AddImport(std::make_unique<CSigrokImport>());
}
