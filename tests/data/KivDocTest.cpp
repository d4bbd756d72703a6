#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

int32_t I32(const std::vector<uint8_t>& b, size_t at) {
    int32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
}
double F64(const std::vector<uint8_t>& b, size_t at) {
    double v;
    std::memcpy(&v, &b[at], 8);
    return v;
}
float F32(const std::vector<uint8_t>& b, size_t at) {
    float v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

}  // namespace

TEST(KivDoc, NewDocumentIsTwentyNineBytes) {
    CKivDoc doc;
    const std::vector<uint8_t> b = doc.SaveToBytes();
    const std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x0F, 0, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(b, expected);
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
    s.m_bOffset1 = 1;
    s.m_nOffset1 = -7;
    s.m_bInvert1 = 1;
    s.m_bMultiplier1 = 1;
    s.m_fMultiplier1 = 2.0f;
    doc.m_currentMode = kModeFourier;
    doc.m_nCursor1 = 12;

    const std::vector<uint8_t> b = doc.SaveToBytes();
    ASSERT_EQ(b.size(), 20u + 2 + 2 * 4056 + 7);
    EXPECT_EQ(I32(b, 0), 6);
    EXPECT_EQ(I32(b, 4), 12);
    EXPECT_EQ(I32(b, 16), 1);  // the view's white background
    EXPECT_EQ(b[20], 3);
    EXPECT_EQ(b[21], 2);
    const size_t p = 22;
    EXPECT_EQ(I32(b, p), 0x00FF9632);  // RGB(50, 150, 255), red in the low byte
    EXPECT_EQ(I32(b, p + 4), -2);
    EXPECT_DOUBLE_EQ(F64(b, p + 8), 2.5);
    EXPECT_EQ(I32(b, p + 16), 's');
    EXPECT_EQ(I32(b, p + 20), -1);
    EXPECT_DOUBLE_EQ(F64(b, p + 24), 20.0);
    EXPECT_EQ(I32(b, p + 32), 'V');
    EXPECT_EQ(I32(b, p + 36), 1);
    EXPECT_EQ(I32(b, p + 40), 1);
    EXPECT_FLOAT_EQ(F32(b, p + 44), 2.0f);
    EXPECT_EQ(I32(b, p + 48), 1);  // the offset flag again, not the multiplier flag
    EXPECT_EQ(I32(b, p + 52), -7);
    EXPECT_EQ(b[p + 56 + 5], 0xE5);
    EXPECT_EQ(b[p + 56 + 300], 300 % 256);
    EXPECT_EQ(I32(b, p + 4056), 0x008000FF);
    EXPECT_EQ(b[p + 4056 + 56], 42);

    // Reloaded: codes widened unsigned, plot 1 still off, multiplier kept but its flag lost.
    const std::string dir = TestDir("kivdoc_blocks");
    const std::string path = dir + "/a.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CKivDoc back(host.Platform());
    ASSERT_TRUE(back.OnOpenDocument(path));
    const CDataSrc& t = back.Source();
    EXPECT_EQ(t.m_nRaw1[5], 229);
    EXPECT_EQ(t.m_nEnabled, 2);
    EXPECT_EQ(t.m_bMultiplier1, 0);
    EXPECT_FLOAT_EQ(t.m_fMultiplier1, 2.0f);
    EXPECT_EQ(t.m_nOffset1, -7);
    EXPECT_EQ(t.m_nShown1[0], 42);  // rebuilt on load
    EXPECT_EQ(back.m_currentMode, 6);
    int32_t c, w;
    back.GetViewFlags(c, w);
    EXPECT_EQ(w, 1);
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
    EXPECT_EQ(b[mb], 1);
    EXPECT_EQ(I32(b, mb + 1), 400);
    EXPECT_EQ(I32(b, mb + 9), 2400);
    EXPECT_EQ(I32(b, mb + 13), Trunc(MulF(200.0 * 180, 0.005f)));
    EXPECT_EQ(I32(b, mb + 17), static_cast<int32_t>(RGB(50, 150, 255)));
    EXPECT_EQ(b[mb + 25], 0);

    const std::string path = TestDir("kivdoc_roundtrip") + "/r.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(FileBytes(path), b);
    CKivDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.SaveToBytes(), b);
    EXPECT_EQ(back.GetCurrentMode()->m_window.left, 400);
    EXPECT_EQ(back.Source().m_crColour2, RGB(255, 0, 128));  // not in the file: the new-document colour
    EXPECT_EQ(back.GetCurrentMode()->m_nDisp1[0], m->m_nDisp1[0]);
    // Nothing but the document is left in the folder.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) (void)e, ++files;
    EXPECT_EQ(files, 1);
}

TEST(KivDoc, ModeCommandsAndPlotToggles) {
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    const int ids[] = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_XY,
                       ID_MODE_SUM,      ID_MODE_PRODUCT,    ID_MODE_FOURIER};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(CKivDoc::ModeIndexOfCommand(ids[k]), k == 6 ? 6 : k);
    EXPECT_EQ(CKivDoc::ModeIndexOfCommand(32772), -1);

    // New document: only the check mark, everything grey.
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_ORIGINAL).checked);
    for (int id : ids) EXPECT_FALSE(doc.OnUpdateModeCommand(id).enabled);
    EXPECT_FALSE(doc.OnUpdatePlotToggle(ID_PLOT1_TOGGLE).enabled);

    FillPlot(doc.Source(), 1, [](int) { return 130; });
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_FOURIER).enabled);
    EXPECT_FALSE(doc.OnUpdateModeCommand(ID_MODE_XY).enabled);
    FillPlot(doc.Source(), 2, [](int) { return 70; });
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_XY).enabled);
    EXPECT_FALSE(doc.OnUpdateModeCommand(12345).enabled);

    // Switching modes computes nothing and keeps each mode's zoom.
    CData* orig = doc.GetCurrentMode();
    orig->GetDisplaySamples(1);
    orig->ZoomTo(0, 0, 2000, 100);
    doc.OnModeCommand(ID_MODE_SUM);
    EXPECT_EQ(doc.m_currentMode, kModeSum);
    EXPECT_TRUE(doc.OnUpdateModeCommand(ID_MODE_SUM).checked);
    doc.OnModeCommand(ID_MODE_ORIGINAL);
    EXPECT_TRUE(orig->IsZoomed());
    EXPECT_GE(host.view.redraws, 2);

    // A toggle flips the bit, clears every ready flag, keeps the modified flag.
    const int redraws = host.view.redraws;
    doc.OnPlotToggle(ID_PLOT2_TOGGLE);
    EXPECT_EQ(doc.Source().m_nEnabled, 1);
    EXPECT_EQ(orig->m_bReady, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GT(host.view.redraws, redraws);
    const CmdState t2 = doc.OnUpdatePlotToggle(ID_PLOT2_TOGGLE);
    EXPECT_TRUE(t2.enabled);
    EXPECT_FALSE(t2.checked);
    EXPECT_TRUE(doc.OnUpdatePlotToggle(ID_PLOT1_TOGGLE).checked);
    EXPECT_FALSE(doc.OnUpdateModeCommand(ID_MODE_XY).enabled);
}
