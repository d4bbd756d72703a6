// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSettings>
#include <QTreeWidget>
#include <set>

#include "analysis/Generator.h"
#include "analysis/ui/CMeasurePanel.h"
#include "analysis/ui/CMeasureSelectDlg.h"
#include "app/CommandIds.h"
#include "qtcore/UserSettings.h"
#include "support/TestFiles.h"
#include "support/ViewFixture.h"

namespace {

constexpr QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kGrid = qRgb(80, 80, 80);

// Enabled, checked.
std::pair<bool, bool> Update(CViewCommands& commands, int id) {
    CmdState s{true, true};  // the rule must set both
    EXPECT_TRUE(commands.OnUpdateCommand(id, s)) << id;
    return {s.enabled, s.checked};
}

std::tuple<int, int, int, int> Flags(const CKivView& v) {
    return {v.RedrawPending(), v.WhiteBackground(), v.CursorsShown(), v.OffsetCursorShown()};
}

int Codes(int i) { return 100 + i % 50; }

// Each box with whether the picture was there when it came.
struct CBoxesAfterPicture : IMessages {
    MsgResult Show(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
        shown.push_back(text + (view->BackBitmap() ? "after" : "during"));
        return MsgResult::Ok;
    }
    const CKivView* view = nullptr;
    std::vector<std::string> shown;
};

}  // namespace

TEST(ViewCommands, StartValuesAndStoredFlags) {
    CKivDoc doc;
    {
        CKivView view(&doc);
    CViewCommands commands(view);
        EXPECT_EQ(Flags(view), std::tuple(1, 0, 0, 0));
        view.SetWhiteBackground(true), view.SetOffsetCursorShown(true);
        // The view's block at offset 12: cursors shown, then white background.
        const std::vector<uint8_t> bytes = doc.SaveToBytes();
        ASSERT_GE(bytes.size(), 20u);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 12, bytes.begin() + 20),
                  (std::vector<uint8_t>{0, 0, 0, 0, 1, 0, 0, 0}));
        view.UpdatePicture();
        doc.SetViewFlags(1, 0);  // as loading does: the flags only, no render asked for
        EXPECT_EQ(Flags(view), std::tuple(0, 0, 1, 1));
    }
    // A new view takes the document's stored flags; the offset cursor is not stored.
    doc.SetViewFlags(1, 1);
    CKivView again(&doc);
    EXPECT_EQ(Flags(again), std::tuple(1, 1, 1, 0));
}

TEST_F(ViewMouse, CursorWhiteBackgroundAndOffsetCursorRules) {
    // The cursors are drawn over the picture: no new render.
    for (int id : {ID_CURSOR, ID_OFFSET_CURSOR}) {
        EXPECT_TRUE(commands.OnCommand(id)) << id;
        EXPECT_EQ(Update(commands, id), std::pair(true, true)) << id;
    }
    EXPECT_EQ(Flags(view), std::tuple(0, 0, 1, 1));

    FillPlot(doc.Source(), 2, [](int i) { return i % 200; });
    for (int id : {ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_FOURIER, ID_MODE_XY, ID_MODE_SUM, ID_MODE_PRODUCT}) {
        view.UpdatePicture();
        EXPECT_TRUE(commands.OnCommand(id)) << id;
        EXPECT_EQ(view.RedrawPending(), 1) << id;  // the document asks for a new picture
        EXPECT_EQ(Update(commands, ID_OFFSET_CURSOR), std::pair(false, false)) << id;
        EXPECT_EQ(Update(commands, ID_CURSOR).first, id != ID_MODE_XY) << id;
    }
    // The plain picture brings the offset cursor back checked, but not when zoomed.
    commands.OnCommand(ID_MODE_ORIGINAL);
    EXPECT_EQ(Update(commands, ID_OFFSET_CURSOR), std::pair(true, true));
    doc.GetCurrentMode()->GetDisplaySamples(1);
    doc.GetCurrentMode()->ZoomTo(0, 0, 2000, 100);
    EXPECT_EQ(Update(commands, ID_OFFSET_CURSOR), std::pair(false, false));

    // "Białe tło" re-renders.
    view.UpdatePicture();
    EXPECT_TRUE(commands.OnCommand(ID_WHITE_BACKGROUND));
    ASSERT_TRUE(view.UpdatePicture());
    EXPECT_EQ(view.BackBitmap()->pixel(0, 0), kWhite);
}

