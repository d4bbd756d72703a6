// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "platform/CComPort.h"
#include "platform/LineSpeed.h"
#include "platform/PortDevices.h"
#include "platform/SerialDevices.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

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

// The line every driver opens, at a rate; the other settings as a case needs them.
CLineSettings Line(unsigned baud, char parity = 'N', unsigned stopBits = 1, uint32_t events = 9,
                   unsigned writeBuffer = 80) {
    return {.baud = baud, .parity = parity, .stopBits = stopBits, .events = events, .writeBuffer = writeBuffer};
}

// The owner's thread is the test's: posted tasks run only when the test pumps them.
struct Owner : ITransportOwner {
    std::mutex lock;
    std::condition_variable posted;
    std::deque<std::function<void()>> tasks;
    size_t maxQueued = 0;
    std::string received;
    std::vector<std::string> errors;  // the reports, and "gone" when the port said the line was gone
    std::function<void(unsigned)> onByte;
    std::function<bool()> closed;  // the handler closed the port: the rest of the delivery is dropped
    const std::thread::id thread = std::this_thread::get_id();

    void Post(std::function<void()> task) override {
        std::lock_guard<std::mutex> g(lock);
        tasks.push_back(std::move(task));
        maxQueued = std::max(maxQueued, tasks.size());
        posted.notify_all();
    }
    void OnBytes(const uint8_t* bytes, size_t size) override {
        EXPECT_EQ(std::this_thread::get_id(), thread);
        for (size_t i = 0; i < size && !(closed && closed()); ++i) {
            received += char(bytes[i]);
            if (onByte) onByte(bytes[i]);
        }
    }
    void OnTransportError(const std::string& text) override { errors.push_back(text); }
    void OnLineGone() override {
        EXPECT_EQ(std::this_thread::get_id(), thread);
        errors.push_back("gone");
    }
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

// Entries split by ';': "a/b=text" a file, "a/c->target" a link, "a/d/" a folder, "@a/" where the next ones go.
void MakeTree(const std::string& root, const std::string& entries) {
    std::string base = root + "/", entry;
    for (std::istringstream in(entries); std::getline(in, entry, ';');) {
        const size_t link = entry.find("->"), text = entry.find('=');
        const fs::path path = base + entry.substr(0, std::min(link, text));
        if (entry[0] == '@') {
            base = root + "/" + entry.substr(1);
            continue;
        }
        fs::create_directories(link == text ? path : path.parent_path());
        if (link != std::string::npos) fs::create_symlink(entry.substr(link + 2), path);
        else if (text != std::string::npos) WriteBytes(path.string(), entry.substr(text + 1));
    }
}

// The tests run as root in CI: this runs what in a child that has dropped to nobody, and returns
// what it said.
std::string AsNobody(const std::function<std::string()>& what) {
    int out[2];
    if (pipe(out) != 0) return "no pipe";
    if (fork() == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setresgid(65534, 65534, 65534) == 0 &&
                             setresuid(65534, 65534, 65534) == 0;
        const std::string text = dropped ? what() : "still root";
        _exit(write(out[1], text.data(), text.size()) == ssize_t(text.size()) ? 0 : 1);
    }
    close(out[1]);
    wait(nullptr);
    char buffer[1024];
    const ssize_t got = read(out[0], buffer, sizeof buffer);
    close(out[0]);
    return std::string(buffer, size_t(std::max<ssize_t>(got, 0)));
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

// One of each kind, with attributes missing, unreadable (a folder or a dangling link in the
// file's place), odd names and dangling links; and a /proc with holders of ttyUSB0 and ttyACM0.
class SerialDevices : public testing::Test {
protected:
    void SetUp() override {
        MakeTree(m_root, "@sys/devices/usb1/1-1/;idVendor=0403;manufacturer=FTDI\n;product=FT232R USB UART\n;"
                         "serial=A50285BI\n;1-1:1.0/ttyUSB0/;@sys/devices/usb1/1-2/;idVendor=067b;manufacturer->gone;"
                         "product/;serial=0001;1-2:1.0/ttyUSB1/;@sys/devices/usb1/1-3/;idVendor=2e8a;product=Pico;"
                         "1-3:1.0/;@sys/class/tty/;ttyUSB0/device->../../../devices/usb1/1-1/1-1:1.0/ttyUSB0;"
                         "ttyUSB1/device->../../../devices/usb1/1-2/1-2:1.0/ttyUSB1;ttyUSB4/device->../../../gone;"
                         "ttyACM0/device->../../../devices/usb1/1-3/1-3:1.0;ttyACM1/device->../../../../x/1:1.0;"
                         "ttyS1/type=0\n;ttyS2/type=4\n;ttyS10/type/;@x/;idVendor=1;product=Outside;1:1.0/;@dev/;"
                         "ttyUSB0=;ttyUSB1=;ttyUSB4=;ttyACM0=;ttyACM1=;ttyS1=;ttyS2=;ttyS10=;rfcomm0=;ttyUSB=;"
                         "ttyUSB0.old=;ttyS-1=;xttyS0=;ttyusb3=;ttyUSB2/;ttyUSB3->ttyUSB9;"
                         "serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0->../../ttyUSB0;"
                         "serial/by-id/usb-gone-if00-port0->../../ttyUSB7;@proc/;1234/comm=minicom\n;"
                         "1234/fd/0->/dev/null;1234/fd/3->" + m_root + "/dev/ttyUSB0;77/fd/4->" + m_root +
                         "/dev/ttyACM0;self/fd/5->" + m_root + "/dev/ttyS2");
    }
    // The message or path with the fake tree's folder taken out.
    std::string Local(std::string text) const {
        for (size_t at; (at = text.find(m_root)) != std::string::npos;) text.erase(at, m_root.size());
        return text;
    }
    const std::string m_root = TestDir("serial-devices");
    const SerialRoots m_roots{m_root + "/sys", m_root + "/dev"};
};

}  // namespace

TEST_F(ComPort, DevicesLineSettingsAndRefusedSettings) {
    Owner owner;
    // The environment first, then the user's choice, else the legacy port.
    setenv("KIV_COM3", "/tmp/kiv-no-such-tty", 1);
    unsetenv("KIV_COM12");
    for (unsigned n : {3u, 11u, 12u}) RememberPortDevice(n, "/dev/ttyACM" + std::to_string(n));
    RememberPortDevice(12, "");
    EXPECT_EQ(CComPort::DeviceName(3), "/tmp/kiv-no-such-tty");
    EXPECT_EQ(CComPort::DeviceName(11), "/dev/ttyACM11");
    EXPECT_EQ(CComPort::DeviceName(12), "/dev/ttyS11");
    // Messages name a device given as it is, a COM number with what it stands for.
    EXPECT_EQ(CTransportAddress({3, {}}).Name(), "COM3 (/tmp/kiv-no-such-tty)");
    EXPECT_EQ(CTransportAddress({3, "/dev/ttyUSB0"}).Name(), "/dev/ttyUSB0");
    RememberPortDevice(3, ""), RememberPortDevice(11, "");
    CComPort port;
    EXPECT_FALSE(port.Open(&owner, {3, {}}, Line(9600)));
    EXPECT_FALSE(port.StartReader());

    // What is no terminal device does not open (a character device neither), nor a path gone
    // since it was listed; the device for one Open stands in for the COM's until it is dropped.
    const std::string dir = TestDir("com-port");
    WriteBytes(dir + "/file", "");
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    FarEnd far(4);
    const std::string notPort = "to nie jest port szeregowy (Inappropriate ioctl for device).";
    for (const auto& [device, why] : {std::pair{dir + "/file", notPort}, {dir + "/fifo", notPort}, {"/dev/null", notPort},
                                     {dir + "/", "to nie jest port szeregowy (Is a directory)."},
                                     {dir + "/gone", "takie urządzenie nie istnieje (No such file or directory)."}}) {
        EXPECT_FALSE(port.Open(&owner, {4, device}, Line(9600)));
        const std::string expected = "Nie można otworzyć " + device + ": " + why;
        EXPECT_EQ(port.WhyNotOpen().substr(0, expected.size()), expected);
    }
    ASSERT_TRUE(port.Open(&owner, {4, {}}, Line(9600)));
    EXPECT_EQ(port.WhyNotOpen(), "");

    // A second opener of a line in use is told it is busy and by whom, even root, whom the
    // exclusive flag does not stop; the holder keeps its flag, and the line is free once it closes.
    // (Only root may open the watcher while the port holds the line.)
    const int watcher = open(far.device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    int exclusive = -1;
    {
        CComPort second;
        EXPECT_FALSE(second.Open(&owner, {4, {}}, Line(9600)));
        EXPECT_EQ(second.WhyNotOpen(), "Nie można otworzyć " + far.device + ": urządzenie jest zajęte (Device or "
                                       "resource busy). Używa go program kiv_core_tests (PID " +
                                           std::to_string(getpid()) + "): zamknij go i spróbuj ponownie.");
        if (watcher >= 0) {
            EXPECT_EQ(ioctl(watcher, TIOCGEXCL, &exclusive), 0);
            EXPECT_EQ(exclusive, 1);
        }
        EXPECT_FALSE(port.Open(&owner, {4, dir + "/gone"}, Line(9600)));  // the holder lets go
        EXPECT_TRUE(second.Open(&owner, {4, {}}, Line(9600))) << second.WhyNotOpen();
    }
    if (watcher >= 0) close(watcher);

    // Every rate of the table, also those without a speed_t of their own; the parities and
    // stop bits. The master reports the port's settings (a pty drops PARENB).
    struct Case { unsigned baud; char parity; unsigned stop; tcflag_t bits; };
    for (const Case& c : {Case{110, 'N', 2, CS8 | CSTOPB}, {300, 'E', 1, CS8}, {600, 'O', 1, CS8 | PARODD},
                          {1200, 'N', 1, CS8}, {2400, 'N', 1, CS8}, {4800, 'N', 1, CS8}, {9600, 'N', 1, CS8},
                          {19200, 'N', 2, CS8 | CSTOPB}, {38400, 'N', 1, CS8}, {56000, 'N', 1, CS8},
                          {128000, 'O', 2, CS8 | PARODD | CSTOPB}, {256000, 'N', 1, CS8}}) {
        ASSERT_TRUE(port.Open(&owner, {4, {}}, Line(c.baud, c.parity, c.stop)));
        struct termios t;
        unsigned in = 0, out = 0;
        ASSERT_EQ(tcgetattr(far.fd, &t), 0);
        ASSERT_TRUE(ReadLineSpeed(far.fd, in, out));
        EXPECT_EQ(std::tuple(in, out, t.c_cflag & (CSIZE | CSTOPB | PARODD), t.c_lflag & (ICANON | ECHO | ISIG),
                             t.c_iflag & (ICRNL | IXON), t.c_oflag & OPOST),
                  std::tuple(c.baud, c.baud, c.bits, 0u, 0u, 0u));
    }
    EXPECT_EQ(owner.errors, std::vector<std::string>{});

    // One report of a setting the port would not take, naming the device; the port stays open.
    const std::string com4 = "COM4 (" + far.device + "): ";
    ASSERT_TRUE(port.Open(&owner, {4, {}}, Line(14400)));
    ASSERT_TRUE(port.Open(&owner, {4, {}}, Line(9600, 'N', 1, 0x10000)));
    ASSERT_TRUE(port.Open(&owner, {4, far.device}, Line(9600, 'M', 2)));
    EXPECT_EQ(owner.errors, (std::vector<std::string>{
                                com4 + "port szeregowy nie obsługuje ustawień transmisji 14400 bit/s, 8N1.",
                                com4 + "nie można ustawić parametrów transmisji portu (Invalid argument).",
                                far.device + ": port szeregowy nie obsługuje ustawień transmisji 9600 bit/s, 8M2."}));
}

TEST_F(ComPort, DeliversByteByByteWritesWholeRequestsAndClosesWithoutDeadlock) {
    FarEnd far(6);
    Owner owner;
    auto port = std::make_unique<CComPort>();
    ASSERT_TRUE(port->Open(&owner, {6, {}}, Line(19200)));
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
    ASSERT_TRUE(port->Open(&owner, {9, {}}, Line(19200, 'N', 1, CLineSettings::kEventCts)));
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
        ASSERT_TRUE(port->Open(&owner, {6, {}}, Line(19200)));
        port->Send(std::string(length, 'x').c_str(), length);
        port = std::make_unique<CComPort>();
        far.got.clear();
        EXPECT_EQ(far.Read(), length == 80 ? std::string(80, 'x') : "");
    }

    // Closing never deadlocks, and the closing request arrives: destroyed while the reader
    // waits for 'a' to be handled, which is then never delivered.
    owner.received.clear(), far.got.clear();
    ASSERT_TRUE(port->Open(&owner, {6, {}}, Line(9600, 'N', 2)));
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
    owner.closed = [&] { return !port; };
    for (int i = 0; i < 40; ++i) {
        const std::string request = "CLOSE " + std::to_string(i) + "\r\n";
        port = std::make_unique<CComPort>();
        ASSERT_TRUE(port->Open(&owner, {6, {}}, Line(9600, 'N', 2)));
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

// The reason a lost line gives: an unplugged adapter takes its device node along, a line that
// merely hung up says only EIO. The port opens the far end through a link that the test
// removes, or points at a node that stays, before the far end goes.
TEST_F(ComPort, ASilentLineSaysNothingALostLineIsToldOnceWithWhyThenTheReaderIdles) {
    const std::string link = TestDir("com-port-lost") + "/ttyUSB0";
    for (const auto& [stays, why] : {std::pair{false, "No such device"}, {true, "Input/output error"}}) {
        SCOPED_TRACE(why);
        auto far = std::make_unique<FarEnd>(8);
        fs::create_symlink(far->device, link);
        Owner owner;
        CComPort port;
        ASSERT_TRUE(port.Open(&owner, {8, link}, Line(9600)));
        ASSERT_TRUE(port.StartReader());
        std::string reader;
        for (const std::string& task : Entries("/proc/self/task"))
            if (!m_threads.count(task)) reader = task;
        // An idle reader sleeps in poll; a spinning one would be found running.
        const auto idle = [&] {
            int samples = 0, sleeping = 0;
            owner.Pump([&] {
                std::ifstream stat("/proc/self/task/" + reader + "/stat");
                std::string line;
                std::getline(stat, line);
                sleeping += line.find(") S ") != std::string::npos;
                return ++samples == 50;
            });
            return sleeping >= 45;
        };
        far->Write("x");
        EXPECT_TRUE(idle());
        EXPECT_EQ(std::tuple(owner.received, owner.errors, port.WhyGone()),
                  std::tuple("x", std::vector<std::string>{}, ""));
        fs::remove(link);
        if (stays) fs::create_symlink("/dev/null", link);
        far.reset();
        ASSERT_TRUE(owner.Pump([&] { return !owner.errors.empty(); }));
        port.Send("gone\n", 5);
        EXPECT_TRUE(idle());
        EXPECT_EQ(owner.errors, std::vector<std::string>{"gone"});
        EXPECT_EQ(port.WhyGone(), "odczyt z portu nie powiódł się (" + std::string(why) + ")");
        EXPECT_EQ(owner.maxQueued, 1u);
        fs::remove(link);
    }
}

// What each device's description shows is pinned by the list in the explanations below.
TEST_F(SerialDevices, ListsEachKindWithItsStableNameAndWhetherItIsUsb) {
    std::vector<std::string> got;
    for (const SerialDevice& d : EnumerateSerialDevices(m_roots))
        got.push_back(Local(d.path) + (d.byId.empty() ? "" : " " + Local(d.byId)) + (d.usb ? " usb" : ""));
    EXPECT_EQ(got, (std::vector<std::string>{
                       "/dev/rfcomm0", "/dev/ttyACM0 usb", "/dev/ttyACM1 usb", "/dev/ttyS2", "/dev/ttyS10",
                       "/dev/ttyUSB0 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 usb",
                       "/dev/ttyUSB1 usb", "/dev/ttyUSB4 usb"}));
}

TEST_F(SerialDevices, ExplainsWhyADeviceWouldNotOpen) {
    const SerialRoots none{m_root + "/nowhere", m_root + "/nowhere"};
    const std::string noneFound = " Nie znaleziono żadnego portu szeregowego: sprawdź, czy urządzenie jest podłączone.",
                      busy = "urządzenie jest zajęte (Device or resource busy). Używa go ",
                      denied = ". Poproś administratora o dostęp do tego urządzenia.";
    struct Case { std::string device; int error; bool fake; std::string why; };
    for (const Case& c : std::vector<Case>{
             {"ttyUSB5", ENOENT, true, "takie urządzenie nie istnieje (No such file or directory). Dostępne porty "
              "szeregowe: /dev/rfcomm0; /dev/ttyACM0 — Pico; /dev/ttyACM1; /dev/ttyS2; /dev/ttyS10; "
              "/dev/ttyUSB0 — FTDI FT232R USB UART (A50285BI); /dev/ttyUSB1 (0001); /dev/ttyUSB4."},
             {"ttyUSB0", EISDIR, true, "to nie jest port szeregowy (Is a directory). Dostępne porty szeregowe: "
              "/dev/rfcomm0; /dev/ttyACM0 — Pico; /dev/ttyACM1; /dev/ttyS2; /dev/ttyS10; "
              "/dev/ttyUSB1 (0001); /dev/ttyUSB4."},
             {"ttyUSB0", ENOTTY, false, "to nie jest port szeregowy (Inappropriate ioctl for device)." + noneFound},
             {"ttyS1", EIO, false, "za tym portem nie ma sprzętu (Input/output error)." + noneFound},
             {"ttyS1", ENXIO, false, "za tym portem nie ma sprzętu (No such device or address)." + noneFound},
             {"ttyS1", ENODEV, false, "za tym portem nie ma sprzętu (No such device)." + noneFound},
             {"ttyUSB5", EACCES, true, "brak uprawnień (Permission denied)" + denied},
             {"ttyUSB5", EPERM, true, "brak uprawnień (Operation not permitted)" + denied},
             {"ttyUSB0", EBUSY, true, busy + "program minicom (PID 1234): zamknij go i spróbuj ponownie."},
             {"ttyACM0", EBUSY, true, busy + "program (PID 77): zamknij go i spróbuj ponownie."},
             {"ttyS2", EBUSY, true, busy + "inny program: zamknij go i spróbuj ponownie."},
             {"ttyUSB0", EMFILE, true, "Too many open files."}}) {
        const std::string device = m_root + "/dev/" + c.device;
        EXPECT_EQ(Local(ExplainOpenFailure(device, c.error, c.fake ? m_roots : none, m_root + "/proc")),
                  "Nie można otworzyć /dev/" + c.device + ": " + c.why);
    }
    EXPECT_EQ(ExplainOpenFailure(m_root + "/dev/ttyUSB0", 0, m_roots, m_root + "/proc"), "");
}

// Another user, on a real terminal: whether the list calls it his, and why it will not open.
TEST_F(ComPort, AnotherUserIsToldWhyATerminalWillNotOpen) {
    const group* dialout = getgrnam("dialout");
    if (geteuid() != 0 || !dialout) GTEST_SKIP() << "handing a terminal to another user needs root and a dialout group";
    FarEnd far(3);
    const OtherUserDir shared("com-port-user");
    ASSERT_FALSE(shared.Path().empty());
    const std::string dir = shared.Folder("dev", 0755);
    MakeTree(dir, "ttyUSB0->" + far.device);
    const std::string refused = "Nie można otworzyć " + far.device + ": brak uprawnień (Permission denied). ";
    struct Case { gid_t group; mode_t mode; char accessible; std::string why; };
    for (const Case& c : std::vector<Case>{
             {dialout->gr_gid, 0660, '0', refused + "Urządzenie należy do grupy dialout: dodaj użytkownika do tej "
              "grupy (sudo usermod -aG dialout nobody) i zaloguj się ponownie."},
             {0, 0604, '0', refused + "Poproś administratora o dostęp do tego urządzenia."},
             {0, 0666, '1', "opened"}}) {
        ASSERT_EQ(chown(far.device.c_str(), 0, c.group), 0);
        ASSERT_EQ(chmod(far.device.c_str(), c.mode), 0);
        const std::string said = AsNobody([&] {
            CComPort port;
            const char accessible = EnumerateSerialDevices({dir, dir}).at(0).accessible ? '1' : '0';
            return accessible + (port.Open(nullptr, {3, {}}, Line(9600)) ? "opened" : port.WhyNotOpen());
        });
        EXPECT_EQ(said.substr(0, 1), std::string(1, c.accessible));
        EXPECT_EQ(said.substr(std::min<size_t>(said.size(), 1)), c.why);
    }
}
