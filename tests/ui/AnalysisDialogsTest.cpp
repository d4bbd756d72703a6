#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "analysis/ui/CGeneratorDlg.h"
#include "analysis/ui/CMeanRmsDlg.h"
#include "support/FakePlatform.h"
#include "support/WidgetText.h"

namespace {

QLineEdit* Edit(const CGeneratorDlg& dlg, int id) { return qobject_cast<QLineEdit*>(dlg.Control(id)); }
QRadioButton* Radio(const CGeneratorDlg& dlg, int id) { return qobject_cast<QRadioButton*>(dlg.Control(id)); }
QString Label(const CGeneratorDlg& dlg) { return qobject_cast<QLabel*>(dlg.Control(1057))->text(); }

void Enter(CGeneratorDlg& dlg, const char* amplitude, const char* duration, const char* phase, const char* period) {
    Edit(dlg, 1030)->setText(QString::fromUtf8(amplitude));
    Edit(dlg, 1027)->setText(QString::fromUtf8(duration));
    Edit(dlg, 1028)->setText(QString::fromUtf8(phase));
    Edit(dlg, 1031)->setText(QString::fromUtf8(period));
}

void ClickOk(CGeneratorDlg& dlg) { qobject_cast<QPushButton*>(dlg.Control(1))->click(); }

}  // namespace

