#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

template <class T = int32_t>
T At(const std::vector<uint8_t>& b, size_t at) {
    T v;
    std::memcpy(&v, &b[at], sizeof v);
    return v;
}

}  // namespace

TEST(KivDoc, NewDocumentIsTwentyNineBytes) {
    const std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x0F, 0, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(CKivDoc().SaveToBytes(), expected);
}

TEST(KivDoc, BlocksByteForByteAndRoundTrip) {
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    host.view.white = 1;
    CDataSrc& s = doc.Source();
    FillPlot(s, 1, [](int i) { return i == 5 ? -27 : i % 256; }, {-2, 's', 2.5}, {-1, 'V', 20.0});
    FillPlot(s, 2, [](int) { return 42; });
    s.m_nEnabled = 2;  // plot 1 holds data but is off
    s.m_bOffset1 = 1, s.m_nOffset1 = -7, s.m_bInvert1 = 1, s.m_bMultiplier1 = 1, s.m_fMultiplier1 = 2.0f;
    doc.DataChanged();
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    m->ZoomTo(400, 20, 2400, 180);
    doc.m_currentMode = kModeFourier;
    doc.m_nCursor1 = 12;
    doc.GetCurrentMode()->GetDisplaySamples(1);  // stored ready: opening computes the spectrum again

    const std::vector<uint8_t> b = doc.SaveToBytes();
    ASSERT_EQ(b.size(), 20u + 2 + 2 * 4056 + 25 + 5 + 25);
    // Mode, cursor, the view's white background, present and enabled bits.
    EXPECT_EQ(std::tuple(At(b, 0), At(b, 4), At(b, 16), b[20], b[21]), std::tuple(6, 12, 1, 3, 2));
    const size_t p = 22;  // RGB(50, 150, 255) with red in the low byte
    EXPECT_EQ(std::tuple(At(b, p), At(b, p + 4), At<double>(b, p + 8), At(b, p + 16), At(b, p + 20),
                         At<double>(b, p + 24), At(b, p + 32)),
              std::tuple(0x00FF9632, -2, 2.5, int('s'), -1, 20.0, int('V')));
    // Invert, multiplier flag and value, then the offset flag again (not the multiplier's).
    EXPECT_EQ(std::tuple(At(b, p + 36), At(b, p + 40), At<float>(b, p + 44), At(b, p + 48), At(b, p + 52)),
              std::tuple(1, 1, 2.0f, 1, -7));
    EXPECT_EQ(std::tuple(b[p + 56 + 5], b[p + 56 + 300], At(b, p + 4056), b[p + 4056 + 56]),
              std::tuple(0xE5, 300 % 256, 0x008000FF, 42));
    // Mode 0 computed: ready, window (bottom 200 * 180 * 0.005f = 179.999996: 179), colours;
    // mode 1 not: one byte.
    const size_t mb = 22 + 2 * 4056;
    EXPECT_EQ(std::tuple(b[mb], At(b, mb + 1), At(b, mb + 9), At(b, mb + 13), At(b, mb + 17), b[mb + 25]),
              std::tuple(1, 400, 2400, 179, 0x00FF9632, 0));

    // The file holds exactly these bytes and loads back to them: codes widened unsigned,
    // plot 1 still off, multiplier kept but its flag lost, display codes rebuilt. Nothing
    // but the document is left in the folder.
    const std::string path = TestDir("kivdoc_blocks") + "/a.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(FileBytes(path), b);
    CKivDoc back(host.Platform());
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.SaveToBytes(), b);
    const CDataSrc& t = back.Source();
    EXPECT_EQ(std::tuple(t.m_nRaw1[5], t.m_nEnabled, t.m_bMultiplier1, t.m_fMultiplier1, t.m_nOffset1, t.m_nShown1[0]),
              std::tuple(229, 2, 0, 2.0f, -7, 42));
    EXPECT_EQ(back.m_modes[kModeOriginal]->m_nDisp1[0], 26);  // plot 2's 42 in the window 21..180
    int32_t c, w;
    back.GetViewFlags(c, w);
    EXPECT_EQ(std::pair(back.m_currentMode, w), std::pair(6, 1));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()), {}), 1);
}

// Which commands are enabled is the shell's test; here what they do to the document.
TEST(KivDoc, ModeCommandsAndPlotToggles) {
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    const int ids[] = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_XY,
                       ID_MODE_SUM,      ID_MODE_PRODUCT,    ID_MODE_FOURIER,  32772};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(CKivDoc::ModeIndexOfCommand(ids[k]), k < 7 ? k : -1);

    // Switching modes computes nothing and keeps each mode's zoom.
    FillPlot(doc.Source(), 1, [](int) { return 130; });
    FillPlot(doc.Source(), 2, [](int) { return 70; });
    CData* orig = doc.GetCurrentMode();
    orig->GetDisplaySamples(1);
    orig->ZoomTo(0, 0, 2000, 100);
    doc.OnModeCommand(ID_MODE_SUM);
    EXPECT_EQ(doc.m_currentMode, kModeSum);
    EXPECT_EQ(doc.m_modes[kModeSum]->m_bReady, 0);
    doc.OnModeCommand(ID_MODE_ORIGINAL);
    EXPECT_TRUE(orig->IsZoomed());

    // A toggle flips the bit, clears every ready flag and redraws; what is on is kept in
    // the file, so the document is modified.
    const int redraws = host.view.redraws;
    doc.OnPlotToggle(ID_PLOT2_TOGGLE);
    EXPECT_EQ(doc.Source().m_nEnabled, 1);
    EXPECT_EQ(orig->m_bReady, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(host.view.redraws, redraws);
}
