// SPDX-License-Identifier: GPL-3.0-or-later
// Import readers of the plot pair: DSO files and Tektronix 460A CSV files. Both build
// the whole plot aside and store it only once the file has been read to the end.
#include "data/CDataSrcImport.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "data/CDataSrc.h"
#include "data/QuarterSteps.h"
#include "data/SafeFile.h"

namespace {

constexpr int kTekLines = 500;
constexpr int kTekSamplesPerLine = kSamples / kTekLines;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// The decimal number at the start of [p, end), read leniently: leading blanks, sign,
// digits, point, exponent; the rest is ignored and no number at all reads 0. Decimal
// grammar only (no "inf", "nan" or hex) and independent of the desktop's locale, which
// under a Polish locale would want a decimal comma. A number too large for a double
// reads as the largest one, so no infinity reaches the scales.
double TextToDouble(const char* p, const char* end) {
    while (p < end && IsBlank(*p)) ++p;
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    const char* digits = p;
    while (p < end && IsDigit(*p)) ++p;
    bool any = p > digits;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        while (p < end && IsDigit(*p)) ++p;
        any = any || p > fraction;
    }
    if (!any) return 0.0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-')) ++q;
        if (q < end && IsDigit(*q)) {
            while (q < end && IsDigit(*q)) ++q;
            p = q;
        }
    }
    const std::string text(start, p);
    const double v = strtod_l(text.c_str(), nullptr, CLocale());
    return std::isinf(v) ? std::copysign(DBL_MAX, v) : v;
}

// Decimal integer at the start of [p, end), saturating at the 32-bit range.
int32_t TextToInt(const char* p, const char* end) {
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    int64_t v = 0;
    for (; p < end && IsDigit(*p); ++p) v = std::min<int64_t>(v * 10 + (*p - '0'), int64_t{1} << 32);
    return Sat32(negative ? -v : v);
}

// One line as the text line reader gives it, taken off the front of rest: LF ends it,
// a CR right before the LF is dropped (a lone CR stays), and the text ends at a NUL.
// Past the end: empty.
std::string_view ReadLine(std::string_view& rest) {
    const size_t lf = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, lf);
    rest.remove_prefix(std::min(lf + 1, rest.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line.substr(0, line.find('\0'));
}

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Where the text of a key starts. A missing key is not an error: the text is then read
// from where the failed search leaves the position (-1 + the key's length).
size_t AfterKey(std::string_view line, std::string_view key) {
    const size_t p = line.find(key);
    return std::min(p == std::string_view::npos ? key.size() - 1 : p + key.size(), line.size());
}

// End of a field: the next ';' from at, or the end of the line.
size_t FieldEnd(std::string_view line, size_t at) { return std::min(line.find(';', at), line.size()); }

// "ms", "mV", "MV": a prefix letter (capitals and anything else below 'a' are shifted
// by 32 first) gives the exponent and the next character the unit; any other first
// character is itself the unit at exponent 0.
void DecodeUnit(std::string_view text, AxisScale& scale) {
    static const char kPrefixes[] = {'f', 'p', 'n', 'u', 'm', ' '};
    const int first = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
    const int c = first < 'a' ? first + 32 : first;
    for (int i = 0; i < 6; ++i) {
        if (c == kPrefixes[i]) {
            scale.exponent = i - 5;
            scale.unit = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
            return;
        }
    }
    scale.exponent = 0;
    scale.unit = first;
}

// The instrument repeats each point four times at slow time bases; such a record is
// redrawn between its points.
void SmoothSteps(std::array<int32_t, kSamples>& v) {
    for (int i = 0; i < kSamples; i += 4)
        if (v[i + 1] != v[i] || v[i + 2] != v[i] || v[i + 3] != v[i]) return;
    InterpolateQuarterSteps(v.data());
}

}  // namespace

double TekCsvAmplitudeStep(double r) {
    static const double kMantissas[3] = {2, 4, 8};
    if (r > 1) {
        double decade = 1;  // powers of ten up to 10^15 are exact, so are their products
        for (int k = 0; k <= 15; ++k, decade *= 10)
            for (double m : kMantissas)
                if (m * decade >= r) return m * decade;
        return 0;
    }
    // Each value is m / 10^k, never a running product: 0.04 must equal 3.0 / 75 exactly.
    double previous = 2;
    double decade = 10;
    for (int k = 1; k <= 15; ++k, decade *= 10) {
        for (int i = 2; i >= 0; --i) {
            const double value = kMantissas[i] / decade;
            if (value <= r) return previous;
            previous = value;
        }
    }
    return previous;  // r below the whole series, 0 included: its smallest value
}

int CDataSrc::ReadDso(const std::string& path, int plot) {
    std::vector<uint8_t> bytes;
    return ReadWholeFile(path, bytes) ? ReadDsoBytes(bytes, plot) : 0;
}

