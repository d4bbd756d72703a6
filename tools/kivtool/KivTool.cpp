#include "KivTool.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "KivToolArgs.h"
#include "KivToolCommon.h"
#include "data/CKivDoc.h"

namespace {

// The core's message boxes become lines on stderr; the run goes on as after OK.
class StderrMessages : public IMessages {
public:
    MsgResult Show(const std::string& text, const std::string& caption, MsgIcon, MsgButtons) override {
        std::fprintf(stderr, "kivtool: %s: %s\n", caption.c_str(), text.c_str());
        return MsgResult::Ok;
    }
};

StderrMessages g_messages;

bool ParseInt(const std::string& s, long lo, long hi, int& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

// --mode and --cursors override what the document stored.
bool ApplyViewOptions(const KivToolArgs& a, CKivDoc& doc, std::string& error) {
    if (auto m = a.Value("--mode")) {
        const KivModeInfo* mode = FindModeByName(*m);
        if (!mode) {
            error = "unknown mode " + *m + " (" + KivToolModeNames() + ")";
            return false;
        }
        doc.m_currentMode = mode->index;
    }
    if (auto c = a.Value("--cursors")) {
        const size_t comma = c->find(',');
        int c1, c2;
        if (comma == std::string::npos || !ParseInt(c->substr(0, comma), 0, kSamples, c1) ||
            !ParseInt(c->substr(comma + 1), 0, kSamples, c2)) {
            error = "--cursors takes C1,C2 with each 0..4000";
            return false;
        }
        doc.m_nCursor1 = c1;
        doc.m_nCursor2 = c2;
        doc.GetFourierMode()->m_bReady = 0;  // as after a cursor move
    }
    return true;
}

}  // namespace

int KivToolFail(const std::string& message) {
    std::fprintf(stderr, "kivtool: %s\n", message.c_str());
    return 1;
}

CPlatform KivToolPlatform() { return {&g_messages, nullptr}; }

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
        error = path + ": " + (keep.last.empty() ? "not a Kiv document (the name must end in .kiv)" : keep.last);
        return nullptr;
    }
    doc->SetPlatform(KivToolPlatform());
    return doc;
}

std::unique_ptr<CKivDoc> KivToolInto(const KivToolArgs& a, std::string& error) {
    if (auto into = a.Value("--into")) return KivToolOpen(*into, error);
    return std::make_unique<CKivDoc>(KivToolPlatform());
}

int KivToolSave(CKivDoc& doc, const std::string& path) {
    // The document refuses to be opened again from any other name.
    if (path.size() < 4 || path.compare(path.size() - 4, 4, ".kiv") != 0)
        return KivToolFail("the output document must end in .kiv");
    if (!doc.OnSaveDocument(path)) return 1;  // the document has said why
    return 0;
}

std::unique_ptr<CKivDoc> KivToolPrepare(const std::vector<std::string>& args, KivToolArgs& a, size_t positional,
                                 const std::vector<std::string>& valueFlags,
                                 const std::vector<std::string>& switchFlags, int& status) {
    std::string error;
    status = 1;
    if (!a.Parse(args, valueFlags, switchFlags, error)) {
        KivToolFail(error);
        return nullptr;
    }
    if (a.Positional().size() != positional) {
        KivToolFail("expected " + std::to_string(positional) + " file argument(s); see --help");
        return nullptr;
    }
    auto doc = KivToolOpen(a.Positional()[0], error);
    if (!doc || !ApplyViewOptions(a, *doc, error)) {
        KivToolFail(error);
        return nullptr;
    }
    status = 0;
    return doc;
}

namespace {

std::string Hex(COLORREF c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

// Shortest text that reads back as the same double.
std::string Num(double v) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string ScaleJson(const AxisScale& s) {
    std::string unit;
    const char u = static_cast<char>(s.unit & 0xFF);
    if (u == '"' || u == '\\') unit = std::string("\\") + u;
    else if (static_cast<unsigned char>(u) >= 0x20 && static_cast<unsigned char>(u) < 0x7F) unit = std::string(1, u);
    else if (u) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(u));
        unit = buf;
    }
    return "{\"exponent\": " + std::to_string(s.exponent) + ", \"unit\": \"" + unit + "\", \"step\": " + Num(s.step) +
           "}";
}

