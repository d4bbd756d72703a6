// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "acquisition/CAcquisition.h"
#include "acquisition/ui/CRunFetch.h"
#include "acquisition/ui/CScreenImageDlg.h"
#include "document/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/NetSimulator.h"
#include "support/TestFiles.h"

namespace {

// The event loop turned until done() or ms have passed; done()'s last answer.
template <class Done>
bool WaitFor(Done done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

// The simulated DS1054Z on the COM number the acquisition uses, both plots chosen; the model
// chosen, or "Automatycznie".
struct RigolBench {
    std::string dir = TestDir("live-fetch");
    NetSimulator sim{dir, "rigol-ds1000z"};
    CAcquisition acquisition{dir + "/Kiv.cfg"};
    CKivDoc doc;
    FakeMessages messages;
    CRunFetch run{acquisition, doc, {&messages, nullptr}};
    explicit RigolBench(bool automatic = false) {
        acquisition.m_bSaveOnExit = false;
        acquisition.m_settings.nInstrument =
            automatic ? kAutoInstrument : static_cast<uint8_t>(FindScopeModel("rigol-ds1000z"));
        acquisition.m_settings.nPort = 9;
        setenv("KIV_COM9", sim.Address().c_str(), 1);
    }
    ~RigolBench() { unsetenv("KIV_COM9"); }
    int Count(const std::string& request) {
        const auto r = sim.SettledRequests();
        return static_cast<int>(std::count(r.begin(), r.end(), request));
    }
};

// Records arrive one after another over one connection, each one record for the measurement
// statistics; the document is marked once, at Stop; a second run starts again with a new
// connection.
class LiveFetchModel : public testing::TestWithParam<bool> {};

TEST_P(LiveFetchModel, RunsOnOneConnectionAndMarksTheDocumentOnce) {
    RigolBench b(GetParam());
    ASSERT_TRUE(b.run.Start());
    ASSERT_TRUE(WaitFor([&] { return b.run.Updates() >= 3; }, 10000)) << b.run.Updates();
    EXPECT_FALSE(b.doc.IsModified());
    EXPECT_TRUE(b.doc.Source().m_nPresent & 3);
    b.run.Stop();
    ASSERT_TRUE(WaitFor([&] { return !b.run.IsRunning(); }, 5000));
    EXPECT_TRUE(b.doc.IsModified());
    EXPECT_EQ(b.doc.RecordCount(), static_cast<uint64_t>(b.run.Updates()));
    EXPECT_EQ(b.Count("*IDN?"), 1);
    EXPECT_GE(b.Count(":WAV:DATA?"), 6);
    EXPECT_TRUE(b.messages.boxes.empty());

    ASSERT_TRUE(b.run.Start());
    ASSERT_TRUE(WaitFor([&] { return b.run.Updates() >= 1; }, 10000));
    b.run.Stop();
    ASSERT_TRUE(WaitFor([&] { return !b.run.IsRunning(); }, 5000));
    EXPECT_EQ(b.Count("*IDN?"), 2);
}

INSTANTIATE_TEST_SUITE_P(LiveFetch, LiveFetchModel, testing::Bool());

// The instrument gone mid-run: one message naming the device, the run over.
TEST(LiveFetch, AnInstrumentGoneEndsTheRunWithOneMessage) {
    RigolBench b;
    bool ended = false;
    b.run.m_fnEnded = [&] { ended = true; };
    ASSERT_TRUE(b.run.Start());
    ASSERT_TRUE(WaitFor([&] { return b.run.Updates() >= 2; }, 10000));
    b.sim.Stop();
    ASSERT_TRUE(WaitFor([&] { return ended; }, 5000));
    EXPECT_FALSE(b.run.IsRunning());
    ASSERT_EQ(b.messages.boxes.size(), 1u);
    EXPECT_NE(b.messages.boxes[0].text.find("127.0.0.1"), std::string::npos) << b.messages.boxes[0].text;
    EXPECT_TRUE(b.doc.IsModified());
}

// The screen's picture in its window, saved as PNG; a family that sends none says so.
TEST(LiveFetch, ScreenshotShowsAndSavesTheInstrumentsPicture) {
    RigolBench b;
    const std::string png = b.dir + "/screen.png";
    std::remove(png.c_str());
    QSize shown;
    // The progress window comes and goes first: the picture's own window is answered when it
    // is up (and given up after 10 s).
    QTimer poll;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CScreenImageDlg*>(QApplication::activeModalWidget());
        if (!dialog && ++ticks < 500) return;
        poll.stop();
        if (!dialog) return;
        shown = dialog->findChild<QLabel*>("picture")->pixmap().size();
        dialog->SaveTo(QString::fromStdString(png));
        dialog->reject();
    });
    poll.start(20);
    RunScreenshotCommand(b.acquisition, {&b.messages, nullptr}, nullptr);
    EXPECT_EQ(shown, QSize(800, 480));
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(800, 480));
    EXPECT_TRUE(b.messages.boxes.empty());

    b.acquisition.m_settings.nInstrument = static_cast<uint8_t>(FindScopeModel("tds224"));
    RunScreenshotCommand(b.acquisition, {&b.messages, nullptr}, nullptr);
    ASSERT_EQ(b.messages.boxes.size(), 1u);
    EXPECT_NE(b.messages.boxes[0].text.find("TDS224"), std::string::npos);
}

}  // namespace
