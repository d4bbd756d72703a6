// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <chrono>
#include <cmath>
#include <filesystem>

#include "acquisition/CAcquisition.h"
#include "acquisition/drivers/rigol-ds1000z/CRigolDs1000zDriver.h"
#include "analysis/Measurements.h"
#include "document/CKivDoc.h"
#include "support/NetSimulator.h"

namespace {

// One update of a live view, the program's own part: two 1200-point screen records to 4000
// samples each, into the document, the current mode computed again and measured.
void BM_RunUpdateCore(benchmark::State& state) {
    CKivDoc doc;
    CAcquisition acquisition(std::filesystem::temp_directory_path() / "kiv-bench-Kiv.cfg");
    acquisition.m_bSaveOnExit = false;
    ScreenRecord records[2];
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < 1200; ++i)
            records[p].volts.push_back(std::round(std::sin(i * 0.05 + p) * 25) * 0.04);
        records[p].firstTime = -0.006, records[p].pointStep = 1e-5;
        records[p].screenLeft = -0.006, records[p].screenSpan = 0.012;
        records[p].voltsPerDivision = 1, records[p].codeVolts = 0.04;
    }
    CScopeDriver& driver = acquisition.Driver(FindScopeModel("rigol-ds1000z"));
    acquisition.m_pCurrent = &driver;
    driver.m_nPlot1Channel = 1, driver.m_nPlot2Channel = 2, driver.m_nState = 0;
    std::string why;
    for (auto _ : state) {
        for (int p = 0; p < 2; ++p) ScreenToTrace(records[p], acquisition.m_traces[p], why);
        acquisition.FinishFetch(doc.Source(), 0);
        doc.DataChanged();
        benchmark::DoNotOptimize(doc.GetCurrentMode()->GetDisplaySamples(1));
        benchmark::DoNotOptimize(doc.MeasureCurrentMode(false));
    }
}
BENCHMARK(BM_RunUpdateCore)->Unit(benchmark::kMicrosecond);

const char* BenchDir() {
    static const std::string dir = [] {
        auto d = std::filesystem::temp_directory_path() / "kiv-bench-scpi";
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir.c_str();
}

// A whole fetch of two plots from the simulated DS1054Z on loopback: the driver over the
// TCP transport, on a host that runs the dialogue's events as they come.
bool Fetch(CRigolDs1000zDriver& driver) {
    LoopHost host;
    return host.Run(driver, 5000) == 0 && driver.m_nState == 0;
}

// The yardstick: the same requests on a plain blocking socket, each reply read whole before
// the next request, as fast as the simulator sends them.
bool RawExchange(unsigned port) {
    static const std::vector<std::pair<std::string, int>> script = [] {
        std::vector<std::pair<std::string, int>> s{{"*IDN?", 0}, {":TRIG:STAT?", 0}, {":TIM:SCAL?", 0}, {":TIM:OFFS?", 0}};
        for (const char* n : {"1", "2"}) {
            const std::string c = n;
            s.insert(s.end(), {{":CHAN" + c + ":DISP?", 0}, {":CHAN" + c + ":SCAL?", 0}, {":WAV:SOUR CHAN" + c, -1},
                               {":WAV:MODE NORM", -1}, {":WAV:FORM BYTE", -1}, {":WAV:PRE?", 0}, {":WAV:DATA?", 1212}});
        }
        return s;
    }();
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET, at.sin_port = htons(static_cast<uint16_t>(port));
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    bool whole = connect(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
    char buffer[4096];
    for (const auto& [request, length] : script) {
        const std::string line = request + "\n";
        if (!whole || send(fd, line.data(), line.size(), 0) < 0) break;
        if (length < 0) continue;
        std::string reply;
        while ((length == 0 && (reply.empty() || reply.back() != '\n')) || (length > 0 && int(reply.size()) < length)) {
            const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                whole = false;
                break;
            }
            reply.append(buffer, static_cast<size_t>(got));
        }
    }
    close(fd);
    return whole;
}

// The simulated DS1054Z, stopped, and a driver of both its first channels on it.
struct StoppedRigol {
    NetSimulator sim{BenchDir(), "rigol-ds1000z", {"--stopped"}};
    RawTrace traces[2];
    CRigolDs1000zDriver driver{traces};
    StoppedRigol() {
        driver.m_nPlot1Channel = 1, driver.m_nPlot2Channel = 2;
        driver.m_address = {2, sim.Address()};
    }
};

void BM_RigolFetchLoopback(benchmark::State& state) {
    StoppedRigol rigol;
    for (auto _ : state)
        if (!Fetch(rigol.driver)) state.SkipWithError("the fetch failed");
}
BENCHMARK(BM_RigolFetchLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RigolRawExchange(benchmark::State& state) {
    NetSimulator sim(BenchDir(), "rigol-ds1000z", {"--stopped"});
    for (auto _ : state)
        if (!RawExchange(sim.Port())) state.SkipWithError("the exchange failed");
}
BENCHMARK(BM_RigolRawExchange)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two in turn against one simulator, so that the machine's mood weighs on both alike:
// fetch_cost is the fetch's wall time over the plain exchange's.
void BM_RigolFetchOverExchange(benchmark::State& state) {
    StoppedRigol rigol;
    double seconds[2] = {};
    for (auto _ : state) {
        for (int fetch = 0; fetch < 2; ++fetch) {
            const auto start = std::chrono::steady_clock::now();
            if (!(fetch ? Fetch(rigol.driver) : RawExchange(rigol.sim.Port()))) state.SkipWithError("the fetch failed");
            seconds[fetch] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    state.counters["fetch_cost"] = seconds[0] > 0 ? seconds[1] / seconds[0] : 0;
}
BENCHMARK(BM_RigolFetchOverExchange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
