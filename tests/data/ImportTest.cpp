#include <gtest/gtest.h>

#include <functional>
#include <random>

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

TEST(ImportDso, UnitTextsAndSteps) {
    struct Case { std::string yun, xun; int ampExp, ampUnit, timeExp, timeUnit; };
    for (const Case& c : {Case{"mV", "ms", -1, 'V', -1, 's'}, Case{"V", "us", 0, 'V', -2, 's'},
                          Case{"MV", "Ns", -1, 'V', -3, 's'}, Case{"%", "", 0, '%', 0, 0}}) {
        CDataSrc src;
        ASSERT_EQ(Read(src, Dso(std::vector<int>(kSamples, 100), c.yun, c.xun), "a.dso"), 1);
        const std::vector<int> got = {src.m_ampScale1.exponent, src.m_ampScale1.unit, src.m_timeScale1.exponent,
                                      src.m_timeScale1.unit};
        EXPECT_EQ(got, std::vector<int>({c.ampExp, c.ampUnit, c.timeExp, c.timeUnit})) << c.yun << " " << c.xun;
        EXPECT_TRUE(src.m_ampScale1.step == 0.004 && src.m_timeScale1.step == 0.002);
    }
}

TEST(ImportDso, MissingReadingsTakeThePreviousValue) {
    std::vector<int> v(kSamples, 90);
    v[0] = 255, v[1] = 50, v[2] = 255, v[3] = 0, v[4] = 60, v[3998] = 70;
    std::string text = Dso(v);
    text.erase(text.rfind(','), 1);  // the last value has no comma: missing
    CDataSrc src;
    FillPlot(src, 1, [](int) { return 33; });
    src.m_nEnabled = 0;
    ASSERT_EQ(Read(src, text, "a.dso", 2), 1);
    EXPECT_EQ(std::vector<int>(src.m_nRaw2, src.m_nRaw2 + 6), std::vector<int>({100, 22, 22, 22, 32, 62}));
    EXPECT_EQ(src.m_nRaw2[3999], 42);
    EXPECT_EQ(src.m_nRaw1[0], 33);
    EXPECT_TRUE(src.m_nPresent == 3 && src.m_nEnabled == 3);
}

// Code 100 with code-140 groups at 0, 500 and 999; redrawn codes are
// 100 + 40 * l_j(x) + 0.5 truncated, l_j the Lagrange basis at x = 2.25, 2.5, 2.75.
TEST(ImportDso, SteppedRecordIsRedrawnBetweenItsPoints) {
    std::vector<int> v(kSamples, 128);
    for (int g : {0, 500, 999}) std::fill_n(v.begin() + 4 * g, 4, 168);
    CDataSrc src;
    ASSERT_EQ(Read(src, Dso(v), "a.dso"), 1);
    const std::vector<std::pair<int, std::vector<int>>> runs = {
        {0, {140, 140, 140, 140, 100, 100, 100, 100, 100, 101, 101, 101, 100}},
        {1992, {100, 99, 98, 98, 100, 108, 119, 130, 140, 137, 128, 115, 100, 95, 94, 96, 100, 101, 101, 101, 100}},
        {3988, {100, 99, 98, 98, 100, 100, 100, 100, 140, 140, 140, 140}}};
    for (const auto& [at, codes] : runs) EXPECT_EQ(std::vector<int>(src.m_nRaw1 + at, src.m_nRaw1 + at + codes.size()), codes);
    v[2001] = 150;  // one unequal group: the record is taken as it is
    ASSERT_EQ(Read(src, Dso(v), "a.dso"), 1);
    EXPECT_EQ(std::vector<int>(src.m_nRaw1 + 2000, src.m_nRaw1 + 2003), std::vector<int>({140, 122, 140}));
    EXPECT_EQ(src.m_nRaw1[9], 100);
}

TEST(ImportTekCsv, StepSeries) {
    const std::vector<std::pair<double, double>> cases = {
        {3.0 / 75, 0.08}, {150.0 / 75, 2}, {1, 2}, {0.8, 2}, {0.5, 0.8}, {4.5, 8}, {8.0001, 20},
        {1e9 / 75, 2e7}, {0, 2e-15}, {1e-20, 2e-15}, {8e15, 8e15}, {8.1e15, 0}};
    for (auto [r, step] : cases) EXPECT_EQ(TekCsvAmplitudeStep(r), step) << r;
}

