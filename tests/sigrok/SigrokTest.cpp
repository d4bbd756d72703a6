// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "analysis/Generator.h"
#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "document/DocumentFiles.h"
#include "document/CFileForms.h"
#include "document/CKivDoc.h"
#include "sigrok/SigrokSession.h"
#include "support/TestFiles.h"

namespace {

std::string Floats(const std::vector<float>& v) {
    // The machines we build for are little-endian.
    return std::string(reinterpret_cast<const char*>(v.data()), v.size() * 4);
}

// A zip archive of the given members, written by libzip as sigrok's own tools do.
std::string Archive(const std::string& path, const std::map<std::string, std::string>& members) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, bytes] : members)
        zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), 0);
    zip_close(z);
    return path;
}

const std::string kMetadata = "[global]\nsigrok version=0.5.2\n\n[device 1]\nsamplerate=200 kHz\ntotal analog=2\n"
                              "analog1=A0\nanalog2=A1\n";

// A session of two channels, A0 the sample numbers 0..n-1 and A1 their negatives.
std::map<std::string, std::string> Session(int n, const std::string& metadata = kMetadata) {
    std::vector<float> a0, a1;
    for (int i = 0; i < n; ++i) a0.push_back(float(i)), a1.push_back(float(-i));
    return {{"version", "2"}, {"metadata", metadata}, {"analog-1-1-1", Floats(a0)}, {"analog-1-2-1", Floats(a1)}};
}

}  // namespace

// 8000 samples: every second one, by name or the first channel; 3 samples: each stands for a
// third of the record. The time step is n / (4000 * rate).
TEST(SigrokSession, PicksSamplesEvenlyFromEitherChannel) {
    const std::string dir = TestDir("sigrok_pick");
    struct Case {
        int n;
        std::string channel;
        int sample, expectedIndex;  // sample of the record, the file's sample it comes from
        double sign;
    } cases[] = {{8000, "", 1234, 2468, 1}, {8000, "A1", 3999, 7998, -1}, {3, "", 2667, 2, 1}, {3, "", 1333, 0, 1}};
    for (const Case& c : cases) {
        const std::string path = Archive(dir + "/in.sr", Session(c.n));
        CKivDoc doc;
        ASSERT_EQ(ReadSigrokSession(doc.Source(), path, 1, c.channel), 1) << c.n;
        const CDataSrc& s = doc.Source();
        const double value = (s.m_nRaw1[c.sample] - 100) * s.m_ampScale1.step;
        EXPECT_NEAR(value, c.sign * c.expectedIndex, s.m_ampScale1.step) << c.n << c.channel;
        EXPECT_DOUBLE_EQ(s.m_timeScale1.step, c.n / (4000 * 200e3)) << c.n;
    }
}

// A sigrok float is a measurement: it takes the nearest code of the 0.2 V step that 10 V needs
// (9.55 V is 9.6 V, where truncation would say 9.4 V).
TEST(SigrokSession, TakesTheNearestCode) {
    std::vector<float> a0(4000, 0.0f);
    const float values[] = {10.0f, 9.55f, -9.55f, 0.29f, -0.29f};
    std::copy(std::begin(values), std::end(values), a0.begin());
    const std::string path = Archive(TestDir("sigrok_nearest") + "/in.sr",
                                     {{"version", "2"}, {"metadata", kMetadata}, {"analog-1-1-1", Floats(a0)}});
    CKivDoc doc;
    ASSERT_EQ(ReadSigrokSession(doc.Source(), path, 2, ""), 1);
    EXPECT_DOUBLE_EQ(doc.Source().m_ampScale2.step, 0.2);
    EXPECT_EQ(std::vector<int32_t>(doc.Source().m_nRaw2, doc.Source().m_nRaw2 + 5),
              (std::vector<int32_t>{150, 148, 52, 101, 99}));
}

// Damaged or foreign sessions are refused and leave the plot as it was.
TEST(SigrokSession, RefusesWhatItCannotRead) {
    const std::string dir = TestDir("sigrok_bad");
    auto with = [](std::map<std::string, std::string> m, const std::string& name, const std::string& bytes) {
        if (bytes.empty()) m.erase(name);
        else m[name] = bytes;
        return m;
    };
    const auto good = Session(100);
    const std::string noRate = "[device 1]\ntotal analog=1\nanalog1=A0\n";
    const std::vector<std::map<std::string, std::string>> bad = {
        with(good, "version", "3"),
        with(good, "version", ""),
        with(good, "metadata", noRate),
        with(good, "metadata", "[device 1]\nsamplerate=1 MHz\ntotal probes=8\nprobe1=D0\n"),  // logic only
        with(good, "analog-1-1-1", std::string(6, 'x')),                                     // not whole floats
        with(Session(0), "version", "2"),                                                    // no samples
        with(good, "analog-1-1-1", Floats({1, std::numeric_limits<float>::quiet_NaN(), 2})),
        with(good, "analog-1-1-1", Floats({1, std::numeric_limits<float>::infinity()})),
        Session(20000, "[device 1]\nsamplerate=2.5e-308\nanalog1=A0\n"),  // a time step of 2e308 s
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        CKivDoc doc;
        EXPECT_EQ(ReadSigrokSession(doc.Source(), Archive(dir + "/bad.sr", bad[i]), 1), 0) << i;
        EXPECT_EQ(doc.Source().m_nPresent, 0) << i;
    }
    // Not a zip at all, a zip cut short, and a channel the session does not have.
    CKivDoc doc;
    const std::string whole = Archive(dir + "/good.sr", good);
    const std::vector<uint8_t> bytes = FileBytes(whole);
    WriteBytes(dir + "/cut.sr", std::string(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));
    WriteBytes(dir + "/text.sr", "PK\3\4x");
    EXPECT_EQ(ReadSigrokSession(doc.Source(), dir + "/cut.sr", 1), 0);
    EXPECT_EQ(ReadSigrokSession(doc.Source(), dir + "/text.sr", 1), 0);
    EXPECT_EQ(ReadSigrokSession(doc.Source(), whole, 1, "B7"), 0);
    EXPECT_EQ(doc.Source().m_nPresent, 0);
}

// .kiv -> .sr -> .kiv: every physical value within half a step of the import's scale, the
// record's duration kept.
TEST(SigrokSession, RoundTripThroughTheExportForm) {
    const std::string dir = TestDir("sigrok_round");
    CKivDoc doc;
    GeneratorParams p;
    p.m_nKind = kGenSine, p.m_dAmplitude = 3, p.m_dDuration = 0.01, p.m_dPeriod = 0.003, p.m_nTarget = 1;
    doc.OnGenerate(&p);
    RegisterSigrokForms();  // as the programs do at start
    const CExportForm* form = CFileForms::ExportNamed("sr");
    ASSERT_TRUE(form);
    ASSERT_EQ(ExportDocument(doc, dir + "/out.sr", *form), 1);
    CKivDoc back;
    ASSERT_EQ(ImportFile(back, dir + "/out.sr", 2), 1);
    const CDataSrc &a = doc.Source(), &b = back.Source();
    const double stepA = a.m_ampScale1.step * ScalePower(a.m_ampScale1), stepB = b.m_ampScale2.step;
    for (int i = 0; i < kSamples; i += 7)
        ASSERT_NEAR((b.m_nRaw2[i] - 100) * stepB, (a.m_nRaw1[i] - 100) * stepA, stepB / 2 + 1e-9) << i;
    EXPECT_DOUBLE_EQ(b.m_timeScale2.step * kSamples, 0.01);
}
