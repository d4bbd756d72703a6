#include <gtest/gtest.h>

#include <string>

#include <QImage>
#include <QProcess>
#include <filesystem>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

struct ToolRun {
    int status;
    std::string out;
};

// Runs kivtool with the arguments; stderr is folded into out.
ToolRun Tool(const std::string& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.startCommand(QString::fromStdString(std::string(KIVTOOL_PATH) + " " + args));
    const bool ran = p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit;
    return {ran ? p.exitCode() : -1, p.readAll().toStdString()};
}

std::string Line(const std::string& text, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find('\n', start) + 1;
    return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

TEST(KivTool, GenerateInfoCodesAndMeanRms) {
    const std::string dir = TestDir("kivtool_generate");
    const std::string sine = dir + "/sine.kiv";
    ASSERT_EQ(Tool("generate " + sine + " --kind sine").status, 0);
    ToolRun info = Tool("info " + sine);
    ASSERT_EQ(info.status, 0) << info.out;
    for (const char* field : {"\"mode\": \"original\"", "\"present\": 3", "\"colour\": \"#ff0080\"",
                              "\"time\": {\"exponent\": 0, \"unit\": \"\", \"step\": 0.00025}"})
        EXPECT_NE(info.out.find(field), std::string::npos) << field;

    // One period of amplitude 1 at 50 codes: the top at sample 1000, the bottom at 3000.
    ToolRun codes = Tool("codes " + sine + " --what raw");
    ASSERT_EQ(codes.status, 0);
    EXPECT_EQ(std::pair(Line(codes.out, 1000), Line(codes.out, 3000)),
              (std::pair<std::string, std::string>("1000\t150\t150", "3000\t50\t50")));

    // A constant -1 into plot 2 of the same document: rectified mean and RMS both 1 V;
    // the output keeps what the input had.
    const std::string both = dir + "/both.kiv";
    ASSERT_EQ(Tool("generate " + both + " --kind const --amplitude -1 --target 2 --into " + sine).status, 0);
    ToolRun mr = Tool("meanrms " + both + " --cursors 4000,0");
    ASSERT_EQ(mr.status, 0) << mr.out;
    EXPECT_TRUE(Line(mr.out, 1) == "1.00 " && Line(mr.out, 3) == "1.00 ") << mr.out;  // mean and RMS of Y2
    EXPECT_EQ(Tool("meanrms " + both + " --mode derivative --cursors 10,10").out, "0.000 \n0.000 \n0.000 \n0.000 \n");
}

TEST(KivTool, FourierLabelsAndBars) {
    const std::string dir = TestDir("kivtool_fourier");
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; });
    ASSERT_TRUE(doc.OnSaveDocument(dir + "/c.kiv"));
    ToolRun labels = Tool("labels " + dir + "/c.kiv --mode fourier");
    ASSERT_EQ(labels.status, 0);
    EXPECT_EQ(Line(labels.out, 0), "0 |5 |10 |15 |20 |25 |30 |35 |40 |45 |50 ");
    // A constant puts everything into the DC bar.
    ToolRun harm = Tool("codes " + dir + "/c.kiv --mode fourier --what harm");
    EXPECT_EQ(std::tuple(Line(harm.out, 0), Line(harm.out, 1), Line(harm.out, 50)),
              (std::tuple<std::string, std::string, std::string>("0\t200\t0", "1\t0\t0", "")));
    // Coinciding cursors are reported and nothing is drawn.
    ToolRun same = Tool("codes " + dir + "/c.kiv --mode fourier --what harm --cursors 7,7");
    EXPECT_NE(same.out.find("Kursory pokrywanją się"), std::string::npos);
}

