// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/CUsbTmcTransport.h"

namespace {

using namespace std::chrono_literals;

// A USB instrument as the kernel's driver shows it, and the transport's owner: each read()
// brings the next transfer the test scripted (waiting until there is one), with its EOM bit;
// one program at a time holds the lock; deliveries are taken as they come.
struct Device : ITransportOwner {
    struct Transfer {
        std::string bytes;
        bool eom = true;
        int error = 0;  // the read fails with it
    };
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Transfer> transfers;
    std::vector<std::string> written;
    std::vector<uint32_t> timeouts;
    std::vector<size_t> writesAtRead;  // for each transfer read, the requests written by then
    int openError = 0, nextFd = 100, lockHolder = -1, closes = 0, reads = 0;
    bool eom = false, shutDown = false, gone = false;
    std::string bytes;  // delivered to the owner

    void Script(std::initializer_list<Transfer> list) {
        std::lock_guard<std::mutex> hold(lock);
        transfers.insert(transfers.end(), list);
        changed.notify_all();
    }
    // Waits (2 s at most) until the condition holds.
    bool Await(const std::function<bool()>& done) {
        std::unique_lock<std::mutex> hold(lock);
        return changed.wait_for(hold, 2s, done);
    }
    void Post(std::function<void()> task) override {
        std::lock_guard<std::mutex> hold(lock);
        task();
        changed.notify_all();
    }
    void OnBytes(const uint8_t* b, size_t n) override { bytes.append(reinterpret_cast<const char*>(b), n); }
    void OnTransportError(const std::string&) override {}
    void OnLineGone() override { gone = true; }
};
Device* g_device = nullptr;

// Each call under the device's lock.
template <class Call>
auto Locked(Call call) {
    std::unique_lock<std::mutex> hold(g_device->lock);
    g_device->changed.notify_all();
    return call(*g_device, hold);
}

const UsbTmcCalls kCalls = {
    [](const char*, int) {
        return Locked([](Device& d, auto&) { return d.openError ? (errno = d.openError, -1) : d.nextFd++; });
    },
    [](int, void* buffer, size_t size) {
        return Locked([&](Device& d, std::unique_lock<std::mutex>& hold) -> ssize_t {
            ++d.reads;
            d.changed.notify_all();
            d.changed.wait(hold, [&] { return !d.transfers.empty() || d.shutDown; });
            if (d.transfers.empty()) return errno = ETIMEDOUT, -1;
            const Device::Transfer t = d.transfers.front();
            d.transfers.pop_front();
            d.writesAtRead.push_back(d.written.size());
            if (t.error) return errno = t.error, -1;
            d.eom = t.eom;
            std::memcpy(buffer, t.bytes.data(), std::min(size, t.bytes.size()));
            return ssize_t(std::min(size, t.bytes.size()));
        });
    },
    [](int, const void* buffer, size_t size) {
        return Locked([&](Device& d, auto&) {
            d.written.emplace_back(static_cast<const char*>(buffer), size);
            return ssize_t(size);
        });
    },
    [](int, unsigned long request, void* argument) {
        return Locked([&](Device& d, auto&) {
            if (request == USBTMC_IOCTL_MSG_IN_ATTR) *static_cast<uint8_t*>(argument) = d.eom ? 1 : 0;
            if (request == USBTMC_IOCTL_SET_TIMEOUT) d.timeouts.push_back(*static_cast<uint32_t*>(argument));
            return 0;
        });
    },
    [](int fd, int) {
        return Locked([&](Device& d, auto&) {
            return d.lockHolder >= 0 ? (errno = EWOULDBLOCK, -1) : (d.lockHolder = fd, 0);
        });
    },
    [](int fd) {
        return Locked([&](Device& d, auto&) {
            if (d.lockHolder == fd) d.lockHolder = -1;
            return ++d.closes, 0;
        });
    },
};

struct UsbTmcTransport : ::testing::Test {
    Device device;
    const CTransportAddress address{0, "/dev/usbtmc0"};
    UsbTmcTransport() { g_device = &device; }
    ~UsbTmcTransport() override {
        Locked([](Device& d, auto&) { return d.shutDown = true; });  // a read still waiting fails
    }
    std::unique_ptr<CUsbTmcTransport> Opened() {
        auto t = std::make_unique<CUsbTmcTransport>(kCalls);
        EXPECT_TRUE(t->Open(&device, address, {}));
        EXPECT_TRUE(t->StartReader());
        return t;
    }
    // What has reached the owner once it holds size bytes.
    std::string Delivered(size_t size) {
        EXPECT_TRUE(device.Await([&] { return device.bytes.size() >= size; })) << device.bytes.size();
        return device.bytes;
    }
};

}  // namespace

