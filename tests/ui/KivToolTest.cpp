// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <cmath>
#include <filesystem>

#include "acquisition/ScopeRegistry.h"
#include "document/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

struct ToolRun { int status; std::string out; };

// Runs kivtool with the arguments; stderr is folded into out, or left out with stdoutOnly.
ToolRun Tool(const std::string& args, bool stdoutOnly = false) {
    QProcess p;
    p.setProcessChannelMode(stdoutOnly ? QProcess::SeparateChannels : QProcess::MergedChannels);
    p.startCommand(QString::fromStdString(std::string(KIVTOOL_PATH) + " " + args));
    const bool ran = p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit;
    return {ran ? p.exitCode() : -1, p.readAllStandardOutput().toStdString()};
}

// What --model takes, every registered model and auto: "0..3, os3060, hm1507, tds224, lt224" for the first four.
std::string ModelKeys() {
    std::string keys = "0.." + std::to_string(kScopeModelCount - 1);
    for (int i = 0; i < kScopeModelCount; ++i) keys += std::string(", ") + ScopeModelAt(i).key;
    return keys + ", auto";
}

QJsonObject Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(); }

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
    const QJsonObject json = Json(info.out);
    EXPECT_EQ(json["mode"].toString(), "original");
    EXPECT_EQ(json["present"].toInt(), 3);
    EXPECT_EQ(json["plot2"]["colour"].toString(), "#ff0080");
    EXPECT_EQ(json["plot1"]["time"].toObject(),
              (QJsonObject{{"exponent", 0}, {"unit", ""}, {"step", 0.00025}}));  // 1 s over 4000 samples

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
    EXPECT_EQ(Line(mr.out, 1), "1.00 ") << mr.out;  // mean of Y2
    EXPECT_EQ(Line(mr.out, 3), "1.00 ") << mr.out;  // RMS of Y2
    EXPECT_EQ(Tool("meanrms " + both + " --mode derivative --cursors 10,10").out, "0.000 \n0.000 \n0.000 \n0.000 \n");

    // measure --json: the sine's one period has no second rising edge and the constant no
    // swing, so those are null, never a non-finite number; XY measures neither plot.
    ToolRun measured = Tool("measure " + both + " --json --cursors 0,2000");
    ASSERT_EQ(measured.status, 0) << measured.out;
    const QJsonObject m = Json(measured.out);
    EXPECT_EQ(m["span"].toArray(), (QJsonArray{0, 2000}));
    EXPECT_NEAR(m["plot1"]["max"].toDouble(), 1.0, 0.02);
    EXPECT_NEAR(m["plot2"]["rms"].toDouble(), 1.0, 1e-12);
    EXPECT_EQ(std::tuple(m["plot1"]["period"].isNull(), m["plot2"]["pp"].toDouble(), m["plot2"]["frequency"].isNull(),
                         m["amplitude_units"]["plot2"].toString()),
              std::tuple(true, 0.0, true, QString("V")));
    for (const char* notANumber : {"nan", "inf", "NaN"}) EXPECT_EQ(measured.out.find(notANumber), std::string::npos);
    // Two documents as two records, the rows --only names: the constant's max is -1 V in both.
    const QJsonObject batch = Json(Tool("measure " + both + " " + both + " --stats --json --only max,phase").out);
    EXPECT_EQ(batch["plot2"].toObject(), (QJsonObject{{"max", QJsonObject{{"current", -1.0}, {"mean", -1.0},
                                                                           {"min", -1.0}, {"max", -1.0},
                                                                           {"sd", 0.0}, {"n", 2}}}}));
    EXPECT_EQ(std::tuple(batch["records"].toInt(), batch["between"]["phase"]["n"].toInt()), std::tuple(2, 0));
    const QJsonObject xy = Json(Tool("measure " + both + " --json --mode xy").out);
    EXPECT_EQ(std::tuple(xy["mode"].toString(), xy["plot1"].isNull(), xy["plot2"].isNull()),
              std::tuple(QString("xy"), true, true));
}

