// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "document/CKivDoc.h"
#include "support/TestFiles.h"

// The new export forms as other programs read them: these clients, not our own readers,
// decide whether a file works. Each is installed by scripts/setup; a missing one fails.

namespace {

std::string Tool(const std::string& args) { return std::string(KIVTOOL_PATH) + " " + args; }

// Runs a command that must succeed; its output.
std::string Ok(const std::string& command) {
    const auto [status, out] = RunCommand(command);
    EXPECT_EQ(status, 0) << command << "\n" << out;
    return out;
}

// The floats of a session's analog channel n, as Python's zipfile and struct read them,
// printed with the 9 digits that tell every float apart.
std::vector<std::string> SessionFloats(const std::string& path, int n) {
    const std::string out = Ok("/usr/bin/python3 -c \"import zipfile,struct,sys; z=zipfile.ZipFile(sys.argv[1]); "
                               "d=b''.join(z.read(m) for m in sorted(z.namelist()) if m.startswith('analog-1-" +
                               std::to_string(n) + "-')); "
                               "print('\\n'.join('%.9g' % v for v in struct.unpack('<%df' % (len(d)//4), d)))\" " +
                               path);
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Float9(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(static_cast<float>(v)));
    return text;
}

}  // namespace

TEST(ExportForms, PicturesOpenInTheirClients) {
    const std::string dir = TestDir("export_pictures");
    const std::string doc = dir + "/g.kiv";
    Ok(Tool("generate " + doc + " --kind square --amplitude 2 --duration 0.01 --period 0.002"));
    // PNG: PIL reads the asked size in full colour, the pixels those of the window's renderer.
    Ok(Tool("export " + doc + " " + dir + "/p.png --size 640x480"));
    EXPECT_EQ(Ok("/usr/bin/python3 -c \"from PIL import Image; i=Image.open('" + dir + "/p.png'); print(i.size, i.mode)\""),
              "(640, 480) RGB\n");
    Ok(Tool("render " + doc + " " + dir + "/r.png --size 640x480"));
    EXPECT_EQ(QImage(QString::fromStdString(dir + "/p.png")), QImage(QString::fromStdString(dir + "/r.png")));

    // SVG: rsvg-convert draws it at its size; lines and texts, no picture inside.
    Ok(Tool("export " + doc + " " + dir + "/v.svg --white"));
    Ok("rsvg-convert " + dir + "/v.svg -o " + dir + "/v.png");
    const QImage drawn(QString::fromStdString(dir + "/v.png"));
    EXPECT_EQ(drawn.size(), QSize(800, 600));
    EXPECT_EQ(drawn.pixelColor(790, 590), QColor(Qt::white));
    const std::vector<uint8_t> svg = FileBytes(dir + "/v.svg");
    const std::string svgText(svg.begin(), svg.end());
    EXPECT_EQ(svgText.find("<image"), std::string::npos);
    EXPECT_NE(svgText.find(">2.00 </text>"), std::string::npos);  // an amplitude label as text
    EXPECT_NE(svgText.find("font-family=\"DejaVu Sans Mono\""), std::string::npos);  // a face that exists

    // PDF: one A4 landscape page, fonts embedded, the labels searchable, no image.
    Ok(Tool("export " + doc + " " + dir + "/d.pdf"));
    const std::string info = Ok("pdfinfo " + dir + "/d.pdf");
    EXPECT_NE(info.find("\nPages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       842 x 595 pts (A4)"), std::string::npos) << info;
    const std::string fonts = Ok("pdffonts " + dir + "/d.pdf");
    EXPECT_NE(fonts.find(" yes "), std::string::npos) << fonts;  // the "emb" column
    const std::string text = Ok("pdftotext " + dir + "/d.pdf -");
    for (const char* label : {"2.00", "-2.00", "10.0m"}) EXPECT_NE(text.find(label), std::string::npos) << label;
    EXPECT_EQ(Ok("pdfimages -list " + dir + "/d.pdf").find("image "), std::string::npos);
}

