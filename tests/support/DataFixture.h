// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "document/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

// A document wired to recording fakes, as a window would wire it.
struct HostedDoc {
    FakeHost host;
    CKivDoc doc{host.Platform()};
    HostedDoc() { doc.SetView(&host.view); }
};

inline std::string FileText(const std::string& path) {
    const std::vector<uint8_t> b = FileBytes(path);
    return {b.begin(), b.end()};
}

// A DSO file of one channel, YMU 0.004 and XIN 2e-3 in the units given, the values as written.
inline std::string Dso(const std::vector<int64_t>& v, const std::string& yun = "V", const std::string& xun = "s",
                       const std::string& nrp = "4000") {
    std::string s = "DSO-1\r\nCH1;YUN:" + yun + ";YMU:0.004;\r\nXIN:2e-3;XUN:" + xun + ";NRP:" + nrp + ";\r\n";
    for (int64_t x : v) s += std::to_string(x) + ",";
    return s + "\r\n";
}

// A Tektronix CSV file: "time,value" lines dt apart, line 249 at time 0.
inline std::string Tek(const std::function<std::string(int)>& value, int lines = 500, double dt = 0.008) {
    std::string s;
    for (int j = 0; j < lines; ++j) s += std::to_string((j - 249) * dt) + "," + value(j) + "\r\n";
    return s;
}

// n codes of a record from index at, for comparing runs of samples at once.
inline std::vector<int> Codes(const int32_t* codes, int at, int n) { return {codes + at, codes + at + n}; }
