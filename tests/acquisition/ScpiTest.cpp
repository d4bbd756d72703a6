// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <filesystem>
#include <cmath>

#include "acquisition/CAcquisition.h"
#include "acquisition/CScpiAutoDriver.h"
#include "acquisition/ScreenTrace.h"
#include "platform/CTcpTransport.h"
#include "platform/SerialDevices.h"
#include "support/DriverFixture.h"
#include "support/NetSimulator.h"
#include "support/ScopeSimulator.h"

namespace {

// Bytes in, the replies out: "=" a reply, "!" malformed (with why), "…" incomplete.
std::vector<std::string> Framed(const std::string& bytes, const std::vector<EScpiReply>& forms) {
    CScpiReader reader;
    reader.Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    std::vector<std::string> out;
    for (EScpiReply form : forms) {
        std::string reply, why;
        switch (reader.Take(form, reply, why)) {
        case CScpiReader::EResult::Done: out.push_back("=" + reply); break;
        case CScpiReader::EResult::Malformed: out.push_back("!" + why); return out;
        case CScpiReader::EResult::Incomplete: out.push_back("…"); return out;
        }
    }
    return out;
}

}  // namespace

// Lines lose their CR LF; a block's trailer, one LF or two or none, never stands before the next
// reply; a short printable prefix before "#" is skipped; what is no block is said to be none.
TEST(Scpi, RepliesAreFramedWhateverTheirTrailers) {
    using E = EScpiReply;
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
    const struct {
        std::string bytes;
        std::vector<E> forms;
        std::vector<std::string> out;
    } cases[] = {
        {"RUN\r\nSTOP\n", {E::Line, E::Line}, {"=RUN", "=STOP"}},
        {"#15abcde\n\n1\n", {E::Block, E::Line}, {"=abcde", "=1"}},
        {"#15abcde1\n", {E::Block, E::Line}, {"=abcde", "=1"}},
        {"C1:WF DAT2,#9000000003\n\x01\xFF\n\n", {E::Block}, {std::string("=\n\x01\xFF", 4)}},
        {"#9000000010abc", {E::Block}, {"…"}},
        {"#0abc", {E::Block}, {"!nagłówek bloku danych jest błędny"}},
        {"#9000x", {E::Block}, {"!nagłówek bloku danych jest błędny"}},
        {"\x01#15abcde", {E::Block}, {"!zamiast bloku danych przyszło co innego"}},
        {"this text is far too long to be a prefix #15abcde", {E::Block}, {"!zamiast bloku danych przyszło co innego"}},
        {std::string("BM\x20\0\0\0", 6) + std::string(26, 'x') + "more", {E::Image},
         {"=" + std::string("BM\x20\0\0\0", 6) + std::string(26, 'x')}},
        {png + "rest", {E::Image}, {"=" + png}},
        {"GIF89a..", {E::Image}, {"!zamiast obrazu ekranu przyszło co innego"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Framed(c.bytes, c.forms), c.out) << c.bytes;
}

TEST(Scpi, IdentitiesAndAddresses) {
    ScpiIdentity id;
    ASSERT_TRUE(ParseScpiIdentity("*IDN SIGLENT,SDS2304X,SDS2XJBD1R2754,1.2.2.2 R19\r", id));
    EXPECT_EQ(std::tuple(id.maker, id.model, id.serial, id.firmware),
              std::tuple("SIGLENT", "SDS2304X", "SDS2XJBD1R2754", "1.2.2.2 R19"));
    ASSERT_TRUE(ParseScpiIdentity("TEKTRONIX,TBS 1072C,CU10100,CF:91.1CT FV:v2015; FPGA:v1.21;", id));
    EXPECT_EQ(std::tuple(id.model, id.firmware), std::tuple("TBS 1072C", "CF:91.1CT FV:v2015; FPGA:v1.21;"));
    EXPECT_TRUE(ParseScpiIdentity("AGILENT TECHNOLOGIES,DSO-X 2012A,MY50210121", id));
    for (const char* bad : {"", "HTTP/1.1 400 Bad Request", ",MODEL,1,2", "MAKER,"}) EXPECT_FALSE(ParseScpiIdentity(bad, id)) << bad;

    const struct {
        std::string device;
        ETransportKind kind;
        std::string host;
        unsigned port;
    } addresses[] = {{"tcp://10.0.0.5", ETransportKind::Tcp, "10.0.0.5", 5555},
                     {"tcp://scope.lab:5025/", ETransportKind::Tcp, "scope.lab", 5025},
                     {"192.168.1.7:5555", ETransportKind::Tcp, "192.168.1.7", 5555},
                     {"tcp://[::1]:4000", ETransportKind::Tcp, "::1", 4000},
                     {"/dev/usbtmc0", ETransportKind::UsbTmc, "", 0},
                     {"/dev/ttyUSB0", ETransportKind::Serial, "", 0},
                     {"", ETransportKind::Serial, "", 0}};
    for (const auto& a : addresses) {
        EXPECT_EQ(TransportKindOf({2, a.device}), a.kind) << a.device;
        std::string host;
        unsigned port = 0;
        EXPECT_EQ(ParseTcpAddress(a.device, 5555, host, port), a.kind == ETransportKind::Tcp) << a.device;
        if (a.kind == ETransportKind::Tcp) {
            EXPECT_EQ(std::tuple(host, port), std::tuple(a.host, a.port));
        }
    }
    // A COM number standing for a network instrument opens it as one.
    setenv("KIV_COM9", "tcp://127.0.0.1:5025", 1);
    EXPECT_EQ(TransportKindOf({9, ""}), ETransportKind::Tcp);
    unsetenv("KIV_COM9");
    std::string host;
    unsigned port = 0;
    for (const char* bad : {"tcp://host:70000", "tcp://:5025", "tcp://a/b:1"}) EXPECT_FALSE(ParseTcpAddress(bad, 1, host, port)) << bad;
}

// The screen's 4000 samples: the point at or before each sample's time, the first and last
// point beyond the record's ends, the code a power of two coarser when the record needs it.
TEST(Scpi, ScreenRecordToTrace) {
    ScreenRecord r;
    r.volts = {0.0, 0.5, 1.0, -1.0};  // points at 0, 1, 2, 3 ms
    r.firstTime = 0, r.pointStep = 0.001, r.screenLeft = -0.001, r.screenSpan = 0.005;
    r.voltsPerDivision = 0.25, r.codeVolts = 0.01;
    RawTrace t;
    std::string why;
    ASSERT_TRUE(ScreenToTrace(r, t, why));
    // 1 V is 100 codes above the zero line: it fits at 10 mV a code.
    EXPECT_EQ(At(t.samples, {0, 799, 800, 1599, 1600, 2400, 3200, 3999}),
              (std::vector<int32_t>{100, 100, 100, 100, 150, 200, 0, 0}));
    EXPECT_EQ(std::tuple(t.timeExponent, t.timeStep, t.voltExponent, t.voltStep), std::tuple(-2, 1.25, -1, 10.0));
    // A 0.3 V sine on 2.5 V leaves the 256 codes at 10 mV: 20 mV a code holds 2.8 V.
    r.volts = {2.2, 2.8};
    ASSERT_TRUE(ScreenToTrace(r, t, why));
    EXPECT_EQ(std::tuple(t.voltStep, t.samples[0], t.samples[3999]), std::tuple(20.0, 210, 240));
    r.volts.clear();
    EXPECT_FALSE(ScreenToTrace(r, t, why));
    r.volts = {1.0}, r.pointStep = 0;
    EXPECT_FALSE(ScreenToTrace(r, t, why));
}

// A connection that is never accepted (the listener's queue full) gives up after 3 s;
// requests sent before the connection is made go out once it is; a closed one is the line
// gone. Both where the owner's loop watches the socket and where the transport's thread does.
class TcpTransport : public testing::TestWithParam<bool> {};

TEST_P(TcpTransport, Connects) {
    struct Owner : ITransportOwner {
        explicit Owner(bool watches) : watches(watches) {}
        void Post(std::function<void()> task) override {
            std::lock_guard<std::mutex> lock(m);
            tasks.push_back(std::move(task));
        }
        void OnBytes(const uint8_t* b, size_t n) override { got.append(reinterpret_cast<const char*>(b), n); }
        void OnTransportError(const std::string&) override {}
        void OnLineGone() override { gone = true; }
        bool WatchReadable(int fd, std::function<void()> call) override {
            if (watches) watched = fd, ready = std::move(call);
            return watches;
        }
        void StopWatching(int) override { watched = -1; }
        // Runs what was posted, and the watched socket's events, until done() or limit ms.
        bool Pump(const std::function<bool()>& done, int limitMs) {
            for (int waited = 0; waited < limitMs; waited += 5, usleep(5000)) {
                for (pollfd fd{watched, POLLIN, 0}; watched >= 0 && poll(&fd, 1, 0) > 0; fd.revents = 0) ready();
                std::vector<std::function<void()>> now;
                {
                    std::lock_guard<std::mutex> lock(m);
                    now.swap(tasks);
                }
                for (auto& t : now) t();
                if (done()) return true;
            }
            return false;
        }
        std::mutex m;
        std::vector<std::function<void()>> tasks;
        std::string got;
        bool gone = false;
        bool watches;
        int watched = -1;
        std::function<void()> ready;
    };
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET, at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    fcntl(listener, F_SETFL, O_NONBLOCK);  // accept is asked between the owner's events
    socklen_t size = sizeof at;
    getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size);
    const std::string port = std::to_string(ntohs(at.sin_port));
    const std::string address = "tcp://127.0.0.1:" + port;
    for (const std::string& host : {std::string("127.0.0.1"), std::string("localhost")}) {  // a name is looked up
        Owner owner(GetParam());
        CTcpTransport first;
        ASSERT_TRUE(first.Open(&owner, {2, "tcp://" + host + ":" + port}, {}) && first.StartReader());
        first.Send("*IDN?\n", 6);
        int accepted = -1;
        owner.Pump([&] { return (accepted = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK)) >= 0; }, 2000);
        ASSERT_GE(accepted, 0) << host;
        char request[16] = {};
        owner.Pump([&] { return recv(accepted, request, sizeof request, 0) > 0; }, 1000);
        EXPECT_STREQ(request, "*IDN?\n");
        ASSERT_EQ(send(accepted, "ID\n", 3, 0), 3);
        EXPECT_TRUE(owner.Pump([&] { return owner.got == "ID\n"; }, 2000));
        close(accepted);
        EXPECT_TRUE(owner.Pump([&] { return owner.gone; }, 2000));
        EXPECT_EQ(first.WhyGone(), "przyrząd zamknął połączenie");
    }
    // Fill the queue (its one place and a second, half-open connection), then one that hangs.
    std::vector<int> waiting;
    for (int i = 0; i < 2; ++i) {
        waiting.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        connect(waiting.back(), reinterpret_cast<sockaddr*>(&at), sizeof at);
    }
    usleep(50000);
    Owner owner(GetParam());
    CTcpTransport hanging;
    ASSERT_TRUE(hanging.Open(&owner, {2, address}, {}) && hanging.StartReader());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(owner.Pump([&] { return owner.gone; }, 6000));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GT(took, std::chrono::milliseconds(2500));
    EXPECT_EQ(hanging.WhyGone(), "brak połączenia w ciągu 3 s (czy przyrząd jest włączony i w tej sieci?)");
    for (int fd : waiting) close(fd);
    close(listener);
}
INSTANTIATE_TEST_SUITE_P(Scpi, TcpTransport, testing::Bool());

