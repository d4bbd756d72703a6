// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QScreen>

#include "support/DialogControls.h"
#include "view/ui/CChoosePlotDlg.h"
#include "view/ui/CPlotSettingsDlg.h"
#include "view/ui/CScaleDlg.h"

namespace {

// Clicks OK: true when the dialog closed accepted, false when it stayed open.
bool Ok(QDialog& dlg) {
    Click(dlg, "IDOK");
    EXPECT_NE(dlg.isVisible(), dlg.result() == QDialog::Accepted);
    return !dlg.isVisible();
}

// Title and group, then every named control that takes the focus, in Tab order, with
// its text (a field's text is its number); OK and "Anuluj" close the order.
using Controls = std::vector<std::pair<QString, QString>>;
void ExpectLayout(QDialog& dlg, const char* title, const char* group, Controls want) {
    const QGroupBox* box = dlg.findChild<QGroupBox*>();
    EXPECT_EQ(std::pair(dlg.windowTitle(), box ? box->title() : ""),
              std::pair(QString::fromUtf8(title), QString(group)));
    Controls got;
    QWidget *first = Get(dlg, want[0].first), *w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            got.emplace_back(w->objectName(), w->property("text").toString());
    } while ((w = w->nextInFocusChain()) != first);
    want.insert(want.end(), {{"IDOK", "OK"}, {"IDCANCEL", "Anuluj"}});
    EXPECT_EQ(got, want);
}

// The swatch as it is on screen once pending paints are done: its corners (the outline)
// and a pixel inside.
std::tuple<QRgb, QRgb, QRgb> Swatch(QDialog& dlg) {
    QCoreApplication::processEvents();
    const QWidget* swatch = Get(dlg, "1036");
    const QImage i = dlg.screen()->grabWindow(dlg.winId()).toImage().copy(
        QRect(swatch->mapTo(&dlg, QPoint()), swatch->size()));
    return {i.pixel(0, 0), i.pixel(i.width() - 1, i.height() - 1), i.pixel(10, 10)};
}

}  // namespace

TEST(SettingsDialogs, PlotSettings) {
    PlotSettings given;
    given.bEnabled = 1, given.crColour = MakeColour(1, 2, 3), given.bOffset = 1, given.nOffset = 10;
    given.fMultiplier = 2.5f, given.dAmpStep = 0.04;
    const PlotColour red = MakeColour(255, 0, 0), picked = MakeColour(0, 128, 255);
    // Offset text, accepted?, offset read: "4.1" is 103 codes, "4.04" one step too far; the 20th character is cut.
    for (auto [text, accepted, read] : {std::tuple{"1", true, 25}, {"4.1", false, 10}, {"4.04", false, 10},
                                        {"-4", true, -100}, {"1                  k", true, 25},
                                        {"1                 k", false, 10}}) {
        CPlotSettingsDlg dlg(QStringLiteral("Właściwości wykresu 1"), given, red);
        dlg.show();
        SetText(dlg, "1027", text);
        EXPECT_EQ(std::pair(Ok(dlg), dlg.Settings().nOffset), std::pair(accepted, read)) << text;
    }

    CPlotSettingsDlg dlg(QStringLiteral("Właściwości wykresu 2"), given, red);
    dlg.show();
    ExpectLayout(dlg, "Właściwości wykresu 2", "",
                 {{"1031", "Włączony"}, {"1029", "Mnożnik"}, {"1025", "Odwróć"}, {"1026", "Przesunięcie"},
                  {"1028", "2.50 "}, {"1027", "400m"}, {"1030", "Zmień"}});
    const char* const controls = "1031 1029 1025 1026 1028 1027";
    EXPECT_EQ(States(dlg, controls), "xooxDE");
    EXPECT_EQ(Swatch(dlg), std::tuple(qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(255, 0, 0)));

    dlg.m_pickColour = [&](PlotColour& c) { return c = picked, true; };
    Click(dlg, "1030");  // the swatch repaints in the chosen colour
    EXPECT_EQ(std::pair(dlg.SwatchColour(), std::get<2>(Swatch(dlg))), std::pair(picked, qRgb(0, 128, 255)));

    // Each click reads the boxes; a field follows its box, and one whose box is off is not read.
    for (const char* id : {"1029", "1025", "1026"}) Click(dlg, id);
    EXPECT_EQ(States(dlg, controls), "xxxoED");
    const PlotSettings& got = dlg.Settings();
    EXPECT_EQ(std::tuple(got.bMultiplier, got.bInvert, got.bOffset), std::tuple(1, 1, 0));
    SetText(dlg, "1027", "garbage");
    SetText(dlg, "1028", "1.2.3");
    EXPECT_FALSE(Ok(dlg));
    SetText(dlg, "1028", "-1.5k");  // a negative multiplier is left to the plot pair
    EXPECT_TRUE(Ok(dlg));
    EXPECT_EQ(std::tuple(got.bEnabled, got.bInvert, got.bMultiplier, got.bOffset, got.nOffset, got.fMultiplier,
                         got.crColour),
              std::tuple(1, 1, 1, 0, 10, -1500.0f, MakeColour(1, 2, 3)));
}

