#include <gtest/gtest.h>

#include <functional>

#include "data/CDataSrcImport.h"
#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

std::string Dso(const std::vector<int>& v, const std::string& yun = "V", const std::string& xun = "s",
                const std::string& nrp = "4000") {
    std::string s = "DSO-1\r\nCH1;YUN:" + yun + ";YMU:0.004;\r\nXIN:2e-3;XUN:" + xun + ";NRP:" + nrp + ";\r\n";
    for (int x : v) s += std::to_string(x) + ",";
    return s + "\r\n";
}

// "time,value" lines; the 500th time is 2.0.
std::string Tek(const std::function<std::string(int)>& value, int lines = 500) {
    std::string s;
    for (int j = 0; j < lines; ++j) s += std::to_string((j - 249) * 0.008) + "," + value(j) + "\r\n";
    return s;
}

int Read(CDataSrc& src, const std::string& bytes, const std::string& name, int plot = 1) {
    const std::string path = TestDir("import") + "/" + name;
    WriteBytes(path, bytes);
    return PathExtension(path) == "dso" ? src.ReadDso(path, plot) : src.ReadTekCsv(path, plot);
}

}  // namespace

// Missing readings (0, 255, no comma after the last value) repeat the value before; the
// first has none and reads 128, the zero line. Only plot 2 is written.
TEST(ImportDso, UnitsStepsAndMissingReadings) {
    std::vector<int> v(kSamples, 90);
    v[0] = 255, v[1] = 50, v[2] = 255, v[3] = 0, v[4] = 60, v[3998] = 70;
    struct Case { std::string yun, xun; std::vector<int> expected; };  // amp exp, unit, time exp, unit
    for (const Case& c : {Case{"mV", "ms", {-1, 'V', -1, 's'}}, Case{"V", "us", {0, 'V', -2, 's'}},
                          Case{"MV", "Ns", {-1, 'V', -3, 's'}}, Case{"%", "", {0, '%', 0, 0}}}) {
        std::string text = Dso(v, c.yun, c.xun);
        text.erase(text.rfind(','), 1);
        CDataSrc src;
        FillPlot(src, 1, [](int) { return 33; });
        src.m_nEnabled = 0;
        ASSERT_EQ(Read(src, text, "a.dso", 2), 1);
        const AxisScale &a = src.m_ampScale2, &t = src.m_timeScale2;
        EXPECT_EQ(std::vector<int>({a.exponent, a.unit, t.exponent, t.unit}), c.expected) << c.yun << " " << c.xun;
        EXPECT_EQ(std::tuple(a.step, t.step, src.m_nPresent, src.m_nEnabled), std::tuple(0.004, 0.002, 3, 3));
        EXPECT_EQ(std::vector<int>(src.m_nRaw2, src.m_nRaw2 + 6), std::vector<int>({100, 22, 22, 22, 32, 62}));
        EXPECT_EQ(src.m_nRaw2[3999], 42);
        EXPECT_EQ(src.m_nRaw1[0], 33);
    }
}

// Code 100 with code-140 groups at 0, 500 and 999; redrawn codes are
// 100 + 40 * l_j(x) + 0.5 truncated, l_j the Lagrange basis at x = 2.25, 2.5, 2.75.
// Groups 100..104 read 46, 72, 154, 89, 10: the polynomial gives 152.078125, 139.4375
// and exactly 117.5 at 2.25, 2.5 and 2.75, so 152, 139 and 118, less 28.
TEST(ImportDso, SteppedRecordIsRedrawnBetweenItsPoints) {
    std::vector<int> v(kSamples, 128);
    for (int g : {0, 500, 999}) std::fill_n(v.begin() + 4 * g, 4, 168);
    for (int g = 0; g < 5; ++g) std::fill_n(v.begin() + 400 + 4 * g, 4, std::vector<int>{46, 72, 154, 89, 10}[g]);
    CDataSrc src;
    ASSERT_EQ(Read(src, Dso(v), "a.dso"), 1);
    const std::vector<std::pair<int, std::vector<int>>> runs = {
        {0, {140, 140, 140, 140, 100, 100, 100, 100, 100, 101, 101, 101, 100}}, {408, {126, 124, 111, 90, 61}},
        {1992, {100, 99, 98, 98, 100, 108, 119, 130, 140, 137, 128, 115, 100, 95, 94, 96, 100, 101, 101, 101, 100}},
        {3988, {100, 99, 98, 98, 100, 100, 100, 100, 140, 140, 140, 140}}};
    for (const auto& [at, codes] : runs)
        EXPECT_EQ(std::vector<int>(src.m_nRaw1 + at, src.m_nRaw1 + at + codes.size()), codes) << at;
    v[2003] = 150;  // one unequal group: the record is taken as it is
    ASSERT_EQ(Read(src, Dso(v), "a.dso"), 1);
    EXPECT_EQ(std::vector<int>(src.m_nRaw1 + 2000, src.m_nRaw1 + 2004), std::vector<int>({140, 140, 140, 122}));
}

