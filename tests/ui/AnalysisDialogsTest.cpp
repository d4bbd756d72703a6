// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/ui/CGeneratorDlg.h"
#include "analysis/ui/CMeanRmsDlg.h"
#include "support/DialogControls.h"
#include "support/FakePlatform.h"
#include "support/WidgetText.h"

namespace {

// Amplitude (or value), duration, start phase, period.
void Enter(CGeneratorDlg& dlg, const char* amplitude, const char* duration, const char* phase, const char* period) {
    const char* texts[4] = {amplitude, duration, phase, period};
    for (int i = 0; const char* id : {"1030", "1027", "1028", "1031"}) SetText(dlg, id, texts[i++]);
}

QString Label(CGeneratorDlg& dlg) { return Get<QLabel>(dlg, "1057")->text(); }

// The kinds (constant, sine, square), the targets (1, 2, both), then the four fields.
constexpr char kControls[] = "1054 1055 1056 1051 1052 1053 1030 1027 1028 1031";

}  // namespace

// One row (Y1) or two; the fields take the strings in the order the dialog shows them.
TEST(AnalysisDialogs, MeanRmsLayouts) {
    CMeanRmsDlg one(MeanRmsFields{false, "637m", "707m", "", ""});
    EXPECT_EQ(one.windowTitle(), QString::fromUtf8("Wartość średnia i skuteczna przebiegów"));
    for (auto [id, text] : {std::pair{1050, "637m"}, {1044, "707m"}}) EXPECT_EQ(one.FieldText(id), text) << id;
    for (int id : {1051, 1045}) EXPECT_FALSE(one.HasField(id)) << id;
    EXPECT_FALSE(Captions(one).contains("Y2:"));
    for (const char* t : {"Wartość średnia", "Wartość skuteczna", "Y1:", "Uwaga", "Wartości te obliczane są dla przebiegów",
                          "w zakresach wskazywanych przez kursory.", "Kursory powinny wskazywać pełny okres",
                          "przebiegu lub jego wielokrotność."})
        EXPECT_TRUE(Captions(one).contains(QString::fromUtf8(t))) << t;
    ASSERT_EQ(one.findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(one.findChildren<QPushButton*>()[0]->text(), "OK");

    CMeanRmsDlg two(MeanRmsFields{true, "1.00 ", "1.20 ", "2.00 ", "2.50 "});
    EXPECT_TRUE(Captions(two).contains("Y2:"));
    for (auto [id, text] : {std::pair{1050, "1.00 "}, {1051, "2.00 "}, {1044, "1.20 "}, {1045, "2.50 "}})
        EXPECT_EQ(two.FieldText(id), text) << id;
    for (const QLineEdit* e : two.findChildren<QLineEdit*>()) EXPECT_TRUE(e->isReadOnly());
}

TEST(AnalysisDialogs, GeneratorStartStateKindsAndAccept) {
    FakeHost host;
    CGeneratorDlg dlg(host.Platform());
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Generator sygnałów"));
    for (auto [id, text] : {std::pair{"1030", "1"}, {"1027", "1"}, {"1028", "0"}, {"1031", "1"}})
        EXPECT_EQ(Get<QLineEdit>(dlg, id)->text(), text) << id;
    EXPECT_EQ(Label(dlg), "Amplituda");
    EXPECT_EQ(States(dlg, kControls), "oxoooxEEEE");

    // The constant greys the timing fields but keeps what they hold.
    Enter(dlg, "-3", "2", "0.5", "0.25");
    Click(dlg, "1054");
    EXPECT_EQ(States(dlg, kControls), "xooooxEEDD");
    EXPECT_EQ(Label(dlg), QString::fromUtf8("Wartość"));
    EXPECT_EQ(Get<QLineEdit>(dlg, "1028")->text(), "0.5");
    Click(dlg, "1056");
    EXPECT_EQ(States(dlg, kControls), "ooxooxEEEE");
    EXPECT_EQ(Label(dlg), "Amplituda");
    EXPECT_EQ(Get<QLineEdit>(dlg, "1031")->text(), "0.25");

    Click(dlg, "1052");
    Enter(dlg, " -2.5e3 ", "0.004", "1E-3", "+.002");
    Click(dlg, "IDOK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const GeneratorParams& p = dlg.Params();
    EXPECT_EQ(std::tuple(p.m_dAmplitude, p.m_dDuration, p.m_dStartPhase, p.m_dPeriod, p.m_nKind, p.m_nTarget),
              std::tuple(-2500.0, 0.004, 0.001, 0.002, kGenSquare, 2));
}

TEST(AnalysisDialogs, GeneratorStaysOpenOnBadEntries) {
    // Amplitude, duration, phase, period; the field reported (IDOK for the phase warning,
    // which moves no focus) and its message.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"abc", "0", "0", "1", "1030", "Wprowadź liczbę."},  // the first failing field only
        {"1,5", "1", "0", "1", "1030", "Wprowadź liczbę."},
        {"", "1", "0", "1", "1030", "Wprowadź liczbę."},
        {"1000001", "1", "0", "1", "1030", "Wprowadź liczbę z zakresu od -1000000 do 1000000."},
        {"1", "0", "0", "1", "1027", "Wprowadź liczbę z zakresu od 1e-11 do 10000."},
        {"1", "1e999", "0", "1", "1027", "Wprowadź liczbę z zakresu od 1e-11 do 10000."},
        {"1", "1", "-0.1", "1", "1028", "Wprowadź liczbę z zakresu od 0 do 9999.9999."},
        {"1", "1", "0", "0", "1031", "Wprowadź liczbę z zakresu od 1e-10 do 10000."},
        {"1", "2", "2", "1", "IDOK", "Wartość fazy poczatkowej musi być mniejsza od czasu sygnału"},
    };
    for (auto [amplitude, duration, phase, period, focus, text] : cases) {
        FakeHost host;
        CGeneratorDlg dlg(host.Platform());
        dlg.show();
        Enter(dlg, amplitude, duration, phase, period);
        Get(dlg, "IDOK")->setFocus();
        Click(dlg, "IDOK");
        EXPECT_TRUE(dlg.isVisible()) << text;  // not accepted
        ASSERT_EQ(host.messages.boxes.size(), 1u) << text;
        const FakeMessages::Box& box = host.messages.boxes[0];
        const bool warning = std::string(focus) == "IDOK";
        EXPECT_EQ(std::tuple(box.text, box.caption, box.icon, box.buttons),
                  std::tuple(text, warning ? "Uwaga !" : "Kiv", warning ? MsgIcon::None : MsgIcon::Exclamation,
                             MsgButtons::Ok));
        EXPECT_EQ(dlg.focusWidget(), Get(dlg, focus)) << text;
    }
}
