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

bool ParseFault(const char* text, ESimFault& fault)
{
    static const struct { const char* name; ESimFault fault; } kFaults[] = {
        {"silent", ESimFault::Silent}, {"short", ESimFault::Short}, {"garbage", ESimFault::Garbage},
        {"wrong-id", ESimFault::WrongId}, {"hangup", ESimFault::Hangup}};
    for (const auto& f : kFaults)
        if (std::strcmp(text, f.name) == 0) {
            fault = f.fault;
            return true;
        }
    return false;
}

}  // namespace

const char* SimUsage()
{
    return "usage: kiv-scope-sim --model NAME [--link PATH] [--ch1..--ch4 sine|square|triangle|dc]\n"
           "       [--vdiv V] [--tdiv S] [--amp V] [--freq HZ]\n"
           "       [--fault silent|short|garbage|wrong-id|hangup] [--baud-delay] [--baud RATE]\n"
           "       [--log FILE] [--once]\n";
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
        else if (name == "--fault")
            ok = ParseFault(value, options.fault);
        else if (name == "--baud") {
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