// One write a request; after a query (by "?" or said to be one) the reads go on while a
// read fills the buffer without the message's end, and stop at the end or a short read;
// each query's time-out reaches the kernel.
TEST_F(UsbTmcTransport, OneWriteARequestAndReadsToTheMessagesEnd) {
    auto t = Opened();
    const std::string big(CUsbTmcTransport::kReadSize, 'x');
    device.Script({{big, false}, {"tail\n"}, {"1\n", false}, {big, true}, {"BM..."}});
    t->Send("HEADer OFF\n", 11);
    t->SendQuery("CURVe?\n", 7, 5000);
    EXPECT_EQ(Delivered(big.size() + 5), big + "tail\n");  // full and no end: read on; then short
    t->Send("ACQuire:STATE?\n", 15);        // short without the end still ends it
    t->Send("DATa:STARt 1\n", 13);
    t->SendQuery("WFMPre?\n", 8, 6000);      // full with the end: done
    t->SendQuery("HARDCopy STARt\n", 15, 20000);
    EXPECT_EQ(Delivered(2 * big.size() + 12), big + "tail\n1\n" + big + "BM...");
    EXPECT_EQ(device.written, (std::vector<std::string>{"HEADer OFF\n", "CURVe?\n", "ACQuire:STATE?\n",
                                                        "DATa:STARt 1\n", "WFMPre?\n", "HARDCopy STARt\n"}));
    EXPECT_EQ(device.timeouts, (std::vector<uint32_t>{1000, 5000, 1000, 6000, 20000}));
}

// A read that brings nothing is tried once more; twice nothing, or a read the kernel gave up
// on, and the next request goes: the driver's own time-out tells about the missing reply.
TEST_F(UsbTmcTransport, AnEmptyReadIsTriedOnce) {
    auto t = Opened();
    device.Script({{""}, {"1\n"}, {""}, {""}, {"", true, ETIMEDOUT}, {"0\n"}});
    t->SendQuery("SELect:CH1?\n", 12, 2000);
    EXPECT_EQ(Delivered(2), "1\n");
    t->SendQuery("*IDN?\n", 6, 8000);
    t->SendQuery("SELect:CH2?\n", 12, 2000);
    t->SendQuery("SELect:CH3?\n", 12, 2000);
    EXPECT_EQ(Delivered(4), "1\n0\n");
    EXPECT_EQ(device.writesAtRead, (std::vector<size_t>{1, 1, 2, 2, 3, 4}));
}

// Unplugged in the middle of a reply: the line ends at once, saying so; nothing more is sent.
TEST_F(UsbTmcTransport, AnUnpluggedDeviceEndsTheLine) {
    auto t = Opened();
    device.Script({{std::string(CUsbTmcTransport::kReadSize, 'x'), false}, {"", true, ENODEV}});
    t->SendQuery("CURVe?\n", 7, 5000);
    EXPECT_TRUE(device.Await([&] { return device.gone; }));
    EXPECT_EQ(device.bytes.size(), CUsbTmcTransport::kReadSize);
    EXPECT_EQ(t->WhyGone(), "przyrząd USB /dev/usbtmc0 został odłączony");
    t->Send("ACQuire:STATE RUN\n", 18);
    t.reset();
    EXPECT_EQ(std::tuple(device.written.size(), device.closes), std::tuple(1u, 1));
}

// Why a device does not open, in words that say what to do; a second program is refused
// while the first holds the device, and gets it once the first has closed it.
TEST_F(UsbTmcTransport, OpenFailuresAreExplained) {
    const std::pair<int, std::string> cases[] = {
        {ENOENT, "nie ma urządzenia /dev/usbtmc0 (czy przyrząd jest podłączony i włączony?)"},
        {EACCES, "brak uprawnień do /dev/usbtmc0; reguła udev z TAG+=\"uaccess\" (albo grupa z dostępem do urządzenia) "
                 "daje je zalogowanemu użytkownikowi"},
        {EIO, "nie można otworzyć /dev/usbtmc0: Input/output error"}};
    for (const auto& [error, why] : cases) {
        device.openError = error;
        CUsbTmcTransport t(kCalls);
        EXPECT_FALSE(t.Open(&device, address, {}));
        EXPECT_EQ(t.WhyNotOpen(), why);
    }
    device.openError = 0;
    auto first = Opened();
    {
        CUsbTmcTransport second(kCalls);
        EXPECT_FALSE(second.Open(&device, address, {}));
        EXPECT_EQ(second.WhyNotOpen(), "/dev/usbtmc0 jest zajęte przez inny program");
    }
    first.reset();
    CUsbTmcTransport third(kCalls);
    EXPECT_TRUE(third.Open(&device, address, {}));
    EXPECT_EQ(device.closes, 2);  // the refused one's and the first's
}

// Closing, the commands queued still go out but no query; a read the kernel holds is not
// waited for: the device is closed when it returns, and its reply reaches nobody.
TEST_F(UsbTmcTransport, CloseDoesNotWaitForASilentInstrument) {
    auto t = Opened();
    t->SendQuery("*IDN?\n", 6, 8000);
    ASSERT_TRUE(device.Await([&] { return device.reads == 1; }));
    t->SendQuery("SELect:CH1?\n", 12, 2000);
    t->Send("ACQuire:STATE RUN\n", 18);
    t.reset();
    EXPECT_EQ(device.closes, 0);
    device.Script({{"TEKTRONIX,TDS 2024C\n"}});
    ASSERT_TRUE(device.Await([&] { return device.closes == 1; }));
    EXPECT_EQ(device.bytes, "");  // the reply handed to nobody
    EXPECT_EQ(device.written, (std::vector<std::string>{"*IDN?\n", "ACQuire:STATE RUN\n"}));
}