// "Pomiary": the panel is the user's choice, kept for the next window; it follows every frame
// (a cursor drag, a mode) without taking the focus, and copies as tab-separated text.
TEST_F(ViewMouse, MeasurementsPanelFollowsEachFrame) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(TestDir("measure")));
    view.setFocus();
    QWidget* focus = QApplication::focusWidget();
    if (view.Measurements().IsOn()) commands.OnCommand(ID_MEASUREMENTS);
    EXPECT_TRUE(commands.OnCommand(ID_MEASUREMENTS));
    EXPECT_EQ(Update(commands, ID_MEASUREMENTS), std::pair(true, true));
    commands.OnCommand(ID_CURSOR);
    doc.m_nCursor1 = 0, doc.m_nCursor2 = kSamples;
    view.ScreenPicture();
    CMeasurePanel* panel = view.Measurements().Panel();
    ASSERT_TRUE(panel);
    auto row = [&](const char* label) {
        for (const QString& line : panel->TableText().split('\n'))
            if (line.startsWith(QString::fromUtf8(label) + '\t')) return line.section('\t', 1).toStdString();
        return std::string("none");
    };
    // -1 V up to sample 1999, +1 V from 2000 on: one rising edge, so no period.
    EXPECT_EQ(std::tuple(row("Maksimum"), row("Okres"), row("Czas narastania")), std::tuple("1.00 V", "—", "800us"));
    // Cursor 2 dragged to a quarter of the plot: only the low part is measured.
    Drag(60 + view.Cursors().m_nCursorPix2, 300, 60 + 180, 300);
    EXPECT_EQ(doc.m_nCursor2, 1000);
    view.ScreenPicture();
    EXPECT_EQ(row("Maksimum"), "-1.00 V");
    commands.OnCommand(ID_MODE_FOURIER);
    view.ScreenPicture();
    // The spectrum's rows only; the DC term is the signed mean of the 1000 samples.
    EXPECT_EQ(std::tuple(row("Maksimum"), row("Składowa stała")), std::tuple("none", "-1.00 V"));
    commands.OnCommand(ID_MODE_ORIGINAL);
    view.ScreenPicture();
    EXPECT_EQ(row("Maksimum"), "-1.00 V");
    panel->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), panel->TableText());
    EXPECT_EQ(panel->TableText().section('\n', 0, 0), "\tWykres 1");
    EXPECT_EQ(QApplication::focusWidget(), focus);

    CKivView other(&doc);
    EXPECT_TRUE(other.Measurements().IsOn());
    // Taken down, the panel leaves the picture and the cursors as they are without it (the
    // read-out panels are widgets of their own).
    auto screen = [&] {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image, {}, {}, QWidget::DrawWindowBackground);
        return image;
    };
    auto fresh = [&] { return view.ScreenPicture().copy(QRect(QPoint(), view.viewport()->size())); };
    // Frame by frame the kept frame is patched only where it changed (figures, a cursor under
    // the panel, which cursor 2 at the plot's right end is): it shows what a fresh picture shows.
    doc.m_nCursor2 = kSamples;
    Send(QEvent::MouseButtonPress, 60 + view.Cursors().m_nCursorPix1, 300);
    for (const int x : {300, 330, 700, 779, 200, 90, 450, 610, 260}) {
        Send(QEvent::MouseMove, x, 300);
        const QImage shown = screen();  // before a fresh picture, which marks the cursors for repair
        EXPECT_EQ(shown, fresh()) << x;
    }
    Send(QEvent::MouseButtonRelease, 200, 300, Qt::NoButton);
    view.SetRedraw(), view.UpdatePicture();  // a new picture: the kept frame is copied afresh
    QImage shown = screen();
    EXPECT_EQ(shown, fresh());
    commands.OnCommand(ID_MEASUREMENTS);
    shown = screen();
    EXPECT_EQ(shown, fresh());
    EXPECT_FALSE(view.Measurements().Panel());
    EXPECT_FALSE(KivUserSettings()->value("Widok/Pomiary").toBool());
}

