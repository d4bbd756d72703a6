#include "SimOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool ParsePositive(const char* text, double& value)
{
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(v) || v <= 0.0)
        return false;
    value = v;
    return true;
}

bool ParseShape(const char* text, EShape& shape)
{
    static const struct { const char* name; EShape shape; } kShapes[] = {
        {"sine", EShape::Sine}, {"square", EShape::Square}, {"triangle", EShape::Triangle}, {"dc", EShape::Dc}};
    for (const auto& s : kShapes)
        if (std::strcmp(text, s.name) == 0) {
            shape = s.shape;
            return true;
        }
    return false;
}

// The whole text as a whole number within lowest..highest.
bool ParseWhole(const char* text, long lowest, long highest, long& value)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < lowest || v > highest)
        return false;
    value = v;
    return true;
}

// NAME or NAME:VALUE; on failure error says what the fault takes.
bool ParseFault(const std::string& text, SimOptions& options, std::string& error)
{
    static const struct { const char* name; ESimFault fault; } kFaults[] = {
        {"silent", ESimFault::Silent}, {"short", ESimFault::Short}, {"garbage", ESimFault::Garbage},
        {"wrong-id", ESimFault::WrongId}, {"hangup", ESimFault::Hangup}, {"hangup-mid", ESimFault::HangupMid}};
    for (const auto& f : kFaults)
        if (text == f.name) {
            options.fault = f.fault;
            return true;
        }
    const size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const char* value = colon == std::string::npos ? "" : text.c_str() + colon + 1;
    long whole = 0;
    if (name == "drop") {
        options.fault = ESimFault::Drop;
        if (ParseWhole(value, 1, 1L << 30, whole)) {
            options.dropEvery = static_cast<unsigned>(whole);
            return true;
        }
        error = "--fault drop:N needs a whole number N >= 1, not " + text;
    } else if (name == "noise") {
        options.fault = ESimFault::Noise;
        char* end = nullptr;
        errno = 0;
        const double p = std::strtod(value, &end);
        if (end != value && *end == '\0' && errno == 0 && p >= 0.0 && p <= 1.0) {
            options.noiseProbability = p;
            return true;
        }
        error = "--fault noise:P needs a probability 0 <= P <= 1, not " + text;
    } else if (name == "stall") {
        options.fault = ESimFault::Stall;
        if (ParseWhole(value, 0, 24L * 3600 * 1000, whole)) {
            options.stallMs = static_cast<int>(whole);
            return true;
        }
        error = "--fault stall:MS needs whole milliseconds MS >= 0, not " + text;
    } else {
        error = "unknown fault " + text;
    }
    return false;
}

}  // namespace

const char* SimUsage()
{
    return "usage: kiv-scope-sim --model NAME [--link PATH] [--ch1..--ch4 sine|square|triangle|dc]\n"
           "       [--vdiv V] [--tdiv S] [--amp V] [--freq HZ]\n"
           "       [--fault FAULT] [--seed S] [--baud-delay] [--baud RATE] [--log FILE] [--once]\n"
           "faults of the model's replies:\n"
           "  short       a waveform 100 points short\n"
           "  garbage     noise instead of the identity or acknowledgement (LT224: in the\n"
           "              waveform's digits)\n"
           "  wrong-id    another instrument of the family\n"
           "faults of the line, whatever the model sends:\n"
           "  silent      no answer at all\n"
           "  hangup      the line drops half-way through the first long reply (a waveform),\n"
           "              once the far side has read what came before\n"
           "  drop:N      every N-th byte sent is lost (N >= 1)\n"
           "  noise:P     each byte sent has one random bit flipped with probability P (0..1);\n"
           "              --seed S (default 1) repeats a run\n"
           "  stall:MS    a pause of MS milliseconds in the middle of every long reply\n"
           "  hangup-mid  the pseudo-terminal closes half-way through the first long reply\n"
           "              while the far side is still reading; the rest is lost\n";
}

bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--baud-delay") {
            options.baudDelay = true;
            continue;
        }
        if (name == "--once") {
            options.once = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = name + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (name == "--model")
            options.model = value;
        else if (name == "--link")
            options.link = value;
        else if (name == "--log")
            options.logPath = value;
        else if (name.size() == 5 && name.compare(0, 4, "--ch") == 0 && name[4] >= '1' && name[4] < '1' + kSimChannels)
            ok = ParseShape(value, options.shapes[name[4] - '1']);
        else if (name == "--vdiv")
            ok = ParsePositive(value, options.voltsPerDivision);
        else if (name == "--tdiv")
            ok = ParsePositive(value, options.secondsPerDivision);
        else if (name == "--amp")
            ok = ParsePositive(value, options.amplitude);
        else if (name == "--freq")
            ok = ParsePositive(value, options.frequency);
        else if (name == "--fault") {
            if (!ParseFault(value, options, error))
                return false;
        } else if (name == "--seed") {
            long seed = 0;
            ok = ParseWhole(value, 0, 0xFFFFFFFFL, seed);
            options.seed = static_cast<unsigned>(seed);
        } else if (name == "--baud") {
            double rate = 0.0;
            ok = ParsePositive(value, rate) && rate == std::floor(rate) && rate <= 4000000.0;
            options.baud = static_cast<int>(rate);
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (!ok) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
    }
    if (options.model.empty()) {
        error = "--model is required";
        return false;
    }
    return true;
}
