// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "analysis/ui/CMeanRmsDlg.h"
#include "app/CommandIds.h"
#include "support/DialogControls.h"
#include "support/ViewFixture.h"
#include "view/ui/CPlotSettingsDlg.h"

// The plots' settings dialogs, and the scale dialog of a command's axis or of the label
// strip under a double-click; the scale titles follow the number of curves. Two curves:
// the plot (100, 20)-(880, 450), plot 1's labels outside.
TEST_F(ViewDialogs, DialogTitlesAndLabelStrips) {
    FillPlot(doc.Source(), 1, [](int) { return 110; });
    doc.DataChanged();
    QStringList titles;
    auto note = [&](QDialog& d) { titles << d.windowTitle(), d.reject(); };
    Run(ID_PLOT1_SCALE, note);
    FillPlot(doc.Source(), 2, [](int) { return 90; });
    doc.DataChanged();
    for (int id : {ID_PLOT1_DATA, ID_PLOT2_DATA, ID_PLOT1_SCALE, ID_PLOT2_SCALE, ID_AXIS_X_SCALE})
        Run(id, note);
    for (QPoint pt : {QPoint(20, 300), QPoint(75, 300), QPoint(400, 480), QPoint(400, 300)}) {
        Answer(note);
        Send(QEvent::MouseButtonDblClick, pt.x(), pt.y());
        QApplication::processEvents();
    }
    EXPECT_EQ(titles, QStringList({"Oś Y", "Właściwości wykresu 1", "Właściwości wykresu 2", "Oś Y1", "Oś Y2", "Oś X",
                                   "Oś Y1", "Oś Y2", "Oś X"}));
}

// What these edits change is kept in the file: each marks the document modified, so that
// closing asks to save it. Cancelled dialogs and a click on a marker change nothing.
TEST_F(ViewMouse, EditsMarkTheDocumentModified) {
    commands.OnCommand(ID_OFFSET_CURSOR), view.ScreenPicture();
    auto run = [this](int id, std::function<void(QDialog&)> answer) { return [=, this] { Run(id, answer); }; };
    auto recolour = [](QDialog& d, PlotColour colour) {
        static_cast<CPlotSettingsDlg&>(d).m_pickColour = [colour](PlotColour& c) { return c = colour, true; };
        Click(d, "1030");
    };
    // 1 s to 3 s at 1 ms a sample.
    auto manual = [](QDialog& d) { Click(d, "1033"), SetText(d, "1034", "1.00"), SetText(d, "1035", "3.00"); };
    // 1 V of offset is 50 codes at 0.02 V; the marker's drag has ticked its box.
    auto settings = [&](QDialog& d) { recolour(d, MakeColour(1, 2, 3)), SetText(d, "1027", "1"), Click(d, "IDOK"); };
    auto unticked = [&](QDialog& d) { recolour(d, MakeColour(4, 5, 6)), Click(d, "1026"), d.reject(); };
    const std::tuple<const char*, std::function<void()>, bool> cases[] = {
        {"marker click", [this] { Drag(57, 300, 57, 300); }, false},
        {"marker drag", [this] { Drag(57, 300, 57, 366); }, true},
        {"settings", run(ID_PLOT1_DATA, settings), true},
        {"settings cancelled", run(ID_PLOT1_DATA, unticked), false},
        {"scale cancelled", run(ID_AXIS_X_SCALE, [&](QDialog& d) { manual(d), d.reject(); }), false},
        {"scale", run(ID_AXIS_X_SCALE, [&](QDialog& d) { manual(d), Click(d, "IDOK"); }), true},
        {"plot toggle", [this] { commands.OnCommand(ID_PLOT1_TOGGLE); }, true},
        {"white background", [this] { commands.OnCommand(ID_WHITE_BACKGROUND); }, true},
    };
    for (const auto& [name, edit, modified] : cases) {
        doc.SetModifiedFlag(false);
        edit();
        EXPECT_EQ(doc.IsModified(), modified) << name;
    }
    // Sample 0, code 50, shows 50 codes higher; the colour is that of OK.
    EXPECT_EQ(std::tuple(doc.Source().m_bOffset1, doc.Source().m_nOffset1, doc.Source().m_nShown1[0]),
              std::tuple(1, 50, 100));
    EXPECT_EQ(doc.Source().m_crColour1, MakeColour(1, 2, 3));
    EXPECT_EQ(std::pair(doc.GetCurrentMode()->m_window.left, doc.GetCurrentMode()->m_window.right),
              std::pair(1000, 3000));
}

// The generator's default, one period of a sine into both plots; the mean/RMS dialog shows
// the cursors while it is open, and the document's values.
TEST_F(ViewDialogs, GeneratorAndMeanRms) {
    Run(ID_GENERATOR, [&](QDialog& d) { d.accept(); });
    EXPECT_EQ(doc.Source().m_nPresent, 3);
    QStringList shown;  // the cursors' flag while it is open, then the fields
    Run(ID_MEAN_RMS, [&](QDialog& d) {
        shown << QString::number(view.CursorsShown());
        for (int id : {1050, 1051, 1044, 1045}) shown << static_cast<CMeanRmsDlg&>(d).FieldText(id);
        d.accept();
    });
    EXPECT_EQ(shown, QStringList({"1", "637m", "637m", "707m", "707m"}));  // 2 / pi and 1 / sqrt 2 of amplitude 1
    EXPECT_EQ(view.CursorsShown(), 0);

    // XY with one plot on: nothing to compute.
    doc.TogglePlot(2);
    doc.SetMode(kModeXY);
    Run(ID_MEAN_RMS, [](QDialog& d) { d.reject(); });
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_EQ(host.messages.boxes[0].text, "Błąd przy wyliczaniu\n\n");
}
