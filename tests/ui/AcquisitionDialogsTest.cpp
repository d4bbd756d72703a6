// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <tuple>

#include "acquisition/ScopeRegistry.h"
#include "acquisition/ui/CSourceDlg.h"
#include "acquisition/ui/CTransmissionDlg.h"
#include "platform/PortDevices.h"
#include "qtcore/CPortSettings.h"
#include "support/DialogControls.h"
#include "support/ScopeSimulator.h"
#include "support/TestFiles.h"

namespace {

// The user picks an entry in the open list, also the one already shown.
void Choose(QWidget& dlg, const char* id, int index) {
    auto* list = Get<QComboBox>(dlg, id);
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(index, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list->view(), &enter);
}

// Entries and selection, "1200 2400 [4800] 9600"; several lists are joined with "|".
std::string Lists(QWidget& dlg, const char* ids) {
    QStringList lists;
    for (const QString& id : QString(ids).split(' ')) {
        const QComboBox* list = Get<QComboBox>(dlg, id);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << (i == list->currentIndex() ? '[' + list->itemText(i) + ']' : list->itemText(i));
        lists << items.join(' ');
    }
    return lists.join('|').toStdString();
}

// Model, rate index, port and the rate list of "Parametry transmisji".
std::tuple<int, int, int, std::string> State(CTransmissionDlg& t) {
    return {t.Instrument(), t.Baud(), t.Port(), Lists(t, "1007")};
}

// Clicks "Ustawienia" and drives the nested dialog from inside its modal loop.
void RunSetup(CSourceDlg& dlg, const std::function<void(CTransmissionDlg&)>& drive) {
    bool modal = false;
    QTimer timer;  // dies with this call, so it never fires into a later test
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* nested = qobject_cast<CTransmissionDlg*>(QApplication::activeModalWidget());
        modal = nested != nullptr;
        if (!nested) nested = dlg.findChild<CTransmissionDlg*>();  // never leave the loop hanging
        if (nested) drive(*nested);
    });
    timer.start(0);
    Click(dlg, "1019");
    EXPECT_TRUE(modal);
}

}  // namespace

// The data source of a fetch and, through "Ustawienia", the instrument, rate and port; the
// choices of "Parametry transmisji" are stored as they are made, so "Anuluj" keeps them.
TEST(AcquisitionDialogs, SourceAndTransmission) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(TestDir("transmission")));
    AcquisitionSettings given{0, 1, 9, 4, 3, 2, 7, 3};  // plot 2 off; TEKTRONIX TDS224, 19200, COM3
    CSourceDlg dlg(given);
    dlg.show();
    const QStringList texts{dlg.windowTitle(), dlg.findChild<QGroupBox*>()->title(),
                            Get<QAbstractButton>(dlg, "1019")->text(), Get<QCheckBox>(dlg, "1021")->text(),
                            Get<QCheckBox>(dlg, "1022")->text()};
    EXPECT_EQ(texts.join('|').toStdString(),
              "|Źródło danych - oscyloskop|Ustawienia|Wykres 1  z kanału|Wykres 2  z kanału");
    const char* const controls = "1019 1021 1023 1022 1024";
    EXPECT_EQ(Lists(dlg, "1023 1024"), "1 2 3 [4]|1 2 [3] 4");
    EXPECT_EQ(States(dlg, controls), "ExEoD");
    Click(dlg, "1022");
    Click(dlg, "1021");
    EXPECT_EQ(States(dlg, controls), "EoDxE");
    const AcquisitionSettings& got = dlg.Settings();

    RunSetup(dlg, [](CTransmissionDlg& t) {
        QStringList labels{t.windowTitle()};
        for (const QLabel* label : t.findChildren<QLabel*>())
            if (label->buddy()) labels << label->text() + '>' + label->buddy()->objectName();
        EXPECT_EQ(labels.join('|').toStdString(),
                  "Parametry transmisji|&Typ oscyloskopu>1006|&Prędkość transmisji>1007|P&ort>1008|"
                  "&Urządzenie>device");
        // Every registered model, the first four where Kiv.cfg expects them, then the automatic
        // choice of an SCPI family. A stored rate the model does not offer shows none.
        std::string models = "GOLDSTAR OS-3060 HAMEG 1507 [TEKTRONIX TDS224] LECROY LT224";
        for (int i = 4; i < kScopeModelCount; ++i) models += std::string(" ") + ScopeModelAt(i).name;
        models += " Automatycznie (SCPI)";
        EXPECT_EQ(Lists(t, "1006 1007 1008"), models + "|1200 2400 4800 9600|COM1 COM2 [COM3] COM4");
        Choose(t, "1006", 2);  // the model already shown: its rates apply, 19200 becomes its lowest
        EXPECT_EQ(State(t), std::tuple(2, 3, 3, "[1200] 2400 4800 9600"));
        Choose(t, "1007", 3);
        Choose(t, "1006", 3);  // LECROY LT224 offers 9600 as well
        EXPECT_EQ(State(t), std::tuple(3, 6, 3, "1200 2400 4800 [9600] 19200"));
        Choose(t, "1007", 4);
        Choose(t, "1006", 1);  // HAMEG 1507 has 19200 too
        EXPECT_EQ(State(t), std::tuple(1, 7, 3, "300 600 1200 2400 4800 9600 [19200]"));
        Choose(t, "1007", 1);
        Choose(t, "1006", 0);  // GOLDSTAR OS-3060: 600 too
        Choose(t, "1008", 3);
        EXPECT_EQ(State(t), std::tuple(0, 2, 4, "300 [600] 1200 2400 4800 9600"));
        Click(t, "IDCANCEL");
    });
    // Taken over: two channels now, and channels 4 and 3 become the last one, shown and stored.
    EXPECT_EQ(std::tuple(got.nInstrument, got.nBaud, got.nPort, dlg.ChannelCount(), dlg.isVisible()),
              std::tuple(0, 2, 4, 2, true));
    EXPECT_EQ(Lists(dlg, "1023 1024"), "1 [2]|1 [2]");
    EXPECT_EQ(std::tuple(int(got.nPlot1Channel), int(got.nPlot2Channel)), std::tuple(2, 2));
    Choose(dlg, "1024", 0);
    RunSetup(dlg, [](CTransmissionDlg& t) {
        Choose(t, "1006", 2);  // four channels again; 600 is just below the TDS224's rates
        EXPECT_EQ(State(t), std::tuple(2, 3, 4, "[1200] 2400 4800 9600"));
        Click(t, "IDOK");
    });
    EXPECT_EQ(Lists(dlg, "1023 1024"), "1 [2] 3 4|[1] 2 3 4");  // channels within the count stay
    Click(dlg, "IDOK");
    EXPECT_EQ(std::tuple(dlg.result(), got.bPlot2, got.bPlot1, got.nChannels, got.nPlot1Channel, got.nPlot2Channel,
                         got.nInstrument, got.nBaud, got.nPort),
              std::tuple(int(QDialog::Accepted), 1u, 0u, 9, 2, 1, 2, 3, 4));

    // A channel the model lacks selects nothing on opening.
    CSourceDlg narrow(AcquisitionSettings{1, 0, 2, 4, 3, 1, 6, 1});
    EXPECT_EQ(Lists(narrow, "1023 1024"), "1 2|1 2");
    EXPECT_EQ(States(narrow, controls), "EoDxE");
}