TEST(KivTool, FailuresAreOneLineAndStatusOne) {
    const std::string dir = TestDir("kivtool_fail");
    CKivDoc doc;
    ASSERT_TRUE(doc.OnSaveDocument(dir + "/e.kiv"));
    const std::string e = dir + "/e.kiv";
    const std::vector<std::string> bad = {
        "info " + dir + "/missing.kiv",
        "codes " + e + " --mode spectrum",
        "codes " + e + " --cursors 5000,1",
        "codes " + e + " --what everything",
        "info",
        "frobnicate",
        "generate " + dir + "/g.kiv --kind sine --amplitude 2e6",
        "generate " + dir + "/g.kiv --kind triangle",
        "generate " + dir + "/g.kiv --kind const --phase 1 --duration 1",
        "generate " + dir + "/g.csv --kind sine",
        "meanrms " + e,
        // Writes that fail: the core's message alone.
        "generate " + dir + "/no/such/g.kiv --kind sine",
        "export " + e + " " + dir + "/no/such/e.csv",
    };
    for (const std::string& args : bad) {
        ToolRun r = Tool(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out.rfind("kivtool: ", 0), 0u) << args << ": " << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << args << ": " << r.out;
    }
    EXPECT_NE(Tool(bad[8]).out.find("Wartość fazy poczatkowej musi być mniejsza od czasu sygnału"),
              std::string::npos);
    for (const char* c : {"info", "codes", "labels", "render", "export", "generate", "import", "meanrms"})
        EXPECT_EQ(Tool(std::string(c) + " --help").status, 0) << c;
}

TEST(KivTool, RenderExportImport) {
    const std::string dir = TestDir("kivtool_files");
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, {0, 's', 0.001}, {0, 'V', 0.02});
    doc.SetViewFlags(0, 1);  // stored white background
    ASSERT_TRUE(doc.OnSaveDocument(dir + "/d.kiv"));
    const std::string d = dir + "/d.kiv";

    ASSERT_EQ(Tool("render " + d + " " + dir + "/p.png --size 1000x300").status, 0);
    QImage png(QString::fromStdString(dir + "/p.png"));
    ASSERT_EQ(png.size(), QSize(1000, 300));
    EXPECT_EQ(png.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);  // the document's white background
    ASSERT_EQ(Tool("render " + d + " " + dir + "/s.png --size 10x10").status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(dir + "/s.png")).size(), QSize(400, 200));

    // Spreadsheet row of a one-curve value of 1 V; the Tektronix form back through import.
    ASSERT_EQ(Tool("export " + d + " " + dir + "/o.csv").status, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(FileBytes(dir + "/o.csv").data()), 32),
              "0,000000000000;1,000000000000;\r\n");
    ASSERT_EQ(Tool("export " + d + " " + dir + "/t.CSV").status, 0);
    ASSERT_EQ(Tool("import " + dir + "/t.CSV " + dir + "/i.kiv --plot 2 --into " + d).status, 0);
    const std::string info = Tool("info " + dir + "/i.kiv").out;
    EXPECT_TRUE(info.find("\"present\": 3") != info.npos && info.find("\"white_background\": true") != info.npos) << info;
    EXPECT_EQ(Line(Tool("codes " + dir + "/i.kiv --what raw").out, 17), "17\t150\t150");

    ASSERT_EQ(Tool("export " + d + " " + dir + "/p.pcx").status, 0);
    const std::vector<uint8_t> pcx = FileBytes(dir + "/p.pcx");
    ASSERT_GT(pcx.size(), 128u + 769);
    const size_t pal = pcx.size() - 769;  // 0x0C, then the first palette entry: the white background
    EXPECT_EQ(std::tuple(pcx[0], pcx[pal], pcx[pal + 1] << 16 | pcx[pal + 2] << 8 | pcx[pal + 3]),
              std::tuple(0x0A, 0x0C, 0xFFFFFF));

    // Refusals: a spreadsheet CSV is no Tektronix file, and unknown extensions are named.
    for (const std::string& args : {"import " + dir + "/o.csv " + dir + "/x.kiv --plot 1",
                                    "import " + dir + "/p.png " + dir + "/x.kiv --plot 1", "export " + d + " " + dir + "/o.PCX"})
        EXPECT_EQ(Tool(args).status, 1) << args;
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.kiv"));
}
