#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "analysis/ui/CMeanRmsDlg.h"
#include "app/CommandIds.h"
#include "data/CExport.h"
#include "data/CKivDoc.h"
#include "support/ViewFixture.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"
#include "view/ui/CKivView.h"

TEST_F(ViewDialogs, PlotSettingsAndScales) {
    FillPlot(doc.Source(), 1, [](int) { return 110; });
    doc.DataChanged();
    QString title;
    // Offset ticked with 1 V at 0.02 V a code: 50 codes up.
    Run(ID_PLOT1_DATA, [&](QDialog& d) {
        title = d.windowTitle();
        Click(d, "1026");
        Child<QLineEdit>(d, "1027")->setText("1");
        Click(d, "IDOK");
    });
    EXPECT_TRUE(title == "Właściwości wykresu 1" && doc.Source().m_nOffset1 == 50 && doc.Source().m_nShown1[0] == 160);
    Run(ID_PLOT1_DATA, [&](QDialog& d) {
        Click(d, "1026");
        d.reject();
    });
    EXPECT_EQ(doc.Source().m_bOffset1, 1);

    // The axis titles follow the number of curves; a manual window is set on OK.
    QStringList titles;
    auto note = [&](QDialog& d) { titles << d.windowTitle(), d.reject(); };
    Run(ID_PLOT1_SCALE, note);
    FillPlot(doc.Source(), 2, [](int) { return 90; });
    doc.DataChanged();
    Run(ID_PLOT1_SCALE, note);
    Run(ID_PLOT2_SCALE, note);
    Run(ID_AXIS_X_SCALE, [&](QDialog& d) {
        titles << d.windowTitle();
        Click(d, "1033");
        Child<QLineEdit>(d, "1034")->setText("1.00");  // seconds at 1 ms a sample
        Child<QLineEdit>(d, "1035")->setText("3.00");
        Click(d, "IDOK");
    });
    EXPECT_EQ(titles, QStringList({"Oś Y", "Oś Y1", "Oś Y2", "Oś X"}));
    EXPECT_TRUE(doc.GetCurrentMode()->m_window.left == 1000 && doc.GetCurrentMode()->m_window.right == 3000);
}

TEST_F(ViewDialogs, GeneratorAndMeanRms) {
    Run(ID_GENERATOR, [&](QDialog& d) { d.accept(); });  // one period of a sine into both plots
    EXPECT_TRUE(doc.Source().m_nPresent == 3 && doc.IsModified());

    std::string values[4];
    bool two = false;
    ASSERT_TRUE(doc.ComputeMeanRms(values, two));
    QStringList shown;
    int cursorsWhileOpen = 0;
    Run(ID_MEAN_RMS, [&](QDialog& d) {
        cursorsWhileOpen = view.m_bCursors;
        auto& dlg = static_cast<CMeanRmsDlg&>(d);
        shown << dlg.FieldText(1050) << dlg.FieldText(1051) << dlg.FieldText(1044) << dlg.FieldText(1045);
        d.accept();
    });
    EXPECT_TRUE(cursorsWhileOpen == 1 && view.m_bCursors == 0);
    EXPECT_EQ(shown, QStringList({QString::fromStdString(values[1]), QString::fromStdString(values[0]),
                                  QString::fromStdString(values[3]), QString::fromStdString(values[2])}));
    EXPECT_TRUE(values[1] == "637m" && values[3] == "707m");  // 2 / pi and 1 / sqrt 2 of amplitude 1

    // XY with one plot on: nothing to compute.
    doc.OnPlotToggle(ID_PLOT2_TOGGLE);
    doc.OnModeCommand(ID_MODE_XY);
    Run(ID_MEAN_RMS, [](QDialog& d) { d.reject(); });
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_EQ(host.messages.boxes[0].text, "Błąd przy wyliczaniu\n\n");
}

// Import a DSO file into plot 2, show its derivative, export it, save and reopen.