// Failures of the work are status 1, a wrong command line status 2; either way one line
// on stderr, in the program's language. Help is there for every command.
TEST(KivTool, FailuresAndUsageErrorsAreOneLine) {
    const std::string dir = TestDir("kivtool_fail");
    CKivDoc doc;
    const std::string e = dir + "/e.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(e));
    // A stored step that is no number: valid JSON all the same.
    FillPlot(doc.Source(), 1, [](int) { return 120; }, {0, 's', std::nan("")}, {0, 'V', INFINITY});
    ASSERT_TRUE(doc.OnSaveDocument(dir + "/nan.kiv"));
    const std::string g = "generate " + dir + "/g.kiv --kind ";
    const struct { std::string args; int status; std::string says; } cases[] = {
        {"info " + dir + "/missing.kiv", 1, "Nie można odczytać pliku."},
        {"generate " + dir + "/no/such/g.kiv --kind sine", 1, "Nie można zapisać pliku."},
        {"export " + e + " " + dir + "/no/such/e.csv", 1, "nie może być zapisany"},
        {"meanrms " + e, 1, "nie są dostępne"},
        {"measure " + e + " --only max,jitter", 2, "nieznany pomiar jitter (pomiary: max, min, pp,"},
        {"measure " + e + " " + e, 2, "kilka dokumentów mierzy tylko --stats"},
        {"frobnicate", 2, "nieznane polecenie frobnicate"},
        {"", 2, "brak polecenia (kivtool --help je wymienia)"},
        {"info", 2, "oczekiwano: kivtool info DOKUMENT.kiv"},
        {"info " + e + " --mode fourier", 2, "nieznana opcja --mode"},
        {"codes " + e + " --mode", 2, "opcja --mode wymaga wartości"},
        {"codes " + e + " --mode spectrum", 2, "nieznany tryb spectrum"},
        {"codes " + e + " --cursors 5000,1", 2, "--cursors przyjmuje"},
        {"codes " + e + " --what everything", 2, "--what przyjmuje"},
        {"render " + e + " " + dir + "/p.png --white=1", 2, "nie przyjmuje wartości"},
        {g + "sine --amplitude 2e6", 2, "--amplitude musi leżeć między -1000000 a 1000000"},
        {g + "triangle", 2, "--kind przyjmuje"},
        {g + "const --phase 1 --duration 1", 2, "Wartość fazy poczatkowej musi być mniejsza"},
        {"generate " + dir + "/g.csv --kind sine", 2, "to nie jest dokument Kiv"},
        {"export " + e + " " + dir + "/o.PCX", 2, "podaj --format"},
        {"export " + e + " " + dir + "/o.x --format gif", 2,
            "formaty: spreadsheet, tek, pcx, harmonics, sr, png, svg, pdf"},
        {"fetch " + dir + "/f.kiv --model tds999", 2, "nieznany model tds999 (" + ModelKeys() + ")"},
        {"fetch " + dir + "/f.kiv --plot1 off --plot2 off", 2, "oba wykresy są wyłączone"},
        {"fetch " + dir + "/f.kiv --repeat 0", 2, "--repeat przyjmuje liczbę pobrań 1..100000000"},
        {"fetch " + dir + "/f.kiv --interval 10", 2, "--interval działa tylko z --repeat"},
        {"fetch " + dir + "/f.kiv --repeat 2 --interval -1", 2, "--interval przyjmuje milisekundy"},
        {"fetch " + dir + "/f.csv --repeat 2", 2, "to nie jest dokument Kiv"},
        {"render " + e + " " + dir + "/p.png --size 0x5", 2, "--size przyjmuje SZERxWYS"},
        {"screenshot " + dir + "/s.png --model tds224", 1, "TEKTRONIX TDS224 nie wysyła obrazu swojego ekranu"},
        {"help frobnicate", 2, "nieznane polecenie frobnicate"},
    };
    for (const auto& c : cases) {
        ToolRun r = Tool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out.rfind("kivtool: ", 0), 0u) << c.args << ": " << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << c.args << ": " << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << ": " << r.out;
    }
    const QJsonObject nanInfo = Json(Tool("info " + dir + "/nan.kiv").out);
    EXPECT_TRUE(nanInfo["plot1"]["time"]["step"].isNull());
    EXPECT_TRUE(nanInfo["plot1"]["amplitude"]["step"].isNull());
    // The machine's serial devices: one line each, and the same as a JSON array.
    const QJsonDocument ports = QJsonDocument::fromJson(QByteArray::fromStdString(Tool("ports --json").out));
    ASSERT_TRUE(ports.isArray());
    const std::string lines = Tool("ports", true).out;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), ports.array().size());
    for (const QJsonValue& port : ports.array()) EXPECT_TRUE(port["path"].toString().startsWith("/dev/"));
    // Help for each command, asked in each of the three ways, is the same text.
    for (const char* c : {"info", "codes", "labels", "render", "export", "generate", "import", "meanrms", "fetch",
                          "probe", "screenshot", "ports"}) {
        ToolRun help = Tool(std::string(c) + " --help");
        EXPECT_EQ(help.status, 0) << c;
        EXPECT_EQ(help.out.rfind(std::string("Użycie: kivtool ") + c, 0), 0u) << help.out;
        EXPECT_EQ(Tool(std::string(c) + " -h").out, help.out) << c;
        EXPECT_EQ(Tool(std::string("help ") + c).out, help.out) << c;
    }
    const ToolRun overview = Tool("--help");
    for (const char* way : {"-h", "help"}) EXPECT_EQ(Tool(way).out, overview.out) << way;
}

