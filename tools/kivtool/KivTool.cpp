// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool's shared pieces and the commands that read a document: info, codes, labels.
#include "KivTool.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <memory>

#include "KivToolCommon.h"
#include "document/CKivDoc.h"
#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"
#include "units/NumberText.h"

namespace {

// The core's message boxes become lines on stderr, one each (the caption says nothing the
// text does not); the run goes on as after OK.
class StderrMessages : public IMessages {
public:
    MsgResult Show(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
        KivToolNote(KivTrStd("Kiv", text));
        return MsgResult::Ok;
    }
};

StderrMessages g_messages;

// --mode and --cursors override what the document stored.
int ApplyViewOptions(const KivToolCall& call, CKivDoc& doc) {
    if (auto m = call.Value("mode")) {
        const KivModeInfo* mode = FindModeByName(*m);
        if (!mode)
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "nieznany tryb %1 (tryby: %2)"), {*m,
                KivToolModeNames()}));
        doc.m_currentMode = mode->index;
    }
    if (auto c = call.Value("cursors")) {
        const size_t comma = c->find(',');
        int32_t c1 = 0, c2 = 0;
        if (comma == std::string::npos || !ReadInteger(std::string_view(*c).substr(0, comma), 0, kSamples, c1) ||
            !ReadInteger(std::string_view(*c).substr(comma + 1), 0, kSamples, c2))
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--cursors przyjmuje C1,C2, każdy od 0 do 4000")));
        doc.m_nCursor1 = c1;
        doc.m_nCursor2 = c2;
        doc.GetFourierMode()->m_bReady = 0;  // as after a cursor move
    }
    return kExitOk;
}

QString Hex(PlotColour c) {
    return QString::asprintf("#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
}

QJsonObject ScaleJson(const AxisScale& s) {
    // The unit is one character; a code point of zero is no unit at all.
    const char u = static_cast<char>(s.unit & 0xFF);
    const QString unit = u ? QString(QChar::fromLatin1(u)) : QString();
    // NaN and infinite steps (a hand-made document) become null.
    return {{"exponent", s.exponent}, {"unit", unit}, {"step", s.step}};
}

}  // namespace

CPlatform KivToolPlatform() { return {&g_messages, nullptr}; }

std::string KivToolModeNames() {
    std::string s;
    for (const KivModeInfo& m : KivModes()) s += (s.empty() ? "" : ", ") + std::string(m.name);
    return s;
}

std::unique_ptr<CKivDoc> KivToolOpen(const std::string& path, std::string& error) {
    // The document's own message about a file it refuses becomes the one error line.
    struct Keep : IMessages {
        std::string last;
        MsgResult Show(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
            last = text;
            return MsgResult::Ok;
        }
    } keep;
    auto doc = std::make_unique<CKivDoc>(CPlatform{&keep, nullptr});
    if (!doc->OnOpenDocument(path)) {
        error = path + ": " + KivTrStd("Kiv", keep.last.empty() ? kNotKivDocumentName : keep.last);
        return nullptr;
    }
    doc->SetPlatform(KivToolPlatform());
    return doc;
}

std::unique_ptr<CKivDoc> KivToolInto(const KivToolCall& call, int& status) {
    status = kExitOk;
    auto into = call.Value("into");
    if (!into) return std::make_unique<CKivDoc>(KivToolPlatform());
    std::string error;
    auto doc = KivToolOpen(*into, error);
    if (!doc) status = KivToolFail(error);
    return doc;
}

int KivToolSave(CKivDoc& doc, const std::string& path) {
    // The document refuses to be opened again from any other name.
    if (path.size() < 4 || path.compare(path.size() - 4, 4, ".kiv") != 0)
        return KivToolUsage(path + ": " + KivTrStd("Kiv", kNotKivDocumentName));
    if (!doc.OnSaveDocument(path)) return kExitFailure;  // the document has said why
    return kExitOk;
}

std::unique_ptr<CKivDoc> KivToolPrepare(const KivToolCall& call, int& status) {
    std::string error;
    auto doc = KivToolOpen(call.File(0), error);
    if (!doc) {
        status = KivToolFail(error);
        return nullptr;
    }
    status = ApplyViewOptions(call, *doc);
    if (status != kExitOk) return nullptr;
    return doc;
}

