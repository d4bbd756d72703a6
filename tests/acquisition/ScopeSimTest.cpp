// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string>
#include <vector>

#include "acquisition/ScopeRegistry.h"
#include "support/ScopeSimulator.h"
#include "support/TestFiles.h"

constexpr char kIdentityRequest[] = "ACQUIRE:STATE STOP;:LOCK ALL;:ID?\r";
constexpr char kIdentity[] = "ID TEK/TDS 224,CF:91.1CT,FV:v2.12 TDS2CM:CMV:v1.04\n";

// In Polish, the simulator's source language, unless lang says otherwise.
static std::pair<int, std::string> RunSim(const std::string& args, const std::string& lang = "pl") {
    return RunCommand("KIV_LANG=" + lang + " " KIV_SCOPE_SIM_PATH " " + args);
}

// The line faults: lost bytes counted over all replies, one flipped bit a byte (the same
// seed, the same noise), a stall that loses nothing, a hang-up half-way through the curve.
TEST(ScopeSim, LineFaults) {
    const std::string dir = TestDir("scope-sim-faults"), identity = kIdentity;
    {
        // Bytes 20 and 40 of the first identity, 60, 80 and 100 of the second. The model by
        // its Kiv.cfg index, as scripts/run names it: 2 is the TDS224.
        Simulator sim(dir, {"--fault", "drop:20"}, "2");
        ASSERT_TRUE(sim.Open());
        std::string first = identity, second = identity;
        first.erase(39, 1), first.erase(19, 1);
        second.erase(48, 1), second.erase(28, 1), second.erase(8, 1);
        EXPECT_EQ(sim.Exchange(kIdentityRequest, 51, "\n"), first);
        EXPECT_EQ(sim.Exchange("ID?\r", 51, "\n"), second);
    }
    auto noisy = [&](const char* seed) {
        Simulator sim(dir, {"--fault", "noise:1", "--seed", seed});
        return sim.Open() ? sim.Exchange(kIdentityRequest, 51) : std::string();
    };
    const std::string a = noisy("7");
    ASSERT_EQ(a.size(), identity.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(std::popcount(static_cast<unsigned char>(a[i] ^ identity[i])), 1) << i;
    EXPECT_EQ(noisy("7"), a);
    EXPECT_NE(noisy("8"), a);

    std::string clean;  // the curve without a fault
    for (const std::string fault : {"", "stall:200", "hangup-mid"}) {
        SCOPED_TRACE(fault);
        Simulator sim(dir, fault.empty() ? std::vector<std::string>{} : std::vector<std::string>{"--fault", fault});
        ASSERT_TRUE(sim.Open());
        EXPECT_EQ(sim.Exchange(kIdentityRequest, 51), identity);
        EXPECT_TRUE(sim.Exchange("SELECT:CH1 ON;:DATA:SOURCE CH1;:WFMPRE:WFID?\r", 200, "mode\n").ends_with("mode\n"));
        const std::string curve = sim.Exchange("HEADER ON;:DATA:ENCDG RPBINARY;WIDTH 1;:CURVE?\r", 2514);
        if (fault.empty()) {
            clean = curve;
            ASSERT_EQ(clean.size(), 2514u);
        } else if (fault != "hangup-mid") {
            EXPECT_EQ(curve, clean);
        } else {
            // What the far side had not read when the line went is lost.
            EXPECT_LE(curve.size(), 2514u / 2);
            EXPECT_EQ(curve, clean.substr(0, curve.size()));
            EXPECT_EQ(sim.ExitStatus(), 0);
        }
    }
}

// --help explains every option and fault and lists the models it plays, from its own table:
// each model of the driver registry, by the same key and name, in the order of their Kiv.cfg
// index. A wrong call is one line and status 2, a failure at run time status 1.
TEST(ScopeSim, CommandLine) {
    const auto [helped, help] = RunSim("--help");
    EXPECT_EQ(helped, 0);
    // The names in one column, two spaces after the longest key.
    size_t width = 0;
    for (int i = 0; i < kScopeModelCount; ++i) width = std::max(width, std::string(ScopeModelAt(i).key).size());
    std::string models, keys;
    for (int i = 0; i < kScopeModelCount; ++i) {
        const std::string key = ScopeModelAt(i).key;
        models += "  " + key + std::string(width + 2 - key.size(), ' ') + ScopeModelAt(i).name + "\n";
        keys += (i ? ", " : "") + key;
    }
    EXPECT_NE(help.find("Modele:\n" + models + "\n"), std::string::npos) << help;
    for (const char* entry : {"--model MODEL", "--link ŚCIEŻKA", "--ch1..--ch4 KSZTAŁT", "--vdiv V", "--tdiv S",
                              "--amp V", "--freq HZ", "--baud SZYBKOŚĆ", "--baud-delay", "--fault USTERKA", "--seed S",
                              "--log PLIK", "--once", "-h, --help", "short", "garbage", "wrong-id", "silent",
                              "hangup ", "drop:N", "noise:P", "stall:MS", "hangup-mid"})
        EXPECT_NE(help.find(std::string("\n  ") + entry), std::string::npos) << entry;

    const std::string known = " (znane: " + keys + ")\n";
    const std::pair<const char*, std::string> usage[] = {
        {"", "brak opcji --model (jeden z: " + keys + ")\n"},
        {"--model hp54600", "nieznany model hp54600" + known},
        {"--model", "opcja --model wymaga wartości\n"},
        {"--model lt224 --once=1", "opcja --once nie przyjmuje wartości\n"},
        {"--model lt224 --jam", "nieznana opcja --jam\n"},
        {"--model lt224 extra", "nieoczekiwany argument extra\n"},
        {"--model lt224 --vdiv 0", "zła wartość opcji --vdiv: 0\n"},
        {"--model lt224 --ch3 saw", "zła wartość opcji --ch3: saw\n"},
        {"--model lt224 --baud 9600.5", "zła wartość opcji --baud: 9600.5\n"},
        {"--model lt224 --fault drop:0", "--fault drop:N wymaga liczby całkowitej N >= 1, a nie drop:0\n"},
        {"--model lt224 --fault noise:x", "--fault noise:P wymaga prawdopodobieństwa 0 <= P <= 1, a nie noise:x\n"},
        {"--model lt224 --fault stall", "--fault stall:MS wymaga całkowitej liczby milisekund MS >= 0, a nie stall\n"},
        {"--model lt224 --fault jam", "nieznana usterka jam\n"},
    };
    for (const auto& [args, message] : usage)
        EXPECT_EQ(RunSim(args), std::pair(2, "kiv-scope-sim: " + message)) << args;
    // Every index Kiv.cfg may store names a model (then the link fails, at run time), the
    // next one none: with the list above, each index names the registry's model.
    const std::string noLink = "kiv-scope-sim: nie można utworzyć dowiązania /nonexistent/ttySIM: "
                               "No such file or directory\n";
    for (int i = 0; i < kScopeModelCount; ++i)
        EXPECT_EQ(RunSim("--model " + std::to_string(i) + " --link /nonexistent/ttySIM"), std::pair(1, noLink)) << i;
    EXPECT_EQ(RunSim("--model lt224 --link /nonexistent/ttySIM"), std::pair(1, noLink));
    const std::string next = std::to_string(kScopeModelCount);
    EXPECT_EQ(RunSim("--model " + next), std::pair(2, "kiv-scope-sim: nieznany model " + next + known));
}

// The simulator speaks kiv's language: English help and errors with KIV_LANG=en, any line of
// its help within 79 columns in either language (characters, not bytes), --version as kivtool's.
TEST(ScopeSim, LanguageAndVersion) {
    const struct { const char* lang; const char* args; int status; std::string starts; } cases[] = {
        {"en", "--help", 0, "Usage: kiv-scope-sim --model MODEL [options]\n"},
        {"pl", "--help", 0, "Użycie: kiv-scope-sim --model MODEL [opcje]\n"},
        {"en", "--model lt224 --jam", 2, "kiv-scope-sim: unknown option --jam\n"},
        {"en", "--model lt224 --fault drop:0", 2, "kiv-scope-sim: --fault drop:N needs an integer N >= 1, not drop:0\n"},
        {"en", "--version", 0, "kiv-scope-sim " KIV_SIM_VERSION "\n"},
    };
    for (const auto& c : cases) {
        if (!KIV_SIM_SPEAKS_ENGLISH && c.lang == std::string("en")) continue;  // built without its translation
        const auto [status, out] = RunSim(c.args, c.lang);
        EXPECT_EQ(status, c.status) << c.lang << " " << c.args;
        EXPECT_TRUE(out.starts_with(c.starts)) << c.lang << " " << c.args << ": " << out;
        if (c.status) {
            EXPECT_EQ(out, c.starts);  // an error is that one line
        }
        size_t start = 0, widest = 0;
        for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
            size_t columns = 0;
            for (size_t i = start; i < end; ++i) columns += (static_cast<unsigned char>(out[i]) & 0xC0) != 0x80;
            widest = std::max(widest, columns);
        }
        EXPECT_LE(widest, 79u) << c.lang << " " << c.args;
    }
}
