#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <tuple>

#include "acquisition/ui/CSourceDlg.h"
#include "acquisition/ui/CTransmissionDlg.h"
#include "support/DialogControls.h"

namespace {

void Choose(QWidget& dlg, const char* name, int index) { Get<QComboBox>(dlg, name)->setCurrentIndex(index); }

// Entries and selection, "1200 2400 [4800] 9600"; several lists are joined with "|".
QString Lists(QWidget& dlg, const char* ids) {
    QStringList lists;
    for (const QString& id : QString(ids).split(' ')) {
        const QComboBox* list = Get<QComboBox>(dlg, id);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << (i == list->currentIndex() ? '[' + list->itemText(i) + ']' : list->itemText(i));
        lists << items.join(' ');
    }
    return lists.join('|');
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

TEST(AcquisitionDialogs, Transmission) {
    CTransmissionDlg dlg(2, 7, 3);  // TEKTRONIX TDS224, 9600, COM3
    dlg.show();
    QStringList labels{dlg.windowTitle()};
    for (const QLabel* label : dlg.findChildren<QLabel*>())
        labels << label->text() + '>' + label->buddy()->objectName();
    EXPECT_EQ(labels.join('|'),
              QString::fromUtf8("Parametry transmisji|&Typ oscyloskopu>1006|&Prędkość transmisji>1007|P&ort>1008"));
    EXPECT_EQ(Lists(dlg, "1006 1007 1008"), "GOLDSTAR OS-3060 HAMEG 1507 [TEKTRONIX TDS224] LECROY LT224|"
                                            "1200 2400 4800 [9600]|COM1 COM2 [COM3] COM4");

    auto state = [&] { return std::tuple(dlg.Instrument(), dlg.BaudIndex(), dlg.Port(), Lists(dlg, "1007")); };
    Choose(dlg, "1006", 3);  // LECROY LT224 offers 9600 as well
    EXPECT_EQ(state(), std::tuple(3, 7, 3, QString("1200 2400 4800 [9600] 19200")));
    Choose(dlg, "1007", 4);
    Choose(dlg, "1006", 1);  // HAMEG 1507 has 19200 too
    EXPECT_EQ(state(), std::tuple(1, 8, 3, QString("300 600 1200 2400 4800 9600 [19200]")));
    Choose(dlg, "1006", 2);  // the TDS224 has no 19200: its lowest rate
    EXPECT_EQ(state(), std::tuple(2, 4, 3, QString("[1200] 2400 4800 9600")));
    Choose(dlg, "1006", 0);
    Choose(dlg, "1007", 1);
    EXPECT_EQ(state(), std::tuple(0, 3, 3, QString("300 [600] 1200 2400 4800 9600")));
    Choose(dlg, "1006", 2);  // 600 is just below the TDS224's rates
    Choose(dlg, "1008", 0);
    Click(dlg, "IDCANCEL");  // keeps the choices
    EXPECT_EQ(std::tuple(dlg.result(), dlg.Instrument(), dlg.BaudIndex(), dlg.Port()),
              std::tuple(int(QDialog::Rejected), 2, 4, 1));
}

TEST(AcquisitionDialogs, Source) {
    AcquisitionSettings given{0, 1, 9, 4, 3, 3, 8, 2};  // plot 2 off; LECROY LT224, 19200, COM2
    CSourceDlg dlg(given);
    dlg.show();
    EXPECT_EQ(std::tuple(dlg.windowTitle(), dlg.findChild<QGroupBox*>()->title(),
                         Get<QAbstractButton>(dlg, "1019")->text(), Get<QCheckBox>(dlg, "1021")->text(),
                         Get<QCheckBox>(dlg, "1022")->text()),
              std::tuple(QString(), QString::fromUtf8("Źródło danych - oscyloskop"), QString("Ustawienia"),
                         QString::fromUtf8("Wykres 1  z kanału"), QString::fromUtf8("Wykres 2  z kanału")));
    const char* const controls = "1019 1021 1023 1022 1024";
    EXPECT_EQ(std::pair(Lists(dlg, "1023 1024"), States(dlg, controls)),
              std::pair(QString("1 2 3 [4]|1 2 [3] 4"), QString("ExEoD")));
    Click(dlg, "1022");
    Click(dlg, "1021");
    EXPECT_EQ(States(dlg, controls), "EoDxE");
    const AcquisitionSettings& got = dlg.Settings();
    EXPECT_EQ(std::pair(got.bPlot1, got.bPlot2), std::pair(0u, 1u));

    // Cancelled, yet taken over: two channels now; the lists show their last entry, the
    // stored channels stay until the user chooses.
    RunSetup(dlg, [](CTransmissionDlg& t) {
        Choose(t, "1006", 0);  // GOLDSTAR OS-3060: no 19200, so 300
        Choose(t, "1008", 3);
        Click(t, "IDCANCEL");
    });
    EXPECT_EQ(std::tuple(got.nInstrument, got.nBaudIndex, got.nPort, dlg.ChannelCount(), dlg.isVisible()),
              std::tuple(0, 2, 4, 2, true));
    EXPECT_EQ(std::tuple(Lists(dlg, "1023 1024"), got.nPlot1Channel, got.nPlot2Channel),
              std::tuple(QString("1 [2]|1 [2]"), 4, 3));
    Choose(dlg, "1024", 0);
    RunSetup(dlg, [](CTransmissionDlg& t) {
        Choose(t, "1006", 2);  // four channels again; 300 becomes 1200
        Click(t, "IDOK");
    });
    EXPECT_EQ(Lists(dlg, "1023 1024"), "1 [2] 3 4|[1] 2 3 4");
    Click(dlg, "IDOK");
    EXPECT_EQ(std::tuple(dlg.result(), got.bPlot2, got.bPlot1, got.nChannels, got.nPlot1Channel, got.nPlot2Channel,
                         got.nInstrument, got.nBaudIndex, got.nPort),
              std::tuple(int(QDialog::Accepted), 1u, 0u, 9, 4, 1, 2, 4, 4));

    // A channel the model lacks selects nothing.
    CSourceDlg narrow(AcquisitionSettings{1, 0, 2, 4, 3, 1, 7, 1});
    EXPECT_EQ(std::pair(Lists(narrow, "1023 1024"), States(narrow, controls)),
              std::pair(QString("1 2|1 2"), QString("EoDxE")));
}
