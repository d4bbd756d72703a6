#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <set>

#include "app/CommandIds.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "view/ui/CKivView.h"

namespace {

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kGrid = qRgb(80, 80, 80);

CmdState Update(CKivView& view, int id) {
    CmdState s;
    s.enabled = s.checked = true;  // the rule must set both
    EXPECT_TRUE(view.OnUpdateCommand(id, s)) << id;
    return s;
}

void OnePlot(CKivDoc& doc) {
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 50; });
    doc.DataChanged();
}

}  // namespace

TEST(ViewCommands, StartValuesRegistrationAndStoredFlags) {
    CKivDoc doc;
    {
        CKivView view(&doc);
        EXPECT_EQ(view.m_bRedraw, 1);
        EXPECT_EQ(view.m_bWhiteBackground, 0);
        EXPECT_EQ(view.m_bCursors, 0);
        EXPECT_EQ(view.m_bOffsetCursor, 0);
        EXPECT_EQ(doc.GetView(), &view);
        view.m_bCursors = 1;
        view.m_bWhiteBackground = 1;
        view.m_bOffsetCursor = 1;
        // Stored block after mode and cursors: m_bCursors, then m_bWhiteBackground.
        const std::vector<uint8_t> bytes = doc.SaveToBytes();
        ASSERT_GE(bytes.size(), 20u);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 12, bytes.begin() + 20),
                  (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 0, 0}));
        doc.SetViewFlags(0, 1);  // as loading does: the flags only
        EXPECT_EQ(view.m_bCursors, 0);
        EXPECT_EQ(view.m_bWhiteBackground, 1);
        EXPECT_EQ(view.m_bOffsetCursor, 1);
    }
    EXPECT_EQ(doc.GetView(), nullptr);
    // A view made for a document loaded earlier takes the flags it kept.
    doc.SetViewFlags(1, 1);
    CKivView again(&doc);
    EXPECT_EQ(again.m_bCursors, 1);
    EXPECT_EQ(again.m_bWhiteBackground, 1);
    EXPECT_EQ(again.m_bOffsetCursor, 0);
}

TEST(ViewCommands, ModesAndPlotTogglesGoToTheDocument) {
    CKivDoc doc;
    CKivView view(&doc);
    OnePlot(doc);
    view.UpdatePicture();
    ASSERT_EQ(view.m_bRedraw, 0);
    EXPECT_TRUE(Update(view, ID_MODE_ORIGINAL).checked);
    EXPECT_FALSE(Update(view, ID_MODE_XY).enabled);
    EXPECT_TRUE(Update(view, ID_MODE_FOURIER).enabled);
    EXPECT_FALSE(Update(view, ID_MODE_FOURIER).checked);

    EXPECT_TRUE(view.OnCommand(ID_MODE_DERIVATIVE));
    EXPECT_EQ(doc.m_currentMode, kModeDerivative);
    EXPECT_EQ(view.m_bRedraw, 1);
    EXPECT_TRUE(Update(view, ID_MODE_DERIVATIVE).checked);

    EXPECT_TRUE(Update(view, ID_PLOT1_TOGGLE).checked);
    EXPECT_FALSE(Update(view, ID_PLOT2_TOGGLE).enabled);  // no data in plot 2
    EXPECT_TRUE(view.OnCommand(ID_PLOT1_TOGGLE));
    EXPECT_EQ(doc.Source().m_nEnabled, 0);
    EXPECT_FALSE(Update(view, ID_PLOT1_TOGGLE).checked);
    EXPECT_FALSE(Update(view, ID_MODE_ORIGINAL).enabled);

    // Everything else is someone else's.
    CmdState s;
    for (int id : std::initializer_list<int>{ID_FILE_SAVE, ID_IMPORT, ID_EXPORT, ID_MEAN_RMS, ID_PLOT1_DATA,
                                             ID_AXIS_X_SCALE, 0}) {
        EXPECT_FALSE(view.OnCommand(id)) << id;
        EXPECT_FALSE(view.OnUpdateCommand(id, s)) << id;
    }
}

