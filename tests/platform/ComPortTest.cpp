#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <fstream>
#include <set>
#include <thread>

#include "platform/CComPort.h"
#include "platform/LineSpeed.h"

namespace {

// The far end of a pseudo-terminal; the port opens the other end through KIV_COMn.
struct FarEnd {
    int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    std::string device, got;
    explicit FarEnd(unsigned port) {
        grantpt(fd), unlockpt(fd), device = ptsname(fd);
        setenv(("KIV_COM" + std::to_string(port)).c_str(), device.c_str(), 1);
    }
    ~FarEnd() { close(fd); }
    void Write(const std::string& bytes) { ASSERT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    const std::string& Read() {
        char buf[512];
        for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) got.append(buf, size_t(n));
        return got;
    }
};

// The owner's thread is the test's: posted tasks run only when the test pumps them.
struct Owner : IComPortOwner {
    explicit Owner(unsigned n = 0) : port(n) {}
    std::mutex lock;
    std::condition_variable posted;
    std::deque<std::function<void()>> tasks;
    size_t maxQueued = 0;
    std::string received;
    std::vector<std::string> errors;
    std::function<void(unsigned)> onByte;
    unsigned port = 0;
    const std::thread::id thread = std::this_thread::get_id();

    void Post(std::function<void()> task) override {
        std::lock_guard<std::mutex> g(lock);
        tasks.push_back(std::move(task));
        maxQueued = std::max(maxQueued, tasks.size());
        posted.notify_all();
    }
    void OnComPortMessage(int message, unsigned param, unsigned portNr) override {
        EXPECT_EQ(std::this_thread::get_id(), thread);
        EXPECT_EQ(std::pair(message, portNr), std::pair(WM_COMPORT_RXCHAR, port));
        received += char(param);
        if (onByte) onByte(param);
    }
    void OnComPortError(const std::string& text) override { errors.push_back(text); }
    size_t Queued() {
        std::lock_guard<std::mutex> g(lock);
        return tasks.size();
    }
    // Runs tasks until done holds; run = false only waits for them to be posted.
    bool Pump(const std::function<bool()>& done, bool run = true) {
        for (int i = 0; i < 20000 && !done(); ++i) {
            std::function<void()> task;
            std::unique_lock<std::mutex> g(lock);
            posted.wait_for(g, std::chrono::milliseconds(1), [&] { return !tasks.empty(); });
            if (run && !tasks.empty()) task = std::move(tasks.front()), tasks.pop_front();
            g.unlock();
            if (task) task();
        }
        return done();
    }
};

std::set<std::string> Entries(const char* dir) {
    std::set<std::string> names;
    DIR* d = opendir(dir);
    while (dirent* e = readdir(d)) names.insert(e->d_name);
    closedir(d);
    return names;
}

std::string Report(const char* step, const char* reason, int port) {
    return std::string("WARNING:  ") + step + " Failed with the following error: \n" + reason + "\nPort: " +
           std::to_string(port) + "\n";
}

// No test may leave a descriptor or a reader thread behind.
class ComPort : public testing::Test {
protected:
    void TearDown() override {
        for (int n = 3; n <= 9; ++n) unsetenv(("KIV_COM" + std::to_string(n)).c_str());
        EXPECT_EQ(Entries("/proc/self/fd"), m_fds);
        EXPECT_EQ(Entries("/proc/self/task"), m_threads);
    }
    // A thread started and joined first, so that a runtime's own helper thread
    // (ThreadSanitizer starts one with the first thread) is counted as already there.
    const bool m_warm = (std::thread([] {}).join(), true);
    const std::set<std::string> m_fds = Entries("/proc/self/fd"), m_threads = Entries("/proc/self/task");
};

}  // namespace

