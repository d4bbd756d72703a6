// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CFileForms.h"

#include "data/CDataSrc.h"
#include "data/CExport.h"
#include "document/CKivDoc.h"
#include "document/DocumentFiles.h"
#include "platform/TrNoop.h"

namespace {

// The harmonics table of the Fourier mode, computed from the document's cursors.
class CHarmonicsForm : public CExportForm {
public:
    const char* Name() const override { return "harmonics"; }
    const char* FilterText() const override { return ""; }  // the dialog reaches it through the spreadsheet form
    const char* Extension() const override { return "csv"; }
    bool Write(const CExportJob& job, std::string& out) const override {
        CData& fourier = *job.doc.GetFourierMode();
        fourier.GetDisplaySamples(1);
        fourier.ExportHarmonics(out);
        return true;
    }
    const char* CannotSaveText() const override { return kExportCannotSave; }
};

// Decimal commas for a spreadsheet; in Fourier mode the table of harmonics.
class CSpreadsheetForm : public CExportForm {
public:
    const char* Name() const override { return "spreadsheet"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Pliki CSV Excel (*.csv)"); }
    const char* Extension() const override { return "csv"; }
    bool Write(const CExportJob& job, std::string& out) const override {
        if (job.mode.IsFourier()) return CHarmonicsForm().Write(job, out);
        WriteSpreadsheetCsv(job.Record(), out);
        return true;
    }
    const char* CannotSaveText() const override { return kExportCannotSave; }
};

class CTektronixForm : public CExportForm {
public:
    const char* Name() const override { return "tek"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Pliki CSV Tektronix 460A (*.CSV)"); }
    const char* Extension() const override { return "CSV"; }
    bool Write(const CExportJob& job, std::string& out) const override {
        WriteTektronixCsv(job.Record(), out);
        return true;
    }
};

class CPcxForm : public CExportForm {
public:
    const char* Name() const override { return "pcx"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Pliki PCX (*.pcx)"); }
    const char* Extension() const override { return "pcx"; }
    bool Write(const CExportJob& job, std::string& out) const override {
        return job.picture && CPcxEncoder::Encode(job.picture(), out);
    }
};

class CTekCsvImport : public CImportForm {
public:
    const char* Name() const override { return "tek"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Pliki CSV Tektronix 460A (*.CSV *.csv)"); }
    const char* Extension() const override { return "CSV"; }
    int Read(CDataSrc& src, const std::string& path, int plot) const override { return src.ReadTekCsv(path, plot); }
};

class CDsoImport : public CImportForm {
public:
    const char* Name() const override { return "dso"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Pliki DSO (*.DSO *.dso)"); }
    const char* Extension() const override { return "DSO"; }
    int Read(CDataSrc& src, const std::string& path, int plot) const override { return src.ReadDso(path, plot); }
};

template <class Form>
std::vector<std::unique_ptr<Form>>& Table();

template <>
std::vector<std::unique_ptr<CExportForm>>& Table() {
    static std::vector<std::unique_ptr<CExportForm>> forms = [] {
        std::vector<std::unique_ptr<CExportForm>> v;
        v.push_back(std::make_unique<CSpreadsheetForm>());
        v.push_back(std::make_unique<CTektronixForm>());
        v.push_back(std::make_unique<CPcxForm>());
        v.push_back(std::make_unique<CHarmonicsForm>());
        return v;
    }();
    return forms;
}

template <>
std::vector<std::unique_ptr<CImportForm>>& Table() {
    static std::vector<std::unique_ptr<CImportForm>> forms = [] {
        std::vector<std::unique_ptr<CImportForm>> v;
        v.push_back(std::make_unique<CTekCsvImport>());
        v.push_back(std::make_unique<CDsoImport>());
        return v;
    }();
    return forms;
}

template <class Form>
std::vector<const Form*> List() {
    std::vector<const Form*> out;
    for (const auto& f : Table<Form>()) out.push_back(f.get());
    return out;
}

template <class Form>
void Add(std::unique_ptr<Form> form) {
    for (auto& f : Table<Form>())
        if (std::string(f->Name()) == form->Name()) {
            f = std::move(form);
            return;
        }
    Table<Form>().push_back(std::move(form));
}

std::string SmallLetters(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string PathExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

std::vector<const CExportForm*> CFileForms::Exports() { return List<CExportForm>(); }
std::vector<const CImportForm*> CFileForms::Imports() { return List<CImportForm>(); }
void CFileForms::AddExport(std::unique_ptr<CExportForm> form) { Add(std::move(form)); }
void CFileForms::AddImport(std::unique_ptr<CImportForm> form) { Add(std::move(form)); }

const CExportForm* CFileForms::ExportNamed(const std::string& name) {
    for (const auto& f : Table<CExportForm>())
        if (name == f->Name()) return f.get();
    return nullptr;
}

const CExportForm* CFileForms::ExportForPath(const std::string& path) {
    const std::string ext = PathExtension(path);
    for (const auto& f : Table<CExportForm>())
        if (ext == f->Extension()) return f.get();
    return nullptr;
}

const CImportForm* CFileForms::ImportForPath(const std::string& path) {
    const std::string ext = PathExtension(path);
    for (const auto& f : Table<CImportForm>())
        if (ext == f->Extension() || ext == SmallLetters(f->Extension())) return f.get();
    return nullptr;
}