bool KivToolNumber(const KivToolCall& call, const char* option, double& value, int& status) {
    auto text = call.Value(option);
    if (!text) return true;
    double v = 0;
    if (ReadNumber(*text, v) && std::isfinite(v)) {
        value = v;
        return true;
    }
    status = KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "--%1 przyjmuje liczbę, nie %2"), {option, *text}));
    return false;
}

int KivToolInfo(const KivToolCall& call) {
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    const CDataSrc& s = doc->Source();
    int32_t cursors, white;
    doc->GetViewFlags(cursors, white);
    QJsonObject info{{"mode", KivModes()[doc->m_currentMode].name},
                     {"cursor1", doc->m_nCursor1},
                     {"cursor2", doc->m_nCursor2},
                     {"cursors_shown", cursors != 0},
                     {"white_background", white != 0},
                     {"present", s.m_nPresent},
                     {"enabled", s.m_nEnabled}};
    for (int p = 1; p <= 2; ++p) {
        if (!(s.m_nPresent & p)) continue;
        const bool one = p == 1;
        info[QStringLiteral("plot%1").arg(p)] = QJsonObject{
            {"colour", Hex(one ? s.m_crColour1 : s.m_crColour2)},
            {"time", ScaleJson(one ? s.m_timeScale1 : s.m_timeScale2)},
            {"amplitude", ScaleJson(one ? s.m_ampScale1 : s.m_ampScale2)},
            {"invert", (one ? s.m_bInvert1 : s.m_bInvert2) != 0},
            {"offset_on", (one ? s.m_bOffset1 : s.m_bOffset2) != 0},
            {"offset", one ? s.m_nOffset1 : s.m_nOffset2},
            {"multiplier", static_cast<double>(one ? s.m_fMultiplier1 : s.m_fMultiplier2)}};
    }
    std::fputs(QJsonDocument(info).toJson(QJsonDocument::Indented).constData(), stdout);
    return kExitOk;
}

int KivToolCodes(const KivToolCall& call) {
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    const std::string what = call.Value("what").value_or("disp");
    CData* m = doc->GetCurrentMode();
    const CDataSrc& s = doc->Source();
    const int32_t *v1 = nullptr, *v2 = nullptr;
    int n = kSamples;
    if (what == "raw") {
        v1 = s.m_nRaw1, v2 = s.m_nRaw2;
    } else if (what == "shown") {
        v1 = s.m_nShown1, v2 = s.m_nShown2;
    } else if (what == "calc") {
        m->GetDisplaySamples(1);
        v1 = m->m_nCalc1, v2 = m->m_nCalc2;
    } else if (what == "disp") {
        v1 = m->GetDisplaySamples(1), v2 = m->GetDisplaySamples(2);
    } else if (what == "harm") {
        m->GetDisplaySamples(1);
        v1 = m->m_nHarm1, v2 = m->m_nHarm2, n = kHarmonics;
    } else {
        return KivToolUsage(
            KivToolText(KIV_TR_NOOP("kivtool", "--what przyjmuje raw, shown, calc, disp lub harm, nie %1"), {what}));
    }
    std::string out;
    out.reserve(static_cast<size_t>(n) * 16);
    for (int i = 0; i < n; ++i)
        out += std::to_string(i) + '\t' + std::to_string(v1[i]) + '\t' + std::to_string(v2[i]) + '\n';
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

int KivToolLabels(const KivToolCall& call) {
    int status;
    auto doc = KivToolPrepare(call, status);
    if (!doc) return status;
    CData* m = doc->GetCurrentMode();
    for (int axis = 0; axis <= 3; ++axis) {
        const std::string* labels = m->GetAxisLabels(axis);
        std::string line;
        // Only the labels the axis has (a formatted label is never empty).
        for (int i = 0; i < kLabels && !labels[i].empty(); ++i) line += (i ? "|" : "") + labels[i];
        std::printf("%s\n", line.c_str());
    }
    return kExitOk;
}