const char* Bool(int v) { return v ? "true" : "false"; }

}  // namespace

std::string KivToolModeNames() {
    std::string s;
    for (const KivModeInfo& m : KivModes()) s += (s.empty() ? "" : " ") + std::string(m.name);
    return s;
}

int KivToolInfo(const std::vector<std::string>& args) {
    KivToolArgs a;
    int status;
    auto doc = KivToolPrepare(args, a, 1, {}, {}, status);
    if (!doc) return status;
    const CDataSrc& s = doc->Source();
    int32_t cursors, white;
    doc->GetViewFlags(cursors, white);
    std::string out = "{\n";
    out += "  \"mode\": \"" + std::string(KivModes()[doc->m_currentMode].name) + "\",\n";
    out += "  \"cursor1\": " + std::to_string(doc->m_nCursor1) + ",\n";
    out += "  \"cursor2\": " + std::to_string(doc->m_nCursor2) + ",\n";
    out += "  \"cursors_shown\": " + std::string(Bool(cursors)) + ",\n";
    out += "  \"white_background\": " + std::string(Bool(white)) + ",\n";
    out += "  \"present\": " + std::to_string(s.m_nPresent) + ",\n";
    out += "  \"enabled\": " + std::to_string(s.m_nEnabled);
    for (int p = 1; p <= 2; ++p) {
        if (!(s.m_nPresent & p)) continue;
        const bool one = p == 1;
        out += ",\n  \"plot" + std::to_string(p) + "\": {\n";
        out += "    \"colour\": \"" + Hex(one ? s.m_crColour1 : s.m_crColour2) + "\",\n";
        out += "    \"time\": " + ScaleJson(one ? s.m_timeScale1 : s.m_timeScale2) + ",\n";
        out += "    \"amplitude\": " + ScaleJson(one ? s.m_ampScale1 : s.m_ampScale2) + ",\n";
        out += "    \"invert\": " + std::string(Bool(one ? s.m_bInvert1 : s.m_bInvert2)) + ",\n";
        out += "    \"offset_on\": " + std::string(Bool(one ? s.m_bOffset1 : s.m_bOffset2)) + ",\n";
        out += "    \"offset\": " + std::to_string(one ? s.m_nOffset1 : s.m_nOffset2) + ",\n";
        out += "    \"multiplier\": " + Num(one ? s.m_fMultiplier1 : s.m_fMultiplier2) + "\n  }";
    }
    out += "\n}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}

int KivToolCodes(const std::vector<std::string>& args) {
    KivToolArgs a;
    int status;
    auto doc = KivToolPrepare(args, a, 1, {"--mode", "--cursors", "--what"}, {}, status);
    if (!doc) return status;
    const std::string what = a.Value("--what").value_or("disp");
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
        return KivToolFail("--what takes raw, shown, calc, disp or harm");
    }
    std::string out;
    out.reserve(n * 16);
    for (int i = 0; i < n; ++i)
        out += std::to_string(i) + '\t' + std::to_string(v1[i]) + '\t' + std::to_string(v2[i]) + '\n';
    std::fputs(out.c_str(), stdout);
    return 0;
}

int KivToolLabels(const std::vector<std::string>& args) {
    KivToolArgs a;
    int status;
    auto doc = KivToolPrepare(args, a, 1, {"--mode"}, {}, status);
    if (!doc) return status;
    CData* m = doc->GetCurrentMode();
    for (int axis = 0; axis <= 3; ++axis) {
        const std::string* labels = m->GetAxisLabels(axis);
        std::string line;
        // Only the labels the axis has (a formatted label is never empty).
        for (int i = 0; i < kLabels && !labels[i].empty(); ++i) line += (i ? "|" : "") + labels[i];
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
