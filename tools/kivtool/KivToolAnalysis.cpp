// kivtool generate and meanrms: the generator dialog's checks and the mean/RMS strings.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "KivTool.h"
#include "KivToolArgs.h"
#include "KivToolCommon.h"
#include "analysis/Generator.h"
#include "analysis/MeanRms.h"
#include "data/CKivDoc.h"

namespace {

bool ParseDouble(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return *end == '\0' && std::isfinite(out);
}

}  // namespace

int KivToolGenerate(const std::vector<std::string>& args) {
    KivToolArgs a;
    std::string error;
    if (!a.Parse(args, {"--kind", "--amplitude", "--duration", "--phase", "--period", "--target", "--into"}, {},
                 error))
        return KivToolFail(error);
    if (a.Positional().size() != 1) return KivToolFail("expected one output file; see --help");
    GeneratorParams p;  // the dialog's defaults
    const std::string kind = a.Value("--kind").value_or("");
    if (kind == "const") p.m_nKind = kGenConstant;
    else if (kind == "sine") p.m_nKind = kGenSine;
    else if (kind == "square") p.m_nKind = kGenSquare;
    else return KivToolFail("--kind takes const, sine or square");
    const std::pair<const char*, double*> numbers[] = {{"--amplitude", &p.m_dAmplitude},
                                                       {"--duration", &p.m_dDuration},
                                                       {"--phase", &p.m_dStartPhase},
                                                       {"--period", &p.m_dPeriod}};
    for (auto [flag, field] : numbers)
        if (auto v = a.Value(flag))
            if (!ParseDouble(*v, *field)) return KivToolFail(std::string(flag) + " takes a number");
    if (auto t = a.Value("--target")) {
        if (*t != "1" && *t != "2" && *t != "3") return KivToolFail("--target takes 1, 2 or 3");
        p.m_nTarget = static_cast<uint8_t>((*t)[0] - '0');
    }
    const GeneratorField bad = FirstFieldOutOfRange(p);
    if (bad != GeneratorField::None) {
        const GeneratorFieldRange& r = kGeneratorRanges[static_cast<int>(bad)];
        char buf[160];
        std::snprintf(buf, sizeof buf, "%s must lie between %g and %g", numbers[static_cast<int>(bad)].first, r.min,
                      r.max);
        return KivToolFail(buf);
    }
    if (!StartPhaseBelowDuration(p)) return KivToolFail(kGeneratorPhaseMessage);

    auto doc = KivToolInto(a, error);
    if (!doc) return KivToolFail(error);
    doc->OnGenerate(&p);
    return KivToolSave(*doc, a.Positional()[0]);
}

int KivToolMeanRms(const std::vector<std::string>& args) {
    KivToolArgs a;
    int status;
    auto doc = KivToolPrepare(args, a, 1, {"--mode", "--cursors"}, {}, status);
    if (!doc) return status;
    if (!doc->OnUpdateMeanRms().enabled) return KivToolFail("mean and RMS are not available in this mode");
    std::string values[4];
    bool two = false;
    if (!doc->ComputeMeanRms(values, two)) return KivToolFail("Błąd przy wyliczaniu");
    // The dialog's order: the means (Y1, Y2), then the RMS values (Y1, Y2).
    const MeanRmsFields f = MeanRmsDialogFields(values, two);
    std::printf("%s\n", f.m_strMean1.c_str());
    if (two) std::printf("%s\n", f.m_strMean2.c_str());
    std::printf("%s\n", f.m_strRms1.c_str());
    if (two) std::printf("%s\n", f.m_strRms2.c_str());
    return 0;
}
