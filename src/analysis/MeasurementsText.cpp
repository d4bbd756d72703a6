// SPDX-License-Identifier: GPL-3.0-or-later
// The measurements as text: each value in the program's notation, and the table the panel
// paints and kivtool prints.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>

#include "analysis/CMeasureStats.h"
#include "analysis/Measurements.h"
#include "platform/Translate.h"
#include "units/SINotation.h"

namespace {

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The unit of amplitude per second and of amplitude times second: "V/s" and "Vs" of volts,
// and of a derivative's "V/s" its "V/s²" and "V".
std::string PerSecond(const std::string& u) {
    if (EndsWith(u, "/s")) return u + "²";
    if (EndsWith(u, "s")) return u.substr(0, u.size() - 1);
    return u + "/s";
}
std::string TimesSecond(const std::string& u) {
    if (EndsWith(u, "/s")) return u.substr(0, u.size() - 2);
    if (EndsWith(u, "s")) return u + "²";
    return u + "s";
}

// value as printf's "%.Nf" writes it, N = decimals (0 to 2), -0 as 0. printf rounds the exact
// binary value; a product within a millionth of a tie is left to it, the rest takes no printf's
// cost (a drag reformats a dozen figures a frame).
std::string Fixed(double value, int decimals) {
    value += 0.0;
    static constexpr double kScale[] = {1, 10, 100};
    static constexpr long long kWhole[] = {1, 10, 100};
    const double x = std::fabs(value) * kScale[decimals], whole = std::floor(x), part = x - whole;
    char text[64];
    if (!(x < 1e9) || std::fabs(part - 0.5) < 1e-6) {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return text;
    }
    const auto n = static_cast<long long>(part > 0.5 ? whole + 1 : whole);
    char* p = text;
    if (std::signbit(value)) *p++ = '-';  // as printf: a small negative reads -0.00
    p = std::to_chars(p, text + sizeof text, n / kWhole[decimals]).ptr;
    if (decimals) {
        *p++ = '.';
        long long fraction = n % kWhole[decimals];
        for (int d = decimals - 1; d >= 0; --d, fraction /= 10) p[d] = static_cast<char>('0' + fraction % 10);
        p += decimals;
    }
    return std::string(text, p);
}

}  // namespace

std::string MeasureText(const std::optional<double>& value, MeasureUnit unit, const std::string& amplitudeUnit) {
    if (!value || !std::isfinite(*value)) return "—";
    switch (unit) {
    case MeasureUnit::Percent: return Fixed(*value, 2) + " %";
    case MeasureUnit::Degrees: return Fixed(*value, 1) + "°";
    case MeasureUnit::Count: return Fixed(*value, *value == std::floor(*value) ? 0 : 2);
    default: break;
    }
    std::string text;
    FormatSI(text, *value, 0);
    switch (unit) {
    case MeasureUnit::Time: text += 's'; break;
    case MeasureUnit::Frequency: text += "Hz"; break;
    case MeasureUnit::Slew: text += PerSecond(amplitudeUnit); break;
    case MeasureUnit::Area: text += TimesSecond(amplitudeUnit); break;
    default: text += amplitudeUnit;
    }
    return text;
}

const char* const kNoMeasurements = KIV_TR_NOOP("Kiv", "Brak pomiarów w tym trybie");

std::string MeasureName::Text() const { return (source ? KivTranslate("Kiv", source) : std::string()) + literal; }

MeasureGrid BuildMeasureGrid(const ModeMeasurements& m, const MeasureSet& chosen, const CMeasureStats* stats) {
    MeasureGrid g;
    FillMeasureGrid(g, m, chosen, stats);
    return g;
}

