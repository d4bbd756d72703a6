// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"
#include "data/CData.h"
#include "data/CDataSrc.h"
#include "data/IModeHost.h"
#include "platform/CPlatform.h"
#include "platform/IViewSink.h"
#include "platform/TrNoop.h"

class CArchive;
struct GeneratorParams;

// What a terminal is told when a name is refused silently: documents end in ".kiv".
inline constexpr char kNotKivDocumentName[] =
    KIV_TR_NOOP("Kiv", "to nie jest dokument Kiv (nazwa pliku musi kończyć się na .kiv)");

// One measurement: the plot pair, the seven display modes, the mode on show and the
// two cursors; kept in the native ".kiv" file.
class CKivDoc : public IModeHost {
public:
    explicit CKivDoc(CPlatform platform = {});
    ~CKivDoc() override;
    CKivDoc(const CKivDoc&) = delete;
    CKivDoc& operator=(const CKivDoc&) = delete;

    // IModeHost
    CDataSrc& Source() const override { return *m_pSource; }
    int32_t Cursor1() const override { return m_nCursor1; }
    int32_t Cursor2() const override { return m_nCursor2; }
    CData* GetCurrentMode() const override { return m_modes[m_currentMode]; }
    const CPlatform& Platform() const override { return m_platform; }

    CData* GetFourierMode() const { return m_modes[kModeFourier]; }
    // The plot pair changed: every mode computes again, the view renders again.
    void DataChanged();
    // The same for a new record in the plot pair (a fetch, an import, a generator run): closing
    // must offer to save it, and the record listeners hear of it, each record once.
    void DataEdited();
    // A new record that does not mark the document (each update of a live fetch, which marks it
    // once when it ends): DataChanged, then the record listeners.
    void RecordArrived();
    // The records the plot pair has had; the measurement statistics count them.
    uint64_t RecordCount() const { return m_nRecords; }
    // Called after every new record, once the modes have been told to compute again; the id
    // removes it.
    int AddRecordListener(std::function<void()> listener);
    void RemoveRecordListener(int id);

    // The mode on show (KivMode); a mode without data can be chosen and shows nothing.
    void SetMode(int index);
    bool IsModeAvailable(int index) const;
    // Plot 1 or 2 on or off (the commands offer it only for a plot the pair holds).
    void TogglePlot(int plot);

    // Mean and RMS of the current mode between the cursors, as the dialog's strings
    // (analysis/MeanRms.h). False when the current mode is not available.
    bool ComputeMeanRms(std::string values[4], bool& bTwoPlots);
    bool CanComputeMeanRms() const;
    // The automatic measurements of the current mode (analysis/Measurements.h).
    ModeMeasurements MeasureCurrentMode(bool cursorsOn, const MeasureSet& wanted = AllMeasurements(),
                                        MeasureCache* cache = nullptr) {
        return MeasureMode(*GetCurrentMode(), m_nCursor1, m_nCursor2, cursorsOn, wanted, cache);
    }
    // Signal generator with the dialog's values (null: the dialog was cancelled).
    // Returns the plot pair's Generate result.
    int OnGenerate(const GeneratorParams* params);

    // Native file. Open refuses silently a name not ending in ".kiv", reads the file
    // whole and loads its bytes; a file that cannot be read or a damaged one is reported
    // through the platform and leaves the document as it was.
    bool OnOpenDocument(const std::string& path);
    bool LoadFromBytes(std::span<const uint8_t> bytes);
    bool OnSaveDocument(const std::string& path);
    void Serialize(CArchive& ar);
    std::vector<uint8_t> SaveToBytes();
    // Checks a whole file's layout before anything is read into the document.
    static bool CheckFileLayout(std::span<const uint8_t> bytes);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    void SetView(IViewSink* view) { m_pView = view; }
    IViewSink* GetView() const { return m_pView; }
    void SetPlatform(const CPlatform& platform) { m_platform = platform; }
    // Redraw request to the view: m_bRedraw plus a repaint.
    void RedrawView();

    // The view's two stored flags; kept here while no view is attached.
    void GetViewFlags(int32_t& cursors, int32_t& white) const;
    void SetViewFlags(int32_t cursors, int32_t white);

    std::unique_ptr<CDataSrc> m_pSource;
    CData* m_modes[10];
    int32_t m_nCursor1;
    int32_t m_nCursor2;
    int32_t m_currentMode;

private:
    static std::unique_ptr<CDataSrc> NewSource();
    void CreateModes();
    void DestroyModes();

    CPlatform m_platform;
    IViewSink* m_pView = nullptr;
    bool m_bModified = false;
    uint64_t m_nRecords = 0;
    std::vector<std::pair<int, std::function<void()>>> m_recordListeners;
    int m_nNextListener = 0;
    int32_t m_nViewCursors = 0;
    int32_t m_nViewWhite = 0;
};
