// kivtool generate, meanrms and measure: the generator dialog's checks, the mean/RMS strings
// and the measurements panel's numbers.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "analysis/Generator.h"
#include "analysis/MeanRms.h"
#include "analysis/Measurements.h"
#include "analysis/ModeTable.h"
#include "document/CKivDoc.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"
#include "units/NumberText.h"

namespace {

// The panel's table with its names (the headings and the first column) in kiv's language,
// the columns aligned with spaces.
std::string MeasureTable(const ModeMeasurements& m) {
    QStringList lines = QString::fromStdString(MeasureTableText(m, true)).split(QLatin1Char('\n'));
    lines.removeLast();  // after the last row's newline
    std::vector<QStringList> rows;
    std::vector<qsizetype> widths;
    for (const QString& line : lines) {
        QStringList& row = rows.emplace_back(line.split(QLatin1Char('\t')));
        widths.resize(std::max(widths.size(), static_cast<size_t>(row.size())), 0);
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (rows.size() == 1 || i == 0) row[i] = KivTr("Kiv", row[i].toUtf8().constData());
            widths[static_cast<size_t>(i)] = std::max(widths[static_cast<size_t>(i)], row[i].size());
        }
    }
    QString out;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i) out += QStringLiteral("  ");
            out += row[i];
            if (i + 1 < row.size()) out += QString(widths[static_cast<size_t>(i)] - row[i].size(), QLatin1Char(' '));
        }
        out += QLatin1Char('\n');
    }
    return out.toStdString();
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
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    int32_t shown = 0, white = 0;
    doc->GetViewFlags(shown, white);
    const ModeMeasurements m = doc->MeasureCurrentMode(shown != 0 || call.Has("cursors"));
    if (!call.Has("json")) {
        std::fputs(MeasureTable(m).c_str(), stdout);
        return kExitOk;
    }
    QJsonObject out{{"mode", KivModes()[doc->m_currentMode].name},
                    {"span", QJsonArray{m.span[0], m.span[1]}},
                    {"plot1", QJsonValue::Null},
                    {"plot2", QJsonValue::Null}};
    QJsonObject units;
    for (const auto& c : m.columns) {
        if (!c) continue;
        QJsonObject values;
        for (MeasureId id : m.Rows()) {
            const auto& v = c->values[id];
            values[MeasureTable()[id].key] = v && std::isfinite(*v) ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
        }
        const QString key = c->plot == 2 ? QStringLiteral("plot2") : QStringLiteral("plot1");
        out[key] = values;
        units[key] = QString::fromStdString(c->amplitudeUnit);
    }
    out["amplitude_units"] = units;
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    return kExitOk;
}