TEST(ViewCommands, CursorWhiteBackgroundAndOffsetCursorToggles) {
    CKivDoc doc;
    CKivView view(&doc);
    EXPECT_FALSE(Update(view, ID_CURSOR).enabled);  // nothing to show yet
    EXPECT_TRUE(Update(view, ID_WHITE_BACKGROUND).enabled);
    OnePlot(doc);
    view.UpdatePicture();

    // "Kursor": a flag drawn over the picture, no new render.
    EXPECT_TRUE(view.OnCommand(ID_CURSOR));
    EXPECT_EQ(view.m_bCursors, 1);
    EXPECT_EQ(view.m_bRedraw, 0);
    EXPECT_TRUE(Update(view, ID_CURSOR).checked);
    view.OnCommand(ID_MODE_FOURIER);
    EXPECT_TRUE(Update(view, ID_CURSOR).enabled);
    FillPlot(doc.Source(), 2, [](int i) { return i % 200; });
    doc.DataChanged();
    view.OnCommand(ID_MODE_XY);
    EXPECT_FALSE(Update(view, ID_CURSOR).enabled);
    EXPECT_FALSE(Update(view, ID_CURSOR).checked);

    // "Kursor przesunięcia": only the plain picture at full extent.
    view.OnCommand(ID_MODE_ORIGINAL);
    EXPECT_TRUE(Update(view, ID_OFFSET_CURSOR).enabled);
    EXPECT_TRUE(view.OnCommand(ID_OFFSET_CURSOR));
    EXPECT_TRUE(Update(view, ID_OFFSET_CURSOR).checked);
    for (int id : std::initializer_list<int>{ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_FOURIER, ID_MODE_XY,
                                             ID_MODE_SUM, ID_MODE_PRODUCT}) {
        view.OnCommand(id);
        const CmdState s = Update(view, ID_OFFSET_CURSOR);
        EXPECT_FALSE(s.enabled) << id;
        EXPECT_FALSE(s.checked) << id;
    }
    view.OnCommand(ID_MODE_ORIGINAL);
    doc.GetCurrentMode()->GetDisplaySamples(1);
    doc.GetCurrentMode()->ZoomTo(0, 0, 2000, 100);
    EXPECT_FALSE(Update(view, ID_OFFSET_CURSOR).enabled);
    doc.GetCurrentMode()->ZoomTo(5, 5, 5, 5);  // a click: back to full extent
    EXPECT_TRUE(Update(view, ID_OFFSET_CURSOR).checked);

    // "Białe tło": always there, and it re-renders.
    view.UpdatePicture();
    EXPECT_EQ(view.BackBitmap()->pixel(0, 0), kBlack);
    EXPECT_TRUE(view.OnCommand(ID_WHITE_BACKGROUND));
    EXPECT_EQ(view.m_bRedraw, 1);
    EXPECT_TRUE(Update(view, ID_WHITE_BACKGROUND).checked);
    EXPECT_TRUE(view.UpdatePicture());
    EXPECT_EQ(view.BackBitmap()->pixel(0, 0), kWhite);
}

// Paint only copies; the render waits for the event loop and takes the window's
// size, at least 400 x 200.
TEST(ViewCommands, RenderOutsidePaintAtWindowSize) {
    CKivDoc doc;
    OnePlot(doc);
    CKivView view(&doc);
    view.resize(300, 100);
    view.show();
    view.OnInitialUpdate();
    view.viewport()->repaint();
    EXPECT_EQ(view.BackBitmap(), nullptr);
    EXPECT_EQ(view.m_bRedraw, 1);
    QCoreApplication::processEvents();
    ASSERT_NE(view.BackBitmap(), nullptr);
    EXPECT_EQ(view.BackBitmap()->size(), QSize(400, 200));
    EXPECT_EQ(view.m_bRedraw, 0);

    view.resize(700, 520);
    QCoreApplication::processEvents();
    ASSERT_NE(view.BackBitmap(), nullptr);
    EXPECT_EQ(view.BackBitmap()->size(), view.viewport()->size());
    EXPECT_EQ(view.m_rcPlot.right, view.viewport()->width() - 20);
    EXPECT_EQ(view.m_rcPlot.bottom, view.viewport()->height() - 50);

    // Scroll sizes 400 x 200, the width seen 100 pixels narrower than it is.
    view.resize(450, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 500 - view.viewport()->width());
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 200 - view.viewport()->height());
}

