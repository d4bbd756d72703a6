// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/FakeProgressHost.h"

// What the TDS224 and the LT224 say when the identity reply is not theirs.
inline const std::string kModelMismatch =
    "Typ oscyloskopu nie zgadza się ! \n Sprawdź czy oscyloskop jest podłączony lub\n sprawdź czy "
    "ustawienia portu oscyloskopu zgadzają się z ustawieniami portu w programie.";

// A trace's time exponent and step, volt exponent and step.
inline std::tuple<int, double, int, double> Scales(const RawTrace& t) {
    return {t.timeExponent, t.timeStep, t.voltExponent, t.voltStep};
}
// The values at the given indices of an array or vector; -1 is the last.
template <class Values>
std::vector<int32_t> At(const Values& values, std::initializer_list<int> indices) {
    std::vector<int32_t> picked;
    for (int i : indices) picked.push_back(values[i < 0 ? std::size(values) + i : size_t(i)]);
    return picked;
}

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
    std::string Step() { return host.FireStepTimer(), Sent(); }
    // The reply taken whole: the next state, the reply timer stopped, the step timer set; then,
    // when given, what Step() says of the request that timer sends.
    void ExpectAccepted(const std::string& reply, int state, const std::string& next = "") {
        host.Receive(reply);
        EXPECT_EQ(std::tuple(driver.m_nState, host.replyTimer, host.stepTimer), std::tuple(state, -1, 500));
        if (!next.empty()) { EXPECT_EQ(next, Step()); }
    }
    // The replies, each after the step timer that the one before set off.
    void Feed(const std::vector<std::string>& replies) {
        for (size_t i = 0; i < replies.size(); ++i) {
            if (i) host.FireStepTimer();
            host.Receive(replies[i]);
        }
    }
    // How a dialogue ended: state, result, reply timer, port closed, requests sent, boxes shown.
    std::tuple<int, int, int, bool, size_t, size_t> Ended() const {
        return {driver.m_nState, host.ended, host.replyTimer, host.port.closed, host.port.sent.size(),
                host.messages.boxes.size()};
    }
    // The last step: the last request, then a clean end with nothing shown.
    void ExpectFinished(const std::string& last, size_t requests) {
        host.FireStepTimer();
        EXPECT_EQ(last, host.LastSent());
        EXPECT_EQ(Ended(), std::tuple(0, 0, -1, true, requests, 0u));
    }
    // No parity, 8 data bits, events 9 (received byte, CTS).
    void ExpectPort(unsigned port, unsigned baud, unsigned stopBits, unsigned writeBuffer) {
        const FakePortLog& p = host.port;
        EXPECT_EQ(std::tuple(p.opened, p.port, p.baud, p.parity, p.dataBits, p.stopBits, p.eventMask, p.writeBuffer),
                  std::tuple(true, port, baud, 'N', 8u, stopBits, 9u, writeBuffer));
    }
    // The reply timer runs out: the one box (none for an empty text), then why the port did
    // not open when there is that to say (caption "Kiv"), and the end with result 0.
    void ExpectTimeout(const std::string& text, int state, size_t requests, const std::string& why = "") {
        host.FireReplyTimer();
        using Box = std::tuple<std::string, std::string, MsgIcon>;
        std::vector<Box> shown, boxes;
        for (const auto& box : host.messages.boxes) shown.emplace_back(box.text, box.caption, box.icon);
        if (!text.empty()) boxes.emplace_back(text, "Uwaga", MsgIcon::Error);
        if (!why.empty()) boxes.emplace_back(why, "Kiv", MsgIcon::Information);
        EXPECT_EQ(shown, boxes);
        EXPECT_EQ(Ended(), std::tuple(state, 0, -1, true, requests, boxes.size())) << text;
    }
    // Plot 1 from channel 1 until the replies stop; nothing is sent after the last reply's
    // request. Then again with the line gone: the reply awaited times out at once (its timer
    // re-armed at 0; where a step is still due, "Inny błąd !", none is awaited) and the one
    // box names the device and why the port says it went, state 4 (reported) for every model.
    void ExpectTimeoutAfter(const std::vector<std::string>& replies, const std::string& text) {
        struct Case { std::string device, whyGone, box; };
        for (const Case& c : {Case{}, {"/dev/ttyUSB0", "odczyt z portu nie powiódł się (No such device)",
                                        "/dev/ttyUSB0: odczyt z portu nie powiódł się (No such device)"},
                              {"/dev/ttyS0", "", "/dev/ttyS0: połączenie zostało przerwane"}}) {
            const bool gone = !c.box.empty();
            SCOPED_TRACE(gone ? "line gone: " + c.box : "line silent");
            driver.m_address.device = c.device;
            host.port.whyGone = c.whyGone;
            Start(1, 0);
            Feed(replies);
            if (gone) {
                host.LoseLine();
                EXPECT_EQ(host.replyTimer, text == "Inny błąd !" ? -1 : 0);
            }
            ExpectTimeout(gone ? c.box : text, gone ? 4 : 3, replies.size());
        }
        driver.m_address.device.clear(), host.port.whyGone.clear();
    }
    // A port that does not open: nothing sent, a short reply timer reports it, with the
    // port's explanation when it has one. Nothing to fetch: cancelled at once, the port left alone.
    void ExpectPortFailureAndNothingToFetch(const std::string& text) {
        for (const std::string why : {"", "Brak urządzenia /dev/ttyS0."}) {
            host.port = FakePortLog{};
            host.port.openFails = true, host.port.whyNotOpen = why;
            Start(1, 0);
            EXPECT_EQ(std::tuple(driver.m_nState, host.replyTimer, host.ended), std::tuple(10, 100, -1));
            ExpectTimeout(text, 10, 0, why);
        }
        host.port = FakePortLog{};
        Start(0, 0);
        EXPECT_EQ(std::tuple(driver.m_nState, host.ended, host.port.opened), std::tuple(0, kDialogCancel, false));
    }
};