TEST(SettingsDialogs, Scale) {
    const AxisWindowInfo time{0, 1e-6, 4000, 0, 4000, 0};  // exponent, step, limitMax, limitMin, max, min
    CScaleDlg dlg(QStringLiteral("Oś X"), time);
    dlg.show();
    ExpectLayout(dlg, "Oś X", "Skalowanie",
                 {{"1035", "4.00m"}, {"1034", "0.000 "}, {"1032", "Automatyczne"}, {"1033", "Ręczne"}});
    const char* const controls = "1032 1033 1034 1035";
    EXPECT_EQ(States(dlg, controls), "xoDD");  // the full axis
    Click(dlg, "1032");  // a ticked box stays ticked
    EXPECT_EQ(States(dlg, controls), "xoDD");
    Click(dlg, "1033");
    EXPECT_EQ(States(dlg, controls), "oxEE");

    auto window = [](CScaleDlg& d, const char* from, const char* to) {
        SetText(d, "1034", from);
        SetText(d, "1035", to);
        return Ok(d);
    };
    EXPECT_FALSE(window(dlg, "1.00m", "1.01m"));  // 1000..1010: not more than 10
    EXPECT_FALSE(window(dlg, "-1u", "2m"));       // below the axis
    EXPECT_FALSE(window(dlg, "2m", "4.001m"));    // above it
    EXPECT_TRUE(window(dlg, "0.000 ", "4.00m"));
    EXPECT_EQ(std::pair(dlg.Info().min, dlg.Info().max), std::pair(0, 4000));

    // A narrowed axis opens manual; "Automatyczne" gives the whole axis, whatever the fields hold.
    const AxisWindowInfo codes{-1, 0.5, 200, 0, 150, 40};
    CScaleDlg narrow(QStringLiteral("Oś Y1"), codes);
    narrow.show();
    EXPECT_EQ(States(narrow, controls), "oxEE");
    EXPECT_EQ(std::pair(Get<QLineEdit>(narrow, "1034")->text(), Get<QLineEdit>(narrow, "1035")->text()),
              std::pair(QString("20.0m"), QString("75.0m")));
    SetText(narrow, "1034", "junk");
    Click(narrow, "1032");
    EXPECT_TRUE(Ok(narrow));
    EXPECT_EQ(std::pair(narrow.Info().min, narrow.Info().max), std::pair(0, 200));

    // A value read before a failure stays in the dialog; the caller discards it unless OK closes.
    CScaleDlg failed(QStringLiteral("Oś Y2"), codes);
    failed.show();
    EXPECT_FALSE(window(failed, "10m", "101m"));  // above the axis
    EXPECT_EQ(failed.Info().min, 20);
}

TEST(SettingsDialogs, ChoosePlot) {
    CChoosePlotDlg dlg;
    dlg.show();
    ExpectLayout(dlg, "Wybierz wykres", "Wykres", {{"1051", "Wykres 1"}, {"1052", "Wykres 2"}});
    auto state = [&] { return std::pair(dlg.m_nChoice, States(dlg, "1051 1052")); };
    EXPECT_EQ(state(), std::pair(1, QString("xo")));
    for (const char* id : {"1052", "1052"}) Click(dlg, id);  // a checked button stays checked
    EXPECT_EQ(state(), std::pair(0, QString("ox")));
    Click(dlg, "1051");
    EXPECT_EQ(state(), std::pair(1, QString("xo")));
    EXPECT_TRUE(Ok(dlg));
}