// "Automatycznie": *IDN? names the family, which fetches on the same connection (one
// *IDN? in all); a screen job brings the instrument's picture the same way.
TEST(Scpi, AutoFindsTheFamilyAndItsScreen) {
    const std::string dir = TestDir("scpi_auto");
    const auto resources = Resources();
    {
        NetSimulator sim(dir, "rigol-ds1000z", {"--stopped"});
        CAcquisition acquisition(dir + "/Kiv.cfg");
        acquisition.m_bSaveOnExit = false;
        acquisition.m_settings.nInstrument = kAutoInstrument;
        acquisition.m_settings.bPlot1 = acquisition.m_settings.bPlot2 = 1;
        CScopeDriver& driver = acquisition.PrepareDriver();
        driver.m_address = {2, sim.Address()};
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        EXPECT_EQ(driver.m_nState, 0);
        auto& autoDriver = dynamic_cast<CScpiAutoDriver&>(driver);
        ASSERT_TRUE(autoDriver.Chosen());
        EXPECT_EQ(std::string(autoDriver.Chosen()->Model().key), "rigol-ds1000z");
        EXPECT_EQ(autoDriver.FoundInstrument(), "RIGOL TECHNOLOGIES DS1054Z (DS1ZA000000001) — RIGOL DS1000Z");
        const auto requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), "*IDN?"), 1);
        EXPECT_EQ(requests.size(), 18u);  // 4 before the plots, 7 a plot

        autoDriver.m_job = CScpiDriver::EJob::Screen;
        EXPECT_EQ(host.Run(driver, 10000), 0);
        autoDriver.m_job = CScpiDriver::EJob::Waveforms;
        EXPECT_EQ(driver.m_nState, 0);
        EXPECT_EQ(autoDriver.ScreenImage().substr(1, 3), "PNG");
    }
    // Every family finds itself and brings both plots, each a waveform, not a flat line.
    for (int i = 0; i < kScopeModelCount; ++i) {
        const ScopeModel& model = ScopeModelAt(i);
        if (!model.scpi) continue;
        NetSimulator sim(dir, model.key, {});
        CAcquisition acquisition(dir + "/Kiv.cfg");
        acquisition.m_bSaveOnExit = false;
        acquisition.m_settings.nInstrument = kAutoInstrument;
        acquisition.m_settings.bPlot1 = acquisition.m_settings.bPlot2 = 1;
        acquisition.m_settings.nPlot1Channel = 1, acquisition.m_settings.nPlot2Channel = 2;
        CScopeDriver& driver = acquisition.PrepareDriver();
        driver.m_address = {2, sim.Address()};
        LoopHost host;
        EXPECT_EQ(host.Run(driver, 20000), 0) << model.key;
        EXPECT_EQ(driver.m_nState, 0) << model.key << ": " << (host.messages.boxes.empty() ? "" : host.messages.boxes[0].text);
        const CScopeDriver* chosen = dynamic_cast<CScpiAutoDriver&>(driver).Chosen();
        EXPECT_EQ(chosen ? std::string(chosen->Model().key) : "", model.key);
        const auto requests = sim.SettledRequests();
        EXPECT_EQ(std::count(requests.begin(), requests.end(), "*IDN?"), 1) << model.key;
        for (const RawTrace& t : acquisition.m_traces)
            EXPECT_GT(*std::max_element(std::begin(t.samples), std::end(t.samples)) -
                          *std::min_element(std::begin(t.samples), std::end(t.samples)), 20) << model.key;
    }
    NetSimulator other(dir, "rigol-ds1000z", {"--fault", "wrong-id"});
    RawTrace traces[2];
    CScpiAutoDriver alone(traces, {});
    alone.m_nPlot1Channel = 1, alone.m_address = {2, other.Address()};
    LoopHost host;
    EXPECT_EQ(host.Run(alone, 10000), 0);
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_EQ(host.messages.boxes[0].text, other.Address() + ": Kiv nie zna przyrządu KEITHLEY INSTRUMENTS INC. MODEL 2000 "
                                                              "(odpowiedź na *IDN?); wybierz model ręcznie, jeśli mówi "
                                                              "językiem jednego ze znanych");
    EXPECT_EQ(Resources(), resources);
}

