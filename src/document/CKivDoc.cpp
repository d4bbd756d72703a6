// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CKivDoc.h"

#include <algorithm>

#include "platform/TrNoop.h"

#include "analysis/Generator.h"
#include "analysis/MeanRms.h"
#include "data/CArchive.h"
#include "data/SafeFile.h"

namespace {

constexpr int kPlotBlockSize = 4056;
constexpr int kModeBlockSize = 25;
constexpr size_t kLongestFile = 22 + 2 * kPlotBlockSize + kModeCount * kModeBlockSize;
const char kDamagedFile[] = KIV_TR_NOOP("Kiv",
    "Nie można otworzyć pliku: plik jest uszkodzony lub nie jest dokumentem Kiv.");
const char kUnreadableFile[] = KIV_TR_NOOP("Kiv", "Nie można odczytać pliku.");
const char kUnwritableFile[] = KIV_TR_NOOP("Kiv",
    "Nie można zapisać pliku. Sprawdź, czy folder istnieje i czy masz prawo zapisu.");

}  // namespace

CKivDoc::CKivDoc(CPlatform platform)
    : m_pSource(NewSource()), m_nCursor1(0), m_nCursor2(kSamples), m_currentMode(kModeOriginal), m_platform(platform) {
    for (CData*& m : m_modes) m = nullptr;
    CreateModes();
}

// A plot pair as a new document has it: empty, in the two plot colours.
std::unique_ptr<CDataSrc> CKivDoc::NewSource() {
    auto source = std::make_unique<CDataSrc>();
    source->m_crColour1 = MakeColour(50, 150, 255);
    source->m_crColour2 = MakeColour(255, 0, 128);
    return source;
}

CKivDoc::~CKivDoc() { DestroyModes(); }

void CKivDoc::CreateModes() {
    for (const KivModeInfo& m : KivModes()) m_modes[m.index] = m.create(this);
}

void CKivDoc::DestroyModes() {
    for (CData*& m : m_modes) {
        delete m;
        m = nullptr;
    }
}

void CKivDoc::RedrawView() {
    if (!m_pView) return;
    m_pView->SetRedraw();
    m_pView->Invalidate();
}

void CKivDoc::DataChanged() {
    for (CData* m : m_modes)
        if (m) m->m_bReady = 0;
    m_pSource->Rebuild();
    RedrawView();
}

void CKivDoc::DataEdited() {
    SetModifiedFlag(true);
    RecordArrived();
}

void CKivDoc::RecordArrived() {
    DataChanged();
    ++m_nRecords;
    // A copy: a listener may remove itself.
    const auto listeners = m_recordListeners;
    for (const auto& [id, listener] : listeners) listener();
}

int CKivDoc::AddRecordListener(std::function<void()> listener) {
    m_recordListeners.emplace_back(++m_nNextListener, std::move(listener));
    return m_nNextListener;
}

void CKivDoc::RemoveRecordListener(int id) {
    std::erase_if(m_recordListeners, [id](const auto& l) { return l.first == id; });
}

void CKivDoc::SetMode(int index) {
    if (index < 0 || index >= kModeCount) return;
    m_currentMode = index;
    RedrawView();
}

bool CKivDoc::IsModeAvailable(int index) const {
    return index >= 0 && index < kModeCount && m_modes[index] && m_modes[index]->IsAvailable();
}

void CKivDoc::TogglePlot(int plot) {
    m_pSource->m_nEnabled ^= plot == 1 ? 1 : 2;
    m_pSource->Rebuild();
    // The file keeps which plots are on; the plot pair holds no new record.
    DataChanged();
    SetModifiedFlag(true);
}

void CKivDoc::GetViewFlags(int32_t& cursors, int32_t& white) const {
    if (m_pView) {
        m_pView->GetStoredFlags(cursors, white);
    } else {
        cursors = m_nViewCursors;
        white = m_nViewWhite;
    }
}

void CKivDoc::SetViewFlags(int32_t cursors, int32_t white) {
    m_nViewCursors = cursors;
    m_nViewWhite = white;
    if (m_pView) m_pView->SetStoredFlags(cursors, white);
}

void CKivDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteI32(m_currentMode);
        ar.WriteI32(m_nCursor1);
        ar.WriteI32(m_nCursor2);
        int32_t cursors = 0, white = 0;
        GetViewFlags(cursors, white);
        ar.WriteI32(cursors);
        ar.WriteI32(white);
    } else {
        m_currentMode = ar.ReadI32();
        m_nCursor1 = ar.ReadI32();
        m_nCursor2 = ar.ReadI32();
        const int32_t cursors = ar.ReadI32();
        const int32_t white = ar.ReadI32();
        SetViewFlags(cursors, white);
    }
    m_pSource->Serialize(ar);
    for (int i = 0; i < kModeCount; ++i)
        if (m_modes[i]) m_modes[i]->Serialize(ar);
}

std::vector<uint8_t> CKivDoc::SaveToBytes() {
    CArchive ar;
    Serialize(ar);
    return ar.Buffer();
}

// Nothing in the file names its length, so the layout is walked before loading and a
// file too short for its blocks is refused before the document is touched. The content
// is taken as stored (bytes after the last block are not read, other bits of the two
// plot masks are kept), except what would index past the mode table or the samples:
// a mode index outside 0..6 and a cursor outside 0..4000.
bool CKivDoc::CheckFileLayout(std::span<const uint8_t> bytes) {
    auto i32 = [&](size_t at) {
        return static_cast<int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                    (static_cast<uint32_t>(bytes[at + 3]) << 24));
    };
    if (bytes.size() < 22) return false;
    const int32_t mode = i32(0), c1 = i32(4), c2 = i32(8);
    if (mode < 0 || mode >= kModeCount) return false;
    if (c1 < 0 || c1 > kSamples || c2 < 0 || c2 > kSamples) return false;
    const uint8_t present = bytes[20];
    size_t pos = 22;
    if (present & 1) pos += kPlotBlockSize;
    if (present & 2) pos += kPlotBlockSize;
    for (int m = 0; m < kModeCount; ++m) {
        if (pos >= bytes.size()) return false;
        pos += bytes[pos] == 0 ? 1 : kModeBlockSize;
    }
    return pos <= bytes.size();
}

bool CKivDoc::OnOpenDocument(const std::string& path) {
    if (path.size() < 4 || path.compare(path.size() - 4, 4, ".kiv") != 0) return false;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        m_platform.Message(kUnreadableFile, "Kiv", MsgIcon::Exclamation);
        return false;
    }
    return LoadFromBytes(bytes);
}

bool CKivDoc::LoadFromBytes(std::span<const uint8_t> bytes) {
    if (!CheckFileLayout(bytes)) {
        m_platform.Message(kDamagedFile, "Kiv", MsgIcon::Exclamation);
        return false;
    }
    // A fresh plot pair and fresh modes: nothing of the previous state survives,
    // the multiplier flags included; a plot the file lacks keeps its new-document colour.
    DestroyModes();
    m_pSource = NewSource();
    CreateModes();
    // The archive reads from a vector; nothing past the longest document is ever read.
    const std::span<const uint8_t> used = bytes.first(std::min(bytes.size(), kLongestFile));
    const std::vector<uint8_t> file(used.begin(), used.end());
    CArchive ar(file);
    Serialize(ar);
    m_bModified = false;
    RedrawView();
    return true;
}

bool CKivDoc::OnSaveDocument(const std::string& path) {
    const std::vector<uint8_t> bytes = SaveToBytes();
    if (!WriteFileAtomically(path, std::string(bytes.begin(), bytes.end()))) {
        m_platform.Message(kUnwritableFile, "Kiv", MsgIcon::Exclamation);
        return false;
    }
    m_bModified = false;
    return true;
}

bool CKivDoc::ComputeMeanRms(std::string values[4], bool& bTwoPlots) {
    return ::ComputeMeanRms(GetCurrentMode(), m_nCursor1, m_nCursor2, values, bTwoPlots);
}

bool CKivDoc::CanComputeMeanRms() const { return m_pSource->m_nEnabled != 0 && !GetCurrentMode()->IsFourier(); }

int CKivDoc::OnGenerate(const GeneratorParams* params) {
    const int done = GenerateSignal(*m_pSource, params);
    if (done == 1) DataEdited();
    return done;
}