// The SVG's labels as the PNG shows them: where two columns of labels meet, no label's cell
// covers the start of its neighbour (plot 2's minus signs once went missing).
TEST(ExportForms, SvgLabelsStartWhereThePngsDo) {
    const std::string dir = TestDir("export_labels");
    const std::string one = dir + "/one.kiv", both = dir + "/both.kiv";
    Ok(Tool("generate " + one + " --kind sine --target 3"));
    Ok(Tool("generate " + both + " --kind square --amplitude 2 --target 2 --into " + one));
    Ok(Tool("export " + both + " " + dir + "/l.png"));
    Ok(Tool("export " + both + " " + dir + "/l.svg"));
    Ok("rsvg-convert " + dir + "/l.svg -o " + dir + "/s.png");
    const QImage png(QString::fromStdString(dir + "/l.png")), svg(QString::fromStdString(dir + "/s.png"));
    ASSERT_EQ(png.size(), svg.size());
    // The first column of a label row in a plot's colour (blue plot 1, pink plot 2), or -1; the
    // two renderers smooth and clip text apart by a pixel or two, a lost minus sign is six.
    auto start = [](const QImage& image, int y, bool plot2) {
        for (int x = 0; x < 100; ++x)
            for (int dy = -6; dy <= 6; ++dy) {
                const QColor c = image.pixelColor(x, y + dy);
                if (plot2 ? c.red() > 150 && c.green() < 100 : c.blue() > 150 && c.red() < 100) return x;
            }
        return -1;
    };
    for (int j = 0; j <= 8; ++j) {
        const int y = 20 + 530 * (8 - j) / 8;
        for (bool plot2 : {false, true}) {
            const int fromPng = start(png, y, plot2);
            EXPECT_GE(fromPng, 0) << y;
            EXPECT_NEAR(start(svg, y, plot2), fromPng, 3) << "row " << y << (plot2 ? " plot 2" : " plot 1");
        }
    }
}

TEST(ExportForms, SigrokSessionsGoBothWays) {
    const std::string dir = TestDir("export_sigrok");
    const std::string doc = dir + "/g.kiv";
    Ok(Tool("generate " + doc + " --kind sine --amplitude 3 --duration 0.01 --period 0.003"));
    Ok(Tool("export " + doc + " " + dir + "/out.sr"));
    const std::string shown = Ok("sigrok-cli -i " + dir + "/out.sr --show");
    for (const char* line : {"Samplerate: 400000\n", "- CH1: analog\n", "- CH2: analog\n"})
        EXPECT_NE(shown.find(line), std::string::npos) << shown;
    // sigrok-cli reads the session and writes its own: the floats come back bit for bit, and
    // they are the document's physical values.
    Ok("sigrok-cli -i " + dir + "/out.sr -O srzip -o " + dir + "/copy.sr");
    const std::vector<std::string> copied = SessionFloats(dir + "/copy.sr", 1);
    CKivDoc kiv;
    ASSERT_TRUE(kiv.OnOpenDocument(doc));
    CData& mode = *kiv.GetCurrentMode();
    mode.GetDisplaySamples(1);
    ASSERT_EQ(copied.size(), size_t(kSamples));
    const double p = ScalePower(mode.m_scaleY1), s = mode.m_scaleY1.step;
    for (int i = 0; i < kSamples; i += 13) ASSERT_EQ(copied[size_t(i)], Float9((mode.m_nCalc1[i] - 100.0) * p * s)) << i;
    // Its text output shows every sample of both channels, at two decimals (this sigrok-cli
    // ends with status 1 after a glib warning even on its own demo captures).
    const std::string text = RunCommand("sigrok-cli -i " + dir + "/out.sr -O analog").second;
    size_t lines = 0;
    for (size_t at = text.find("CH2: "); at != std::string::npos; at = text.find("CH2: ", at + 1)) ++lines;
    EXPECT_EQ(lines, size_t(kSamples));

    // A capture of sigrok's demo device: 5000 samples of channel A0 into 4000.
    Ok("sigrok-cli -d demo --channels A0 --samples 5000 -o " + dir + "/demo.sr");
    Ok(Tool("import " + dir + "/demo.sr " + dir + "/d.kiv --plot 2"));
    const std::vector<std::string> demo = SessionFloats(dir + "/demo.sr", 1);
    ASSERT_EQ(demo.size(), 5000u);
    CKivDoc imported;
    ASSERT_TRUE(imported.OnOpenDocument(dir + "/d.kiv"));
    const CDataSrc& src = imported.Source();
    for (int i = 0; i < kSamples; i += 11)
        ASSERT_NEAR((src.m_nRaw2[i] - 100) * src.m_ampScale2.step, std::stod(demo[size_t(i) * 5000 / 4000]),
                    src.m_ampScale2.step)
            << i;
    EXPECT_NE(RunCommand(Tool("import " + dir + "/g.kiv " + dir + "/x.kiv --plot 1 --channel A0")).first, 0);
}