TEST_F(ComPort, DevicesLineSettingsAndRefusedSettings) {
    Owner owner;
    setenv("KIV_COM3", "/tmp/kiv-no-such-tty", 1);
    unsetenv("KIV_COM12");
    EXPECT_EQ(CComPort::DeviceName(3), "/tmp/kiv-no-such-tty");
    EXPECT_EQ(CComPort::DeviceName(12), "/dev/ttyS11");
    CComPort port;
    EXPECT_FALSE(port.Open(&owner, 3, 9600, 'N', 8, 1, 9, 80));
    EXPECT_FALSE(port.StartReader());

    // Every rate of the table, also those without a speed_t of their own; the parities and
    // stop bits. The master reports the port's settings (a pty drops PARENB).
    FarEnd far(4);
    struct Case { unsigned baud; char parity; unsigned stop; tcflag_t bits; };
    for (const Case& c : {Case{110, 'N', 2, CS8 | CSTOPB}, {300, 'E', 1, CS8}, {600, 'O', 1, CS8 | PARODD},
                          {1200, 'N', 1, CS8}, {2400, 'N', 1, CS8}, {4800, 'N', 1, CS8}, {9600, 'N', 1, CS8},
                          {19200, 'N', 2, CS8 | CSTOPB}, {38400, 'N', 1, CS8}, {56000, 'N', 1, CS8},
                          {128000, 'O', 2, CS8 | PARODD | CSTOPB}, {256000, 'N', 1, CS8}}) {
        ASSERT_TRUE(port.Open(&owner, 4, c.baud, c.parity, 8, c.stop, 9, 80));
        struct termios t;
        unsigned in = 0, out = 0;
        ASSERT_EQ(tcgetattr(far.fd, &t), 0);
        ASSERT_TRUE(ReadLineSpeed(far.fd, in, out));
        EXPECT_EQ(std::tuple(in, out, t.c_cflag & (CSIZE | CSTOPB | PARODD), t.c_lflag & (ICANON | ECHO | ISIG),
                             t.c_iflag & (ICRNL | IXON), t.c_oflag & OPOST),
                  std::tuple(c.baud, c.baud, c.bits, 0u, 0u, 0u));
    }
    EXPECT_EQ(owner.errors, std::vector<std::string>{});

    // One report naming the failed step; the port stays open.
    ASSERT_TRUE(port.Open(&owner, 4, 14400, 'N', 8, 1, 9, 80));
    ASSERT_TRUE(port.Open(&owner, 4, 9600, 'N', 8, 1, 0x10000, 80));
    ASSERT_TRUE(port.Open(&owner, 4, 9600, 'M', 8, 1, 9, 80));
    setenv("KIV_COM5", "/dev/null", 1);
    ASSERT_TRUE(port.Open(&owner, 5, 9600, 'N', 8, 1, 9, 80));
    EXPECT_EQ(owner.errors, (std::vector<std::string>{Report("BuildCommDCB()", "Invalid argument", 4),
                                                      Report("SetCommMask()", "Invalid argument", 4),
                                                      Report("BuildCommDCB()", "Invalid argument", 4),
                                                      Report("SetCommTimeouts()", "Inappropriate ioctl for device",
                                                             5)}));
}

