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

TEST(KivDoc, PlotBlocksByteForByte) {
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    host.view.white = 1;
    CDataSrc& s = doc.Source();
    FillPlot(s, 1, [](int i) { return i == 5 ? -27 : i % 256; }, {-2, 's', 2.5}, {-1, 'V', 20.0});
    FillPlot(s, 2, [](int) { return 42; });
    s.m_nEnabled = 2;  // plot 1 holds data but is off
    s.m_bOffset1 = 1, s.m_nOffset1 = -7, s.m_bInvert1 = 1, s.m_bMultiplier1 = 1, s.m_fMultiplier1 = 2.0f;
    doc.m_currentMode = kModeFourier;
    doc.m_nCursor1 = 12;

    const std::vector<uint8_t> b = doc.SaveToBytes();
    ASSERT_EQ(b.size(), 20u + 2 + 2 * 4056 + 7);
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

    // Reloaded: codes widened unsigned, plot 1 still off, multiplier kept but its flag lost,
    // shown codes rebuilt.
    const std::string path = TestDir("kivdoc_blocks") + "/a.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CKivDoc back(host.Platform());
    ASSERT_TRUE(back.OnOpenDocument(path));
    const CDataSrc& t = back.Source();
    EXPECT_EQ(std::tuple(t.m_nRaw1[5], t.m_nEnabled, t.m_bMultiplier1, t.m_fMultiplier1, t.m_nOffset1, t.m_nShown1[0]),
              std::tuple(229, 2, 0, 2.0f, -7, 42));
    int32_t c, w;
    back.GetViewFlags(c, w);
    EXPECT_EQ(std::pair(back.m_currentMode, w), std::pair(6, 1));
}

TEST(KivDoc, ModeBlocksAndRoundTrip) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 50 + i % 100; });
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    m->ZoomTo(400, 20, 2400, 180);
    const std::vector<uint8_t> b = doc.SaveToBytes();
    ASSERT_EQ(b.size(), 22u + 4056 + 25 + 6);
    const size_t mb = 22 + 4056;
    EXPECT_EQ(std::tuple(b[mb], At(b, mb + 1), At(b, mb + 9), At(b, mb + 13), At(b, mb + 17), b[mb + 25]),
              std::tuple(1, 400, 2400, Trunc(MulF(200.0 * 180, 0.005f)), int32_t(RGB(50, 150, 255)), 0));

    // The file holds exactly these bytes and loads back to them; plot 2's colour is not
    // stored and the display codes are rebuilt.
    const std::string path = TestDir("kivdoc_roundtrip") + "/r.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(FileBytes(path), b);
    CKivDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.SaveToBytes(), b);
    EXPECT_EQ(back.Source().m_crColour2, RGB(255, 0, 128));
    EXPECT_EQ(back.GetCurrentMode()->m_nDisp1[0], m->m_nDisp1[0]);
    // Nothing but the document is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()), {}), 1);
}

TEST(KivDoc, ModeCommandsAndPlotToggles) {
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    const int ids[] = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_XY,
                       ID_MODE_SUM,      ID_MODE_PRODUCT,    ID_MODE_FOURIER};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(CKivDoc::ModeIndexOfCommand(ids[k]), k);
    EXPECT_EQ(CKivDoc::ModeIndexOfCommand(32772), -1);

    // New document: only the check mark, everything grey.
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_ORIGINAL).checked);
    for (int id : ids) EXPECT_FALSE(doc.OnUpdateModeCommand(id).enabled);
    EXPECT_FALSE(doc.OnUpdatePlotToggle(ID_PLOT1_TOGGLE).enabled);

    FillPlot(doc.Source(), 1, [](int) { return 130; });
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_FOURIER).enabled && !doc.OnUpdateModeCommand(ID_MODE_XY).enabled);
    FillPlot(doc.Source(), 2, [](int) { return 70; });
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_XY).enabled && !doc.OnUpdateModeCommand(12345).enabled);

    // Switching modes computes nothing and keeps each mode's zoom.
    CData* orig = doc.GetCurrentMode();
    orig->GetDisplaySamples(1);
    orig->ZoomTo(0, 0, 2000, 100);
    doc.OnModeCommand(ID_MODE_SUM);
    EXPECT_TRUE(doc.m_currentMode == kModeSum && doc.OnUpdateModeCommand(ID_MODE_SUM).checked);
    doc.OnModeCommand(ID_MODE_ORIGINAL);
    EXPECT_TRUE(orig->IsZoomed());
    EXPECT_GE(host.view.redraws, 2);

    // A toggle flips the bit, clears every ready flag, keeps the modified flag.
    const int redraws = host.view.redraws;
    doc.OnPlotToggle(ID_PLOT2_TOGGLE);
    EXPECT_TRUE(doc.Source().m_nEnabled == 1 && orig->m_bReady == 0 && !doc.IsModified());
    EXPECT_GT(host.view.redraws, redraws);
    const CmdState t2 = doc.OnUpdatePlotToggle(ID_PLOT2_TOGGLE);
    EXPECT_TRUE(t2.enabled && !t2.checked && doc.OnUpdatePlotToggle(ID_PLOT1_TOGGLE).checked);
    EXPECT_FALSE(doc.OnUpdateModeCommand(ID_MODE_XY).enabled);
}