TEST(ImportTekCsv, ValuesFillEightSamplesEach) {
    CDataSrc src;
    FillPlot(src, 1, [](int) { return 7; });
    src.m_ampScale2 = {-2, 'W', 9};
    ASSERT_EQ(Read(src, Tek([](int j) { return std::to_string(j % 7 - 3); }), "a.CSV", 2), 1);
    const int codes[7] = {63, 75, 88, 100, 112, 125, 137};  // trunc(v / 0.08) + 100
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(src.m_nRaw2[i], codes[(i / 8) % 7]) << i;
    EXPECT_TRUE(src.m_ampScale2.step == 0.08 && src.m_timeScale2.step == 0.001);  // 2.0 * 0.0005
    EXPECT_TRUE(src.m_ampScale2.exponent == 0 && src.m_timeScale2.exponent == 0 && src.m_ampScale2.unit == 'W');
    EXPECT_TRUE(src.m_nRaw1[0] == 7 && src.m_nPresent == 3 && src.m_nEnabled == 3);

    const std::vector<std::tuple<const char*, double, int>> extremes = {{"150", 2, 175}, {"0", 2e-15, 100},
                                                                        {"1e9", 2e7, 150}, {"1\r5", 0.4, 137}};
    for (auto [first, step, code] : extremes) {
        ASSERT_EQ(Read(src, Tek([&](int j) { return j ? "0" : first; }), "a.csv"), 1);
        EXPECT_TRUE(src.m_ampScale1.step == step && src.m_nRaw1[7] == code && src.m_nRaw1[8] == 100) << first;
    }
}

TEST(Import, MalformedFilesLeaveTheDocumentAsItWas) {
    std::mt19937 random(7);
    std::string garbage(200000, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    std::string lfOnly = Tek([](int) { return "1"; }, 600), unfinished = Tek([](int) { return "1"; });
    std::erase(lfOnly, '\r');
    unfinished.resize(unfinished.size() - 2);  // line 500 without CR LF
    auto one = [](int) { return "1"; };
    const std::vector<std::pair<std::string, std::string>> files = {
        {"nrp.dso", Dso(std::vector<int>(kSamples, 100), "V", "s", "2500")}, {"e.dso", ""},
        {"t.dso", "DSO\r\nYUN:V;YMU:1;\r\n"}, {"g.dso", garbage}, {"h.dso", "D\r\n" + std::string(10'000'000, '7')},
        {"e.csv", ""}, {"t.csv", Tek(one, 499)}, {"u.csv", unfinished}, {"lf.csv", lfOnly}, {"g.csv", garbage},
        {"h.csv", std::string(10'000'000, '1')}, {"s.csv", Tek([](int j) { return j == 550 ? "1;" : "1"; }, 600)},
        {"cr.csv", Tek([](int j) { return j == 9 ? "1\r;" : "1"; })}, {"big.csv", Tek([](int j) { return j ? "1" : "-1e18"; })},
        {"missing.dso", ""}};
    for (const auto& [name, bytes] : files) {
        FakeHost host;
        CKivDoc doc(host.Platform());
        doc.SetView(&host.view);
        FillPlot(doc.Source(), 1, [](int j) { return j % 200; });
        const auto before = doc.SaveToBytes();
        const std::string path = TestDir("import-bad") + "/" + name;
        if (name != "missing.dso") WriteBytes(path, bytes);
        EXPECT_EQ(ImportFile(doc, path, 2), 0) << name;
        EXPECT_EQ(doc.SaveToBytes(), before) << name;
        EXPECT_TRUE(!doc.IsModified() && host.view.redraws == 0) << name;
    }
}

TEST(Import, ImportFileChoosesTheReaderByExtension) {
    const std::string dir = TestDir("import-ext");
    // A huge value line without commas reads as missing values throughout: the zero line.
    const std::string text = "DSO\r\nYUN:V;YMU:1;\r\nXUN:s;XIN:1;NRP:4000\r\n" + std::string(5'000'000, '9');
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    WriteBytes(dir + "/a.Dso", text);
    WriteBytes(dir + "/a.DSO", text);
    EXPECT_EQ(ImportFile(doc, dir + "/a.Dso", 1), kImportNotHandled);
    EXPECT_EQ(doc.Source().m_nPresent, 0);
    ASSERT_EQ(ImportFile(doc, dir + "/a.DSO", 1), 1);
    EXPECT_TRUE(doc.IsModified() && host.view.redraws == 1);
    EXPECT_TRUE(doc.Source().m_nShown1[1234] == 100 && doc.Source().m_nShown1[3999] == 100);
}