// The rows are the user's choice ("Wybierz pomiary…", groups checked as a whole, "Domyślne"),
// kept for the next window; while the panel is on each generator run is a record of the
// statistics, which "Zeruj statystyki" starts again.
TEST_F(ViewMouse, MeasurementsChoiceAndStatistics) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(TestDir("measure_choice")));
    KivUserSettings()->clear();
    CMeasureItem& item = view.Measurements();
    GeneratorParams p;
    p.m_nKind = kGenConstant, p.m_nTarget = 1;
    p.m_dAmplitude = 9;
    doc.OnGenerate(&p);  // the panel is off: no record
    Run(ID_MEASURE_CHOOSE, [&](QDialog& d) {
        auto& dlg = static_cast<CMeasureSelectDlg&>(d);
        EXPECT_EQ(dlg.Chosen(), DefaultMeasurements());
        QTreeWidgetItem* time = dlg.List()->topLevelItem(1);
        time->setCheckState(0, Qt::Unchecked);  // the whole group
        MeasureSet expected = DefaultMeasurements();
        for (MeasureId id : {kMeasPeriod, kMeasFrequency, kMeasDuty, kMeasRise, kMeasFall}) expected.reset(id);
        EXPECT_EQ(dlg.Chosen(), expected);
        Click(d, "defaults");
        EXPECT_EQ(dlg.Chosen(), DefaultMeasurements());
        MeasureSet two;
        dlg.SetChosen(two.set(kMeasMax).set(kMeasDelayRise));
        Click(d, "IDOK");
    });
    ASSERT_TRUE(item.IsOn());  // choosing shows the panel
    EXPECT_EQ(KivUserSettings()->value("Widok/PomiaryWybrane").toStringList(), QStringList({"max", "delay_rise"}));
    view.ScreenPicture();
    EXPECT_EQ(item.Panel()->TableText(), "\tWykres 1\nMaksimum\t9.00 V\n");  // one plot: no delay

    EXPECT_EQ(Update(commands, ID_MEASURE_STATISTICS), std::pair(true, false));
    commands.OnCommand(ID_MEASURE_STATISTICS);
    for (double amplitude : {1.0, 2.0, 4.0}) {
        p.m_dAmplitude = amplitude;
        doc.OnGenerate(&p);
    }
    view.ScreenPicture();
    EXPECT_EQ(item.Panel()->TableText(),
              "\tBieżąca\tŚrednia\tMin\tMaks\tσ\tn\nMaksimum\t4.00 V\t2.33 V\t1.00 V\t4.00 V\t1.53 V\t3\n");
    EXPECT_EQ(Update(commands, ID_MEASURE_RESET), std::pair(true, false));
    commands.OnCommand(ID_MEASURE_RESET);
    view.ScreenPicture();
    EXPECT_EQ(item.Panel()->TableText().section('\n', 1, 1), "Maksimum\t4.00 V\t—\t—\t—\t—\t0");
    commands.OnCommand(ID_MEASURE_STATISTICS);
    EXPECT_FALSE(item.StatisticsShown());
}

// A paint only copies the picture; the render waits for the event loop and takes the
// window's size, at least 400 x 200. The scroll bars cover 400 x 200 for a window 100
// pixels narrower than it is. The clipboard and the picture export get the 800 x 600
// picture with the screen's background, and the window renders at its own size again.
TEST_F(ViewDialogs, WindowClipboardAndExportPictures) {
    FillPlot(doc.Source(), 1, Codes);
    view.resize(300, 100);
    view.OnInitialUpdate();
    QImage screen(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&screen);
    EXPECT_EQ(view.BackBitmap(), nullptr);
    QCoreApplication::processEvents();
    ASSERT_NE(view.BackBitmap(), nullptr);
    EXPECT_EQ(view.BackBitmap()->size(), QSize(400, 200));
    view.viewport()->render(&screen);
    EXPECT_EQ(screen.pixel(60, 20), kGrid);  // copied at (0, 0)
    view.resize(450, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.BackBitmap()->size(), QSize(view.viewport()->width(), 200));
    EXPECT_EQ(std::pair(view.horizontalScrollBar()->maximum(), view.verticalScrollBar()->maximum()),
              std::pair(500 - view.viewport()->width(), 200 - view.viewport()->height()));

    for (const int white : {0, 1}) {
        view.SetWhiteBackground(white);
        view.UpdatePicture();
        EXPECT_TRUE(commands.OnCommand(ID_EDIT_COPY));
        const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(copied.size(), QSize(800, 600));
        EXPECT_EQ(copied.pixel(0, 0), white ? kWhite : kBlack);
        EXPECT_EQ(copied.pixel(780, 549), kGrid);
        EXPECT_EQ(view.RedrawPending(), 1);
    }
    // Labels are not antialiased: only the drawn colours occur, which the export's
    // 256-entry palette relies on.
    view.SetWhiteBackground(false), view.UpdatePicture();
    const RgbPicture picture = view.RenderExportPicture();
    EXPECT_EQ(picture.pixels.at(549 * 800 + 780), 0x505050u);
    EXPECT_EQ(std::set<uint32_t>(picture.pixels.begin(), picture.pixels.end()),
              (std::set<uint32_t>{0x000000u, 0x505050u, 0x3296FFu}));
}

// A stale mode asked for labels and curves complains each time; its box comes once per
// render, after the picture is made, and a paint only copies.
TEST(ViewCommands, MessagesOfARenderComeAfterIt) {
    CBoxesAfterPicture boxes;
    CKivDoc doc(CPlatform{&boxes, nullptr});
    FillPlot(doc.Source(), 1, Codes);
    doc.m_nCursor1 = doc.m_nCursor2 = 2000;
    CKivView view(&doc);
    CViewCommands commands(view);
    boxes.view = &view;
    commands.OnCommand(ID_MODE_FOURIER);
    ASSERT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(view.UpdatePicture());
    const std::vector<std::string> once = {"Kursory pokrywanją się. Zmień pozycję kursorów after"};
    EXPECT_EQ(boxes.shown, once);
    QImage screen(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&screen);
    EXPECT_EQ(boxes.shown, once);
}