TEST(AnalysisDialogs, MeanRmsLayouts) {
    CMeanRmsDlg one(MeanRmsFields{false, "637m", "707m", "", ""});
    EXPECT_EQ(one.windowTitle(), QString::fromUtf8("Wartość średnia i skuteczna przebiegów"));
    EXPECT_EQ(std::pair(one.FieldText(1050), one.FieldText(1044)), (std::pair<QString, QString>("637m", "707m")));
    EXPECT_FALSE(one.HasField(1051) || one.HasField(1045));
    EXPECT_FALSE(Captions(one).contains("Y2:"));
    for (const char* t : {"Wartość średnia", "Wartość skuteczna", "Y1:", "Uwaga", "Wartości te obliczane są dla przebiegów",
                          "w zakresach wskazywanych przez kursory.", "Kursory powinny wskazywać pełny okres",
                          "przebiegu lub jego wielokrotność."})
        EXPECT_TRUE(Captions(one).contains(QString::fromUtf8(t))) << t;
    ASSERT_EQ(one.findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(one.findChildren<QPushButton*>()[0]->text(), "OK");

    // As the document hands them over: plot 2 first, means before RMS values.
    const std::string values[4] = {"2.00 ", "1.00 ", "2.50 ", "1.20 "};
    CMeanRmsDlg two(MeanRmsDialogFields(values, true));
    EXPECT_TRUE(Captions(two).contains("Y2:"));
    const std::pair<int, const char*> expected[] = {{1050, "1.00 "}, {1051, "2.00 "}, {1044, "1.20 "}, {1045, "2.50 "}};
    for (auto [id, text] : expected) EXPECT_EQ(two.FieldText(id), text) << id;
    for (const QLineEdit* e : two.findChildren<QLineEdit*>()) EXPECT_TRUE(e->isReadOnly());
}

TEST(AnalysisDialogs, GeneratorStartStateKindsAndAccept) {
    FakeHost host;
    CGeneratorDlg dlg(host.Platform());
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Generator sygnałów"));
    EXPECT_EQ(qobject_cast<QPushButton*>(dlg.Control(2))->text(), "Anuluj");
    const std::pair<int, const char*> start[] = {{1030, "1"}, {1027, "1"}, {1028, "0"}, {1031, "1"}};
    for (auto [id, text] : start) EXPECT_EQ(Edit(dlg, id)->text(), text) << id;
    EXPECT_EQ(Label(dlg), "Amplituda");
    EXPECT_TRUE(Radio(dlg, 1055)->isChecked() && Radio(dlg, 1053)->isChecked());

    // The constant greys the timing fields but keeps what they hold.
    Enter(dlg, "-3", "2", "0.5", "0.25");
    Radio(dlg, 1054)->click();
    EXPECT_FALSE(Edit(dlg, 1028)->isEnabled() || Edit(dlg, 1031)->isEnabled());
    EXPECT_TRUE(Edit(dlg, 1030)->isEnabled() && Edit(dlg, 1027)->isEnabled());
    EXPECT_EQ(std::pair(Label(dlg), Edit(dlg, 1028)->text()), std::pair(QString::fromUtf8("Wartość"), QString("0.5")));
    Radio(dlg, 1056)->click();
    EXPECT_TRUE(Edit(dlg, 1028)->isEnabled() && Edit(dlg, 1031)->isEnabled());
    EXPECT_EQ(std::pair(Label(dlg), Edit(dlg, 1031)->text()), (std::pair<QString, QString>("Amplituda", "0.25")));
    EXPECT_FALSE(Radio(dlg, 1054)->isChecked() || Radio(dlg, 1055)->isChecked());

    Radio(dlg, 1052)->click();
    Enter(dlg, " -2.5e3 ", "0.004", "1E-3", "+.002");
    ClickOk(dlg);
    EXPECT_TRUE(dlg.result() == QDialog::Accepted && host.messages.boxes.empty());
    const GeneratorParams& p = dlg.Params();
    EXPECT_EQ(std::tuple(p.m_dAmplitude, p.m_dDuration, p.m_dStartPhase, p.m_dPeriod, p.m_nKind, p.m_nTarget),
              std::tuple(-2500.0, 0.004, 0.001, 0.002, kGenSquare, 2));
}

TEST(AnalysisDialogs, GeneratorStaysOpenOnBadEntries) {
    struct Case {
        const char *amplitude, *duration, *phase, *period;
        int focus;  // the field reported; 0 for the phase warning, which moves no focus
        const char* text;
    };
    const Case cases[] = {
        {"abc", "0", "0", "1", 1030, "Wprowadź liczbę."},  // the first failing field only
        {"1,5", "1", "0", "1", 1030, "Wprowadź liczbę."},
        {"", "1", "0", "1", 1030, "Wprowadź liczbę."},
        {"1000001", "1", "0", "1", 1030, "Wprowadź liczbę z zakresu od -1000000 do 1000000."},
        {"1", "0", "0", "1", 1027, "Wprowadź liczbę z zakresu od 1e-11 do 10000."},
        {"1", "1e999", "0", "1", 1027, "Wprowadź liczbę z zakresu od 1e-11 do 10000."},
        {"1", "1", "-0.1", "1", 1028, "Wprowadź liczbę z zakresu od 0 do 9999.9999."},
        {"1", "1", "0", "0", 1031, "Wprowadź liczbę z zakresu od 1e-10 do 10000."},
        {"1", "2", "2", "1", 0, "Wartość fazy poczatkowej musi być mniejsza od czasu sygnału"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        CGeneratorDlg dlg(host.Platform());
        dlg.show();
        Enter(dlg, c.amplitude, c.duration, c.phase, c.period);
        dlg.Control(1)->setFocus();
        ClickOk(dlg);
        EXPECT_TRUE(dlg.isVisible() && dlg.result() != QDialog::Accepted) << c.text;
        ASSERT_EQ(host.messages.boxes.size(), 1u) << c.text;
        const FakeMessages::Box& box = host.messages.boxes[0];
        EXPECT_EQ(std::tuple(box.text, box.caption, box.icon, box.buttons),
                  std::tuple(c.text, c.focus ? "Kiv" : "Uwaga !", c.focus ? MsgIcon::Exclamation : MsgIcon::None,
                             MsgButtons::Ok));
        EXPECT_EQ(dlg.focusWidget(), dlg.Control(c.focus ? c.focus : 1)) << c.text;
    }
}