void FillMeasureGrid(MeasureGrid& g, const ModeMeasurements& m, const MeasureSet& chosen, const CMeasureStats* stats) {
    g.head.clear(), g.labels.clear(), g.cells.clear();
    const std::vector<MeasureId> rows = m.Rows(chosen);
    const size_t shown = rows.size();
    if (shown == 0) return;
    const ModeMeasurements::Column* present[2];
    size_t count = 0;
    for (const auto& c : m.columns)
        if (c) present[count++] = &*c;
    const std::span<const ModeMeasurements::Column* const> curves(present, count);
    auto cell = [](const std::optional<double>& v, MeasureUnit unit, const std::string& amplitudeUnit) {
        return MeasureCell{v, unit, amplitudeUnit, false};
    };
    g.head.reserve(1 + (stats ? 6 : curves.size()));
    g.head.emplace_back();
    g.labels.reserve(shown * curves.size());
    g.cells.reserve(shown * curves.size() * (stats ? 6 : 1));
    if (!stats) {
        for (const auto* c : curves) g.head.push_back({nullptr, c->name});
        for (MeasureId id : rows) {
            const MeasureInfo& info = MeasureTable()[id];
            g.labels.push_back({info.label, {}});
            const bool between = info.group == MeasureGroup::Between;
            for (size_t k = 0; k < curves.size(); ++k) {
                if (between && k > 0) g.cells.push_back({{}, info.unit, {}, true});
                else g.cells.push_back(cell(between ? m.between[id] : curves[k]->values[id], info.unit,
                                            curves[k]->amplitudeUnit));
            }
        }
        return;
    }
    for (const char* h : {KIV_TR_NOOP("Kiv", "Bieżąca"), KIV_TR_NOOP("Kiv", "Średnia"), KIV_TR_NOOP("Kiv", "Min"),
                          KIV_TR_NOOP("Kiv", "Maks")})
        g.head.push_back({h, {}});
    g.head.push_back({nullptr, "σ"});
    g.head.push_back({nullptr, "n"});
    // A row a measurement and curve: the value now, then the records' statistics.
    auto statRow = [&](MeasureName label, const std::optional<double>& now, const MeasureInfo& info,
                       const std::string& unit, int plot, MeasureId id) {
        g.labels.push_back(std::move(label));
        const CMeasureStats::Summary s = stats->Find(m.mode, plot, id);
        auto some = [&](double v) { return s.count ? std::optional<double>(v) : std::nullopt; };
        for (const auto& v : {now, some(s.mean), some(s.min), some(s.max), s.deviation})
            g.cells.push_back(cell(v, info.unit, unit));
        g.cells.push_back(cell(static_cast<double>(s.count), MeasureUnit::Count, {}));
    };
    for (MeasureId id : rows) {
        const MeasureInfo& info = MeasureTable()[id];
        if (info.group == MeasureGroup::Between) {
            statRow({info.label, {}}, m.between[id], info, curves[0]->amplitudeUnit, CMeasureStats::kBetween, id);
            continue;
        }
        for (const auto* c : curves) {
            std::string suffix;
            if (curves.size() > 1) suffix = " (" + (c->plot ? std::to_string(c->plot) : c->name) + ")";
            statRow({info.label, suffix}, c->values[id], info, c->amplitudeUnit, c->plot, id);
        }
    }
}

std::string MeasureGridText(const MeasureGrid& grid, bool tab) {
    if (grid.Empty()) return KivTranslate("Kiv", kNoMeasurements) + "\n";
    std::vector<std::vector<std::string>> cells;
    const size_t columns = grid.head.size() - 1;
    std::vector<std::string>& head = cells.emplace_back();
    for (const MeasureName& h : grid.head) head.push_back(h.Text());
    for (size_t r = 0; r < grid.labels.size(); ++r) {
        std::vector<std::string>& row = cells.emplace_back(1, grid.labels[r].Text());
        for (size_t c = 0; c < columns; ++c) row.push_back(grid.cells[r * columns + c].Text());
    }
    // Widths in characters, not bytes: the labels and units carry Polish letters.
    auto width = [](const std::string& s) {
        return std::count_if(s.begin(), s.end(),
                             [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; });
    };
    std::vector<std::ptrdiff_t> widths(columns + 1, 0);
    for (const auto& row : cells)
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], width(row[i]));
    std::string out;
    for (const auto& row : cells) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) line += tab ? "\t" : "  ";
            // Names left, figures right, as a table of figures reads.
            const std::string pad(tab ? 0 : static_cast<size_t>(widths[i] - width(row[i])), ' ');
            line += i == 0 ? row[i] + (i + 1 < row.size() ? pad : "") : pad + row[i];
        }
        if (!tab) line.erase(line.find_last_not_of(' ') + 1);
        out += line + '\n';
    }
    return out;
}