// KIV_LANG picks the language of the one-line errors, the help and the measurement table;
// the tests otherwise run with pl.
TEST(KivTool, ErrorsFollowTheChosenLanguage) {
    const std::string doc = TestDir("kivtool_lang") + "/c.kiv";
    ASSERT_EQ(Tool("generate " + doc + " --kind const").status, 0);
    const struct { const char* lang; std::string args; std::string says; } cases[] = {
        {"en", "frobnicate", "kivtool: unknown command frobnicate (kivtool --help lists them)\n"},
        {"en", "info", "kivtool: expected: kivtool info DOCUMENT.kiv (kivtool info --help)\n"},
        {"pl", "frobnicate", "kivtool: nieznane polecenie frobnicate (kivtool --help je wymienia)\n"},
        {"en", "codes " + doc + " --what all", "kivtool: --what takes raw, shown, calc, disp or harm, not all\n"},
        {"en", "fetch f.kiv --model %2x", "kivtool: unknown model %2x (" + ModelKeys() + ")\n"},
        {"en", "ports --help", "Usage: kivtool ports [options]\n\nPrints the computer's serial ports and USBTMC"},
        // The names translated, the columns as wide as the language's names, counted in characters.
        {"en", "measure " + doc + " --mode sum --only max,pp", "                  Sum\nMaximum        2.00 V\n"
                                                              "Peak-to-peak  0.000 V\n"},
        {"pl", "measure " + doc + " --mode sum --only max,pp", "                    Suma\nMaksimum          2.00 V\n"
                                                              "Międzyszczytowa  0.000 V\n"},
    };
    for (const auto& c : cases) {
        qputenv("KIV_LANG", c.lang);
        EXPECT_EQ(Tool(c.args).out.rfind(c.says, 0), 0u) << c.lang << " " << c.args;
    }
    qputenv("KIV_LANG", "en");
    const QRegularExpression polish(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));
    for (const char* c : {"", "info", "codes", "labels", "render", "export", "generate", "import", "meanrms", "measure",
                          "fetch", "probe", "screenshot", "ports"})
        EXPECT_FALSE(QString::fromStdString(Tool(std::string(c) + " --help").out).contains(polish)) << c;
    qputenv("KIV_LANG", "pl");
}