// The USB instruments behind the kernel's USBTMC driver: in number order, with what sysfs says
// of each, one whose USB device cannot be found listed all the same.
TEST(Scpi, UsbTmcDevices) {
    namespace fs = std::filesystem;
    const std::string root = TestDir("usbtmc-devices");
    const fs::path usb = fs::path(root) / "sys/devices/usb1/1-2";
    fs::create_directories(usb / "1-2:1.0");
    for (const auto& [file, text] : std::vector<std::pair<std::string, std::string>>{
             {"idVendor", "1ab1\n"}, {"idProduct", "04ce\n"}, {"manufacturer", "Rigol Technologies.\n"},
             {"product", "DS1000Z Series\n"}, {"serial", "DS1ZA000000001\n"}})
        WriteBytes((usb / file).string(), text);
    const fs::path usbmisc = fs::path(root) / "sys/class/usbmisc";
    for (const char* name : {"usbtmc10", "usbtmc2", "usbtmc", "hiddev0"}) fs::create_directories(usbmisc / name);
    fs::create_directory_symlink("../../../devices/usb1/1-2/1-2:1.0", usbmisc / "usbtmc2/device");
    fs::create_directories(fs::path(root) / "dev");
    WriteBytes(root + "/dev/usbtmc2", "");
    std::vector<std::string> got;
    for (const SerialDevice& d : EnumerateUsbTmcDevices({root + "/sys", root + "/dev"}))
        got.push_back(d.Description().substr(root.size()) + " " + d.usbId + (d.accessible ? " rw" : " -"));
    EXPECT_EQ(got, (std::vector<std::string>{
                       "/dev/usbtmc2 — Rigol Technologies. DS1000Z Series (DS1ZA000000001) 1ab1:04ce rw",
                       "/dev/usbtmc10  -"}));
    EXPECT_NE(UsbTmcPermissionAdvice("/dev/usbtmc2").find("TAG+=\"uaccess\""), std::string::npos);
}