int CDataSrc::ReadDsoBytes(std::span<const uint8_t> bytes, int plot) {
    std::string_view rest = AsText(bytes);
    std::string_view line[4];
    for (std::string_view& l : line) l = ReadLine(rest);

    AxisScale amp, time;
    const std::string_view ys = line[1];
    const size_t yun = AfterKey(ys, "YUN:");
    DecodeUnit(ys.substr(yun, FieldEnd(ys, yun) - yun), amp);
    const size_t ymu = AfterKey(ys, "YMU:");
    amp.step = TextToDouble(ys.data() + ymu, ys.data() + ys.size());

    const std::string_view xs = line[2];
    const size_t xun = AfterKey(xs, "XUN:");
    DecodeUnit(xs.substr(xun, FieldEnd(xs, xun) - xun), time);
    const size_t xin = AfterKey(xs, "XIN:");
    time.step = TextToDouble(xs.data() + xin, xs.data() + FieldEnd(xs, xin));
    const size_t nrp = AfterKey(xs, "NRP:");
    if (TextToInt(xs.data() + nrp, xs.data() + xs.size()) != kSamples) return 0;

    // Values end with ","; a missing comma reads 0. 0 and 255 mark no reading and take
    // the value before; the first has none and takes 128, the zero line (code 100).
    const std::string_view vs = line[3];
    std::array<int32_t, kSamples> v;
    size_t pos = 0;
    bool commas = true;
    for (int i = 0; i < kSamples; ++i) {
        int32_t value = 0;
        if (commas) {
            const size_t comma = vs.find(',', pos);
            if (comma == std::string_view::npos) {
                commas = false;  // no later search can succeed either
            } else {
                value = TextToInt(vs.data() + pos, vs.data() + comma);
                pos = comma + 1;
            }
        }
        if (value == 0 || value == 255) value = i == 0 ? 128 : v[i - 1];
        v[i] = value;
    }
    SmoothSteps(v);

    int32_t* raw = plot == 1 ? m_nRaw1 : m_nRaw2;
    for (int i = 0; i < kSamples; ++i) raw[i] = Sat32(int64_t{v[i]} - 28);
    (plot == 1 ? m_timeScale1 : m_timeScale2) = time;
    (plot == 1 ? m_ampScale1 : m_ampScale2) = amp;
    m_nPresent |= plot == 1 ? 1 : 2;
    m_nEnabled = m_nPresent;
    return 1;
}

int CDataSrc::ReadTekCsv(const std::string& path, int plot) {
    std::vector<uint8_t> bytes;
    return ReadWholeFile(path, bytes) ? ReadTekCsvBytes(bytes, plot) : 0;
}

// Decisions beyond the file format: fewer than 500 complete lines are refused (the
// record would have no defined end); a largest magnitude beyond the step series
// (above 6e17) is refused too, as no step can hold it in 75 codes.
int CDataSrc::ReadTekCsvBytes(std::span<const uint8_t> bytes, int plot) {
    std::array<double, kTekLines> values;
    double lastTime = 0;
    int lines = 0;
    std::string line;
    bool afterCr = false;
    for (const uint8_t byte : bytes) {
        const char c = static_cast<char>(byte);
        if (c == ';') return 0;
        if (lines == kTekLines) continue;  // the rest is only searched for ';'
        if (afterCr) {
            // CR LF ends a line; CR and any other byte keep that byte alone.
            afterCr = false;
            if (c != '\n') {
                line += c;
                continue;
            }
            const char* text = line.data();
            const size_t comma = line.find(',');
            if (comma == std::string::npos) {
                lastTime = 0;  // no time before a missing comma; the whole line is the value
                values[lines] = TextToDouble(text, text + line.size());
            } else {
                lastTime = TextToDouble(text, text + comma);
                values[lines] = TextToDouble(text + comma + 1, text + line.size());
            }
            ++lines;
            line.clear();
        } else if (c == '\r') {
            afterCr = true;
        } else {
            line += c;
        }
    }
    if (lines < kTekLines) return 0;

    std::array<double, kSamples> record;
    for (int i = 0; i < kSamples; ++i) record[i] = values[i / kTekSamplesPerLine];
    // The file runs from minus the last time to plus it over the 4000 samples.
    return StoreMeasured(record.data(), lastTime * 0.0005, plot);
}

int CDataSrc::StoreMeasured(const double* values, double timeStep, int plot, bool nearest) {
    const auto [lo, hi] = std::minmax_element(values, values + kSamples);
    const double step = TekCsvAmplitudeStep(std::max(std::fabs(*lo), std::fabs(*hi)) / 75);
    if (step == 0) return 0;

    int32_t* raw = plot == 1 ? m_nRaw1 : m_nRaw2;
    for (int i = 0; i < kSamples; ++i)
        raw[i] = Sat32(int64_t{Trunc(nearest ? std::round(values[i] / step) : values[i] / step)} + 100);
    AxisScale& amp = plot == 1 ? m_ampScale1 : m_ampScale2;
    AxisScale& time = plot == 1 ? m_timeScale1 : m_timeScale2;
    amp.exponent = 0;
    amp.step = step;
    time.exponent = 0;
    time.step = timeStep;
    m_nPresent |= plot == 1 ? 1 : 2;
    m_nEnabled = m_nPresent;
    return 1;
}