TEST(ImportTekCsv, StepSeries) {
    const std::vector<std::pair<double, double>> cases = {{3.0 / 75, 0.08}, {150.0 / 75, 2}, {1, 2}, {0.8, 2},
        {0.5, 0.8}, {8.0001, 20}, {1e9 / 75, 2e7}, {0, 2e-15}, {8e15, 8e15}, {8.1e15, 0}};
    for (auto [r, step] : cases) EXPECT_EQ(TekCsvAmplitudeStep(r), step) << r;
}

TEST(ImportTekCsv, ValuesFillEightSamplesEach) {
    CDataSrc src;
    FillPlot(src, 1, [](int) { return 7; });
    src.m_ampScale2 = {-2, 'W', 9};
    ASSERT_EQ(Read(src, Tek([](int j) { return std::to_string(j % 7 - 3); }), "a.CSV", 2), 1);
    const int codes[7] = {63, 75, 88, 100, 112, 125, 137};  // trunc(v / 0.08) + 100
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(src.m_nRaw2[i], codes[(i / 8) % 7]) << i;
    const AxisScale &a = src.m_ampScale2, &t = src.m_timeScale2;
    EXPECT_EQ(std::tuple(a.step, a.exponent, a.unit), std::tuple(0.08, 0, 'W'));  // the unit as it was
    EXPECT_EQ(std::tuple(t.step, t.exponent), std::tuple(0.001, 0));              // 2.0 * 0.0005
    EXPECT_EQ(std::tuple(src.m_nRaw1[0], src.m_nPresent, src.m_nEnabled), std::tuple(7, 3, 3));
    // A CR before another byte is dropped: "1\r5" reads 15 (step 0.4).
    ASSERT_EQ(Read(src, Tek([&](int j) { return j ? "0" : "1\r5"; }), "a.csv"), 1);
    EXPECT_EQ(std::tuple(src.m_ampScale1.step, src.m_nRaw1[7], src.m_nRaw1[8]), std::tuple(0.4, 137, 100));
}

// Refused files leave the document as it was (garbage of any kind is the fuzz targets');
// the extension is compared case-sensitively.
TEST(Import, ImportFileRefusesWithoutTouchingTheDocument) {
    auto one = [](int) { return "1"; };
    std::string lfOnly = Tek(one, 600), unfinished = Tek(one);
    std::erase(lfOnly, '\r');
    unfinished.resize(unfinished.size() - 2);  // line 500 without CR LF
    const std::string good = Dso(std::vector<int>(kSamples, 100));
    const std::vector<std::tuple<std::string, std::string, int>> files = {
        {"nrp.dso", Dso(std::vector<int>(kSamples, 100), "V", "s", "2500"), 0}, {"t.dso", "DSO\r\nYUN:V;YMU:1;\r\n", 0},
        {"t.csv", Tek(one, 499), 0}, {"u.csv", unfinished, 0}, {"lf.csv", lfOnly, 0},
        {"s.csv", Tek([](int j) { return j == 550 ? "1;" : "1"; }, 600), 0},
        {"cr.csv", Tek([](int j) { return j == 9 ? "1\r;" : "1"; }), 0},
        {"big.csv", Tek([](int j) { return j ? "1" : "-1e18"; }), 0}, {"missing.dso", "", 0},
        {"a.Dso", good, kImportNotHandled}, {"a.DSO", good, 1}};
    for (const auto& [name, bytes, result] : files) {
        FakeHost host;
        CKivDoc doc(host.Platform());
        doc.SetView(&host.view);
        FillPlot(doc.Source(), 1, [](int j) { return j % 200; });
        const auto before = doc.SaveToBytes();
        const std::string path = TestDir("import-bad") + "/" + name;
        if (name != "missing.dso") WriteBytes(path, bytes);
        EXPECT_EQ(ImportFile(doc, path, 2), result) << name;
        const auto expected = result == 1 ? std::tuple(false, true, 1) : std::tuple(true, false, 0);
        EXPECT_EQ(std::tuple(doc.SaveToBytes() == before, doc.IsModified(), host.view.redraws), expected) << name;
    }
}