// The device field keeps one device per COM number in the user's settings, however the dialog
// closes; a new start finds it there, and KIV_COMn still goes first.
TEST(AcquisitionDialogs, DeviceFieldKeepsADevicePerComNumber) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(TestDir("devices")));
    unsetenv("KIV_COM2");
    unsetenv("KIV_COM3");
    const std::string link = TestDir("devices-sim") + "/ttySIM";
    {
        CTransmissionDlg t(2, 6, 2);
        auto* device = Get<QComboBox>(t, "device");
        EXPECT_EQ(device->lineEdit()->placeholderText(), "/dev/ttyS1");  // what COM2 opens by default
        device->setEditText(QString::fromStdString(link));
        Choose(t, "1008", 2);  // COM3 shows its own (none); COM2 keeps the typed path
        EXPECT_EQ(device->currentText(), "");
        EXPECT_EQ(device->lineEdit()->placeholderText(), "/dev/ttyS2");
        Click(t, "IDCANCEL");
    }
    EXPECT_EQ(ResolvePortDevice(2), link);
    EXPECT_EQ(ResolvePortDevice(3), "/dev/ttyS2");
    RememberPortDevice(2, "");  // as at a new start: only the settings know it
    CPortSettings::Load();
    EXPECT_EQ(ResolvePortDevice(2), link);
    CTransmissionDlg again(2, 6, 2);
    auto* device = Get<QComboBox>(again, "device");
    EXPECT_EQ(device->currentText().toStdString(), link);
    EXPECT_GE(device->findData(QString::fromStdString(link)), 0);  // listed although no search finds it
    setenv("KIV_COM2", "/tmp/from-env", 1);
    EXPECT_EQ(ResolvePortDevice(2), "/tmp/from-env");
    unsetenv("KIV_COM2");
    device->setEditText("");
    Click(again, "IDOK");  // an empty field forgets the device
    EXPECT_EQ(ResolvePortDevice(2), "/dev/ttyS1");
    EXPECT_EQ(CPortSettings::Remembered(2), "");
}

// "Sprawdź połączenie" asks the device in the field with the chosen model's first request.
TEST(AcquisitionDialogs, ProbeOfTheChosenDevice) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(TestDir("probe")));
    const std::string dir = TestDir("probe-sim");
    Simulator sim(dir, {}, "tds224");
    ASSERT_TRUE(sim.Ready());
    unsetenv("KIV_COM2");  // the field alone names the device
    CTransmissionDlg t(2, 6, 2);
    Get<QComboBox>(t, "device")->setEditText(QString::fromStdString(dir + "/ttySIM"));
    Click(t, "probe");
    EXPECT_EQ(Get<QLabel>(t, "probeResult")->text(), "Oscyloskop odpowiada jako TEKTRONIX TDS224.");
    Choose(t, "1006", 3);
    Click(t, "probe");
    EXPECT_EQ(Get<QLabel>(t, "probeResult")->text().toStdString(),
              "Brak odpowiedzi (LECROY LT224): sprawdź kabel, zasilanie, port i prędkość transmisji.");
    EXPECT_TRUE(t.isEnabled());
}