// A constant 1 V on plot 1, 1 ms a sample.
TEST(KivTool, FourierRenderExportImport) {
    const std::string dir = TestDir("kivtool_files");
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, {0, 's', 0.001}, {0, 'V', 0.02});
    doc.SetViewFlags(0, 1);  // stored white background
    const std::string d = dir + "/d.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(d));

    ToolRun labels = Tool("labels " + d + " --mode fourier");
    ASSERT_EQ(labels.status, 0);
    EXPECT_EQ(Line(labels.out, 0), "0 |5 |10 |15 |20 |25 |30 |35 |40 |45 |50 ");
    // A constant puts everything into the DC bar.
    ToolRun harm = Tool("codes " + d + " --mode fourier --what harm");
    EXPECT_EQ(std::tuple(Line(harm.out, 0), Line(harm.out, 1), Line(harm.out, 50)),
              (std::tuple<std::string, std::string, std::string>("0\t200\t0", "1\t0\t0", "")));
    // Coinciding cursors are reported and nothing is drawn.
    ToolRun same = Tool("codes " + d + " --mode fourier --what harm --cursors 7,7");
    EXPECT_NE(same.out.find("Kursory pokrywanją się"), std::string::npos);

    ASSERT_EQ(Tool("render " + d + " " + dir + "/p.png --size 1000x300").status, 0);
    QImage png(QString::fromStdString(dir + "/p.png"));
    ASSERT_EQ(png.size(), QSize(1000, 300));
    EXPECT_EQ(png.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);  // the document's white background
    // A size out of range is brought into it, with one note on stderr; only garbage is refused.
    const struct { const char* size; QSize made; } sizes[] = {
        {"10x10", {400, 200}}, {"399x900", {400, 900}}, {"20000x300", {10000, 300}}, {"500x99999999999", {500, 10000}}};
    for (const auto& [size, made] : sizes) {
        const ToolRun r = Tool("render " + d + " " + dir + "/s.png --size " + size);
        EXPECT_EQ(r.status, 0) << size;
        EXPECT_EQ(QImage(QString::fromStdString(dir + "/s.png")).size(), made) << size;
        EXPECT_TRUE(r.out.starts_with(std::string("kivtool: rozmiar ") + size + " zmieniony na ")) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    }
    EXPECT_EQ(Tool("render " + d + " " + dir + "/s.png --size 800x600").out, "");

    // Spreadsheet row of a one-curve value of 1 V; the Tektronix form back through import.
    ASSERT_EQ(Tool("export " + d + " " + dir + "/o.csv").status, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(FileBytes(dir + "/o.csv").data()), 32),
              "0,000000000000;1,000000000000;\r\n");
    ASSERT_EQ(Tool("export " + d + " " + dir + "/t.CSV").status, 0);
    ASSERT_EQ(Tool("import " + dir + "/t.CSV " + dir + "/i.kiv --plot 2 --into " + d).status, 0);
    const QJsonObject info = Json(Tool("info " + dir + "/i.kiv").out);
    EXPECT_EQ(info["present"].toInt(), 3);
    EXPECT_TRUE(info["white_background"].toBool());
    EXPECT_EQ(Line(Tool("codes " + dir + "/i.kiv --what raw").out, 17), "17\t150\t150");

    // The form by name, whatever the file is called.
    ASSERT_EQ(Tool("export " + d + " " + dir + "/p.obraz --format pcx").status, 0);
    const std::vector<uint8_t> pcx = FileBytes(dir + "/p.obraz");
    ASSERT_GT(pcx.size(), 128u + 769);
    const size_t pal = pcx.size() - 769;  // 0x0C, then the first palette entry: the white background
    EXPECT_EQ(std::tuple(pcx[0], pcx[pal], pcx[pal + 1] << 16 | pcx[pal + 2] << 8 | pcx[pal + 3]),
              std::tuple(0x0A, 0x0C, 0xFFFFFF));

    // Refusals: a spreadsheet CSV is no Tektronix file; a form it does not read is a usage error.
    EXPECT_EQ(Tool("import " + dir + "/o.csv " + dir + "/x.kiv --plot 1").status, 1);
    EXPECT_EQ(Tool("import " + dir + "/p.png " + dir + "/x.kiv --plot 1").status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.kiv"));
}