TEST_F(ComPort, DeliversByteByByteWritesWholeRequestsAndClosesWithoutDeadlock) {
    FarEnd far(6);
    Owner owner(6);
    auto port = std::make_unique<CComPort>();
    ASSERT_TRUE(port->Open(&owner, 6, 19200, 'N', 8, 1, 9, 80));
    far.Write("stale");  // before the request: never an answer to it
    port->Send("REQ\r\n", 5);
    ASSERT_TRUE(port->StartReader());
    ASSERT_TRUE(owner.Pump([&] { return far.Read().size() >= 5; }));
    EXPECT_EQ(far.got, "REQ\r\n");

    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    far.Write(all);
    ASSERT_TRUE(owner.Pump([&] { return owner.received.size() >= 256; }));
    EXPECT_EQ(owner.received, all);
    EXPECT_EQ(owner.maxQueued, 1u);  // the next byte waits until the last has been handled

    // Bytes still unread when a request goes out are purged. Watching CTS only, the port
    // leaves them to be counted through a descriptor opened before it. The port holds the
    // line exclusively and releases it on closing: a pseudo-terminal keeps the flag after
    // the close, and the next opener would need root.
    FarEnd quiet(9);
    const int watcher = open(quiet.device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    int value = -1;
    const auto ask = [&](unsigned long request) { return ioctl(watcher, request, &value) == 0 ? value : -1; };
    ASSERT_TRUE(port->Open(&owner, 9, 19200, 'N', 8, 1, CComPort::EV_CTS, 80));
    ASSERT_TRUE(port->StartReader());
    EXPECT_EQ(ask(TIOCGEXCL), 1);
    quiet.Write("late");
    ASSERT_TRUE(owner.Pump([&] { return ask(FIONREAD) == 4; }));
    port->Send("REQ\r\n", 5);
    ASSERT_TRUE(owner.Pump([&] { return quiet.Read().size() >= 5; }));
    EXPECT_EQ(quiet.got, "REQ\r\n");
    EXPECT_EQ(ask(FIONREAD), 0);
    EXPECT_EQ(owner.received, all);
    port = std::make_unique<CComPort>();
    EXPECT_EQ(ask(TIOCGEXCL), 0);
    close(watcher);

    // A request longer than the buffer is refused whole; one that fits is written even
    // when no reader ever ran.
    for (size_t length : {81u, 80u}) {
        ASSERT_TRUE(port->Open(&owner, 6, 19200, 'N', 8, 1, 9, 80));
        port->Send(std::string(length, 'x').c_str(), length);
        port = std::make_unique<CComPort>();
        far.got.clear();
        EXPECT_EQ(far.Read(), length == 80 ? std::string(80, 'x') : "");
    }

    // Closing never deadlocks, and the closing request arrives: destroyed while the reader
    // waits for 'a' to be handled, which is then never delivered.
    owner.received.clear(), far.got.clear();
    ASSERT_TRUE(port->Open(&owner, 6, 9600, 'N', 8, 2, 9, 80));
    ASSERT_TRUE(port->StartReader());
    far.Write("ab");
    ASSERT_TRUE(owner.Pump([&] { return owner.Queued() == 1; }, false));
    port->Send("BYE\n", 4);
    port.reset();
    ASSERT_TRUE(owner.Pump([&] { return owner.Queued() == 0; }));
    EXPECT_EQ(owner.received, "");
    EXPECT_EQ(far.Read(), "BYE\n");

    // Closed from inside the byte handler, or from outside right after the request.
    std::string handled;
    for (int i = 0; i < 40; ++i) {
        const std::string request = "CLOSE " + std::to_string(i) + "\r\n";
        port = std::make_unique<CComPort>();
        ASSERT_TRUE(port->Open(&owner, 6, 9600, 'N', 8, 2, 9, 80));
        ASSERT_TRUE(port->StartReader());
        owner.onByte = [&](unsigned byte) {
            if (byte == 'Q') port->Send(request.data(), request.size()), port.reset();
        };
        if (i % 2)
            port->Send(request.data(), request.size()), port.reset();
        else
            far.Write("xQyz"), handled += "xQ";
        ASSERT_TRUE(owner.Pump([&] { return !port && owner.Queued() == 0; }));
        far.got.clear();
        EXPECT_EQ(far.Read(), request);
    }
    EXPECT_EQ(owner.received, handled);
}

TEST_F(ComPort, AHangUpIsReportedOnceAndTheReaderIdles) {
    auto far = std::make_unique<FarEnd>(8);
    Owner owner(8);
    CComPort port;
    ASSERT_TRUE(port.Open(&owner, 8, 9600, 'N', 8, 1, 9, 80));
    ASSERT_TRUE(port.StartReader());
    std::string reader;
    for (const std::string& task : Entries("/proc/self/task"))
        if (!m_threads.count(task)) reader = task;
    far.reset();
    ASSERT_TRUE(owner.Pump([&] { return !owner.errors.empty(); }));
    port.Send("gone\n", 5);
    // An idle reader sleeps in poll; a spinning one would be found running.
    int samples = 0, sleeping = 0;
    owner.Pump([&] {
        std::ifstream stat("/proc/self/task/" + reader + "/stat");
        std::string line;
        std::getline(stat, line);
        sleeping += line.find(") S ") != std::string::npos;
        return ++samples == 50;
    });
    EXPECT_GE(sleeping, 45);
    EXPECT_EQ(owner.errors, std::vector<std::string>{Report("ReadFile()", "Input/output error", 8)});
    EXPECT_EQ(owner.maxQueued, 1u);
}
