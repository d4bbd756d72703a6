// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TrNoop.h"
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/CScopeDriver.h"
#include "acquisition/RawTrace.h"
#include "acquisition/ScopeRegistry.h"
#include "platform/CPlatform.h"

class CDataSrc;
class IProgressHost;

// What "Kiv.cfg" keeps: the plots to fetch and from which channels, the instrument, the
// rate and the port.
struct AcquisitionSettings {
    uint32_t bPlot2 = 1;
    uint32_t bPlot1 = 1;
    uint8_t nChannels = 2;   // channel count of the chosen model; written, never used
    uint8_t nPlot1Channel = 1;
    uint8_t nPlot2Channel = 2;
    uint8_t nInstrument = 1;  // index in the model list (ScopeRegistry.h), or kAutoInstrument
    uint8_t nBaud = BaudIndexOf(9600);  // index into kBaudRates; the record counts from 1
    uint8_t nPort = 2;        // n of COMn
};

// "Automatycznie": the SCPI family the instrument's *IDN? answer names.
inline constexpr uint8_t kAutoInstrument = 0xFF;
// The model entry of an instrument index, "Automatycznie"'s too.
const ScopeModel& InstrumentModel(int index);

inline constexpr char kConfigFileName[] = "Kiv.cfg";
inline constexpr size_t kConfigFileSize = 20;

// The 20-byte record, little-endian; its baud byte counts from 1 (7 is 9600), the settings'
// index from 0. Decode refuses a short record and an instrument index outside the model
// list (the caller then keeps the defaults).
std::array<uint8_t, kConfigFileSize> EncodeSettings(const AcquisitionSettings& s);
bool DecodeSettings(const uint8_t* bytes, size_t size, AcquisitionSettings& s);

// The fetch statuses besides a driver's state.
inline constexpr int kFetchOk = 0;
inline constexpr int kFetchCancelled = 1;

inline constexpr char kTransmissionError[] = KIV_TR_NOOP("Kiv", "Błąd transmisji");
// How every fetch ends for its user: a status other than success or cancel shows
// KIV_TR_NOOP("Kiv", "Błąd transmisji") (caption "Kiv", exclamation icon), after the driver's own box.
void ReportFetchStatus(int status, const CPlatform& platform);

// The one acquisition of a program run: the settings of "Kiv.cfg", a driver of every
// registered model and the two traces they fill.
class CAcquisition {
public:
    // Reads configPath (defaults when it is missing or not a valid record) and creates the
    // drivers in the model list's order. An empty path: "Kiv.cfg" in the working directory.
    explicit CAcquisition(std::string configPath = {});
    // Writes the settings back (atomically); nothing is said when that fails.
    ~CAcquisition();
    CAcquisition(const CAcquisition&) = delete;
    CAcquisition& operator=(const CAcquisition&) = delete;

    // index: a model's, or kAutoInstrument.
    CScopeDriver& Driver(int index);
    // The driver of the configured instrument, with channels, port and rate set from the
    // settings, ready for its Start.
    CScopeDriver& PrepareDriver();
    // After the host's modal loop ended with result: the fetch status (1 cancelled, else the
    // driver's state) and, on success, the fetched traces copied into the plot pair (its
    // document then takes the change). The pair is untouched otherwise.
    int FinishFetch(CDataSrc& src, int result);

    const std::string& ConfigPath() const { return m_strConfigPath; }
    // False when the settings are not to be written at exit (kivtool without --save-settings).
    bool m_bSaveOnExit = true;

    AcquisitionSettings m_settings;
    RawTrace m_traces[2];
    int m_nFetchStatus = 0;
    CScopeDriver* m_pCurrent = nullptr;

private:
    std::string m_strConfigPath;
    std::vector<std::unique_ptr<CScopeDriver>> m_drivers;
    std::unique_ptr<CScopeDriver> m_pAuto;
};
