#pragma once
// What every fuzz target shares: a failure that stops the run, a scratch folder for the
// readers that only take a path, and the use a user makes of an accepted document.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/ModeTable.h"
#include "data/CExport.h"
#include "document/CKivDoc.h"
#include "data/SafeFile.h"
#include "support/DocumentUse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A broken invariant: libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// One folder per process (libFuzzer's -jobs runs several), in memory when /dev/shm exists;
// removed when the process ends normally.
inline const std::string& ScratchDir() {
    struct Dir {
        std::string path;
        Dir() {
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            path = (base / ("kiv-fuzz-" + std::to_string(getpid()))).string();
            std::filesystem::create_directories(path);
        }
        ~Dir() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Dir dir;
    return dir.path;
}

inline std::string ScratchFile(const char* name) { return ScratchDir() + "/" + name; }

inline std::string WriteScratch(const char* name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFile(name);
    FILE* f = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(f != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, f) == size);
    std::fclose(f);
    return path;
}

// Whatever the program holds it must save into a file that opens again and saves to the
// same bytes.
inline void CheckReopens(CKivDoc& doc) {
    const std::string path = ScratchFile("saved.kiv");
    FUZZ_CHECK(doc.OnSaveDocument(path));
    std::vector<uint8_t> saved;
    FUZZ_CHECK(ReadWholeFile(path, saved));
    CKivDoc back;
    FUZZ_CHECK(back.OnOpenDocument(path));
    FUZZ_CHECK(back.SaveToBytes() == saved);
}

// An import target's document: plot 2 already holds a record on its own time base, so that
// the import meets the averaging onto one time base and every two-plot mode.
inline void FillSecondPlot(CKivDoc& doc) {
    CDataSrc& src = doc.Source();
    for (int i = 0; i < kSamples; ++i) src.m_nRaw2[i] = 40 + (i * 7) % 120;
    src.m_timeScale2 = {-1, 's', 0.5};
    src.m_ampScale2 = {0, 'V', 0.02};
    src.m_nPresent |= 2;
    src.m_nEnabled |= 2;
    doc.DataChanged();
}

// A reader that refuses a file changes nothing: plot 1 keeps its empty record.
inline void CheckImportRefused(const CKivDoc& doc) {
    const CDataSrc& src = doc.Source();
    FUZZ_CHECK(src.m_nPresent == 2 && src.m_nEnabled == 2);
    for (int i = 0; i < kSamples; ++i) FUZZ_CHECK(src.m_nRaw1[i] == 100);
    FUZZ_CHECK(src.m_timeScale1.step == 0 && src.m_ampScale1.step == 0);
}

// One import reader on the bytes, into plot 1 of a document with plot 2 filled; an accepted
// file is then used and saved like any document.
template <typename Reader>
void FuzzImport(const char* fileName, const uint8_t* data, size_t size, Reader read) {
    const std::string path = WriteScratch(fileName, data, size);
    CKivDoc doc;
    FillSecondPlot(doc);
    const int ok = read(doc.Source(), path);
    FUZZ_CHECK(ok == 0 || ok == 1);
    if (!ok) {
        CheckImportRefused(doc);
        return;
    }
    FUZZ_CHECK(doc.Source().m_nPresent == 3 && doc.Source().m_nEnabled == 3);
    doc.DataChanged();
    UseEveryMode(doc);
    CheckReopens(doc);
}