TEST(ViewCommands, CopyPuts800x600OnTheClipboardAndReRenders) {
    CKivDoc doc;
    OnePlot(doc);
    CKivView view(&doc);
    view.resize(500, 300);
    view.UpdatePicture();
    for (int white : {0, 1}) {
        view.m_bWhiteBackground = white;
        EXPECT_TRUE(Update(view, ID_EDIT_COPY).enabled);
        EXPECT_TRUE(view.OnCommand(ID_EDIT_COPY));
        const QImage copied = QGuiApplication::clipboard()->image();
        ASSERT_EQ(copied.size(), QSize(800, 600));
        EXPECT_EQ(copied.pixel(0, 0), white ? kWhite : kBlack);
        EXPECT_EQ(copied.pixel(132, 483), kGrid);  // laid out for 800 x 600
        EXPECT_EQ(copied.pixel(780, 549), kGrid);
        EXPECT_EQ(view.BackBitmap(), nullptr);  // handed over
        EXPECT_EQ(view.m_bRedraw, 1);
        EXPECT_TRUE(view.UpdatePicture());
        EXPECT_EQ(view.BackBitmap()->width(), std::max(400, view.viewport()->width()));
    }
}

namespace {

// Stands in for a stale mode that complains each time it is asked for data, as the
// Fourier mode does while the cursors coincide.
class CComplainingMode : public CData {
public:
    using CData::CData;
    bool IsFourier() const override { return true; }
    std::vector<std::string>* events = nullptr;
    void Recalculate() override {
        events->push_back("recalculate");
        m_pDoc->Platform().Message("Kursory pokrywanją się. Zmień pozycję kursorów ", "Kiv",
                                   MsgIcon::Exclamation);
    }
};

class CWatchingMessages : public IMessages {
public:
    MsgResult Show(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
        events.push_back(text);
        return MsgResult::Ok;
    }
    std::vector<std::string> events;
};

}  // namespace

TEST(ViewCommands, MessagesOfARenderComeAfterIt) {
    CWatchingMessages messages;
    CKivDoc doc(CPlatform{&messages, nullptr});
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 50; });
    FillPlot(doc.Source(), 2, [](int i) { return 100 - i % 50; });
    auto* mode = new CComplainingMode(&doc);
    mode->events = &messages.events;
    for (int k = 0; k < kHarmonics; ++k) mode->m_nHarm1[k] = mode->m_nHarm2[k] = 0;
    delete doc.m_modes[kModeFourier];
    doc.m_modes[kModeFourier] = mode;
    doc.m_currentMode = kModeFourier;

    CKivView view(&doc);
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(view.UpdatePicture());
    // The stale mode was asked for three label columns; one box, once it was drawn.
    const std::string box = "Kursory pokrywanją się. Zmień pozycję kursorów ";
    const std::vector<std::string> once = {"recalculate", "recalculate", "recalculate", box};
    EXPECT_EQ(messages.events, once);
    EXPECT_EQ(doc.Platform().messages, &messages);
    // A paint copies the picture and says nothing; the next render says it again.
    view.viewport()->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.events.size(), 4u);
    view.SetRedraw();
    view.UpdatePicture();
    EXPECT_EQ(messages.events.size(), 8u);
}

// The picture export gets 0x00RRGGBB pixels of the 800 x 600 picture. Labels are not
// antialiased, so the picture holds only the colours drawn: the 256-entry palette
// of the export never overflows.
TEST(ViewCommands, ExportPictureIs800x600InFewColours) {
    CKivDoc doc;
    OnePlot(doc);
    CKivView view(&doc);
    view.resize(500, 300);
    const RgbPicture picture = view.RenderExportPicture();
    ASSERT_EQ(picture.width, 800);
    ASSERT_EQ(picture.height, 600);
    ASSERT_EQ(picture.pixels.size(), 800u * 600u);
    EXPECT_EQ(picture.pixels[0], 0x000000u);
    EXPECT_EQ(picture.pixels[20 * 800 + 60], 0x505050u);
    EXPECT_EQ(picture.pixels[550 * 800 + 780], 0x000000u);
    std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
    EXPECT_EQ(colours, (std::set<uint32_t>{0x000000u, 0x505050u, 0x3296FFu}));  // plot 1: (50, 150, 255)
    EXPECT_EQ(view.m_bRedraw, 1);
}
