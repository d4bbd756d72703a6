// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool generate, meanrms and measure: the generator dialog's checks, the mean/RMS strings
// and the measurements panel's numbers, of one document or the statistics of many.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "analysis/Generator.h"
#include "analysis/MeanRms.h"
#include "analysis/CMeasureStats.h"
#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"
#include "document/CKivDoc.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"
#include "units/NumberText.h"

namespace {

// --only KEY,KEY...: those rows, in the table's order; all without it. False: a usage error written.
bool ChosenRows(const KivToolCall& call, MeasureSet& rows, int& status) {
    rows = AllMeasurements();
    const auto only = call.Value("only");
    if (!only) return true;
    rows.reset();
    for (const QString& key : QString::fromStdString(*only).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const MeasureId id = FindMeasure(key.trimmed().toStdString());
        if (id == kMeasCount) {
            std::string keys;
            for (const MeasureInfo& info : MeasureTable()) keys += (keys.empty() ? "" : ", ") + std::string(info.key);
            status = KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "nieznany pomiar %1 (pomiary: %2)"),
                                              {key.trimmed().toStdString(), keys}));
            return false;
        }
        rows.set(id);
    }
    return true;
}

QJsonValue Number(const std::optional<double>& v) {
    return v && std::isfinite(*v) ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

// A curve's rows (or the pair's) as JSON: each value, or with statistics an object of them.
QJsonObject RowsJson(const ModeMeasurements& m, const MeasureSet& rows, const MeasureValues& values, bool between,
                     const CMeasureStats* stats, int plot) {
    QJsonObject out;
    for (MeasureId id : m.Rows(rows)) {
        if ((MeasureTable()[id].group == MeasureGroup::Between) != between) continue;
        const QString key = QString::fromLatin1(MeasureTable()[id].key);
        if (!stats) {
            out[key] = Number(values[id]);
            continue;
        }
        const CMeasureStats::Summary s = stats->Find(m.mode, plot, id);
        auto some = [&](double v) { return s.count ? QJsonValue(v) : QJsonValue(QJsonValue::Null); };
        out[key] = QJsonObject{{"current", Number(values[id])}, {"mean", some(s.mean)}, {"min", some(s.min)},
                               {"max", some(s.max)}, {"sd", Number(s.deviation)}, {"n", static_cast<qint64>(s.count)}};
    }
    return out;
}

QJsonObject MeasureJson(const ModeMeasurements& m, const MeasureSet& rows, const CMeasureStats* stats) {
    QJsonObject out{{"mode", m.mode >= 0 ? KivModes()[m.mode].name : "xy"},
                    {"span", QJsonArray{m.span[0], m.span[1]}},
                    {"plot1", QJsonValue::Null},
                    {"plot2", QJsonValue::Null},
                    {"between", QJsonValue::Null}};
    QJsonObject units;
    for (const auto& c : m.columns) {
        if (!c) continue;
        const QString key = c->plot == 2 ? QStringLiteral("plot2") : QStringLiteral("plot1");
        out[key] = RowsJson(m, rows, c->values, false, stats, c->plot);
        units[key] = QString::fromStdString(c->amplitudeUnit);
    }
    if (m.twoCurves) out["between"] = RowsJson(m, rows, m.between, true, stats, CMeasureStats::kBetween);
    out["amplitude_units"] = units;
    if (stats) out["records"] = static_cast<qint64>(stats->Records());
    return out;
}

}  // namespace

int KivToolGenerate(const KivToolCall& call) {
    GeneratorParams p;  // the dialog's defaults
    const std::string kind = call.Value("kind").value_or("");
    if (kind == "const") p.m_nKind = kGenConstant;
    else if (kind == "sine") p.m_nKind = kGenSine;
    else if (kind == "square") p.m_nKind = kGenSquare;
    else return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--kind przyjmuje const, sine lub square")));
    // In the order the dialog checks its fields.
    const char* options[] = {"amplitude", "duration", "phase", "period"};
    double* fields[] = {&p.m_dAmplitude, &p.m_dDuration, &p.m_dStartPhase, &p.m_dPeriod};
    int status = kExitOk;
    for (int i = 0; i < 4; ++i)
        if (!KivToolNumber(call, options[i], *fields[i], status)) return status;
    if (auto t = call.Value("target")) {
        if (!ReadInteger(*t, 1, 3, p.m_nTarget))
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--target przyjmuje 1, 2 lub 3")));
    }
    const GeneratorField bad = FirstFieldOutOfRange(p);
    if (bad != GeneratorField::None) {
        const GeneratorFieldRange& r = kGeneratorRanges[static_cast<int>(bad)];
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--%1 musi leżeć między %2 a %3"),
                                        {options[static_cast<int>(bad)], DecimalText(r.min, DecimalForm::General, 15),
                                         DecimalText(r.max, DecimalForm::General, 15)}));
    }
    if (!StartPhaseBelowDuration(p)) return KivToolUsage(KivTrStd("Kiv", kGeneratorPhaseMessage));

    auto doc = KivToolInto(call, status);
    if (!doc) return status;
    doc->OnGenerate(&p);
    return KivToolSave(*doc, call.File(0));
}

int KivToolMeanRms(const KivToolCall& call) {
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    if (!doc->CanComputeMeanRms())
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "średnia i RMS nie są dostępne w tym trybie")));
    std::string values[4];
    bool two = false;
    if (!doc->ComputeMeanRms(values, two))
        return KivToolFail(KivToolText(KIV_TR_NOOP("kivtool", "Błąd przy wyliczaniu")));
    // The dialog's order: the means (Y1, Y2), then the RMS values (Y1, Y2).
    const MeanRmsFields f = MeanRmsDialogFields(values, two);
    std::printf("%s\n", f.m_strMean1.c_str());
    if (two) std::printf("%s\n", f.m_strMean2.c_str());
    std::printf("%s\n", f.m_strRms1.c_str());
    if (two) std::printf("%s\n", f.m_strRms2.c_str());
    return kExitOk;
}

int KivToolMeasure(const KivToolCall& call) {
    int status = kExitOk;
    MeasureSet rows;
    if (!ChosenRows(call, rows, status)) return status;
    const bool batch = call.Has("stats");
    if (call.Files().size() > 1 && !batch)
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "kilka dokumentów mierzy tylko --stats")));
    // Each document a record: its own stored view, or --mode and --cursors for all of them.
    CMeasureStats stats;
    ModeMeasurements m;
    for (const std::string& file : call.Files()) {
        std::map<std::string, std::string> values;
        for (const char* option : {"mode", "cursors"})
            if (auto v = call.Value(option)) values[option] = *v;
        auto doc = KivToolPrepare(KivToolCall(call.Command(), {file}, values), status);
        if (!doc) return status;
        int32_t shown = 0, white = 0;
        doc->GetViewFlags(shown, white);
        m = doc->MeasureCurrentMode(shown != 0 || call.Has("cursors"), rows);
        if (m.mode < 0) m.mode = doc->m_currentMode;
        stats.Add(m);
    }
    if (!call.Has("json")) {
        std::fputs(MeasureGridText(BuildMeasureGrid(m, rows, batch ? &stats : nullptr), false).c_str(), stdout);
        return kExitOk;
    }
    const QJsonObject out = MeasureJson(m, rows, batch ? &stats : nullptr);
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    return kExitOk;
}
