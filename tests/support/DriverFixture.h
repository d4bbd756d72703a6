#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeProgressHost.h"

// What the TDS224 and the LT224 say when the identity reply is not theirs.
inline const std::string kModelMismatch =
    "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony lub\n sprawdź czy "
    "ustawienia portu oscyloskopu zgadzają się z ustawieniami portu w programie.";

// A driver talking to a fake progress window; the test sends the bytes and fires the timers.
template <class Driver>
struct DriverTest : ::testing::Test {
    RawTrace traces[2];
    Driver driver{traces};
    FakeProgressHost host;

    void Start(int ch1, int ch2) {
        host.messages.boxes.clear(), host.ended = -1;
        driver.m_nPlot1Channel = uint8_t(ch1), driver.m_nPlot2Channel = uint8_t(ch2);
        host.Start(driver);
    }
    // The last request, then the state and the reply timer.
    std::string Sent() {
        return host.LastSent() + std::to_string(driver.m_nState) + " " + std::to_string(host.replyTimer);
    }
    // The step timer fires: the request it sent, the state and the reply timer.
    std::string Step() {
        host.FireStepTimer();
        return Sent();
    }
    // The reply taken whole: the next state, the reply timer stopped, the step timer set.
    void ExpectAccepted(const std::string& reply, int state) {
        host.Receive(reply);
        EXPECT_TRUE(driver.m_nState == state && host.stepTimer == 500 && host.replyTimer == -1) << state;
    }
    // The replies, each after the step timer that the one before set off.
    void Feed(const std::vector<std::string>& replies) {
        for (size_t i = 0; i < replies.size(); ++i) {
            if (i) host.FireStepTimer();
            host.Receive(replies[i]);
        }
    }
    // The last step: the last request, the port closed, no box, the dialogue ended with 0.
    void ExpectFinished(const std::string& last, size_t requests) {
        host.FireStepTimer();
        EXPECT_EQ(last, host.LastSent());
        EXPECT_TRUE(host.port.sent.size() == requests && host.port.closed && driver.m_nState == 0 &&
                    host.ended == 0 && host.replyTimer == -1 && host.messages.boxes.empty());
    }
    // No parity, 8 data bits, events 9 (received byte, error).
    void ExpectPort(unsigned port, unsigned baud, unsigned stopBits, unsigned writeBuffer) {
        const FakePortLog& p = host.port;
        EXPECT_TRUE(p.opened && p.port == port && p.baud == baud && p.parity == 'N' && p.dataBits == 8 &&
                    p.stopBits == stopBits && p.eventMask == 9 && p.writeBuffer == writeBuffer);
    }
    // The reply timer runs out: the one box (none for an empty text), the dialogue ended, the port closed.
    void ExpectTimeout(const std::string& text, int state) {
        host.FireReplyTimer();
        ASSERT_EQ(text.empty() ? 0u : 1u, host.messages.boxes.size()) << text;
        if (!text.empty()) {
            const auto& box = host.messages.boxes[0];
            EXPECT_TRUE(box.text == text && box.caption == "Uwaga" && box.icon == MsgIcon::Error) << box.text;
        }
        EXPECT_TRUE(driver.m_nState == state && host.ended == 0 && host.replyTimer == -1 && host.port.closed);
    }
    // Plot 1 from channel 1 until the replies stop; nothing is sent after the last reply's request.
    void ExpectTimeoutAfter(const std::vector<std::string>& replies, const std::string& text) {
        Start(1, 0);
        Feed(replies);
        ExpectTimeout(text, 3);
        EXPECT_EQ(replies.size(), host.port.sent.size()) << text;
    }
    // A port that does not open: nothing sent, the dialogue waits out a short reply timer.
    void ExpectPortFailure(const std::string& text) {
        host.port.openFails = true;
        Start(1, 0);
        EXPECT_TRUE(driver.m_nState == 10 && host.replyTimer == 100 && host.port.sent.empty() && host.ended == -1);
        ExpectTimeout(text, 10);
        host.port.openFails = false;
    }
    // Nothing to fetch: cancelled at once, the port left alone.
    void ExpectNothingToFetch() {
        const size_t sent = host.port.sent.size();
        Start(0, 0);
        EXPECT_TRUE(driver.m_nState == 0 && host.ended == kDialogCancel && host.port.sent.size() == sent);
    }
};
