// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

struct CRegistered {
    SimModelInfo info;
    SimModelFactory factory;
};

std::vector<CRegistered>& Registry()
{
    static std::vector<CRegistered> models;
    return models;
}

const CRegistered* Find(const std::string& key)
{
    for (const CRegistered& r : Registry())
        if (key == r.info.key)
            return &r;
    return nullptr;
}

}  // namespace

SimFrame CSimModel::FrameRequest(const std::string& pending) const
{
    const size_t end = pending.find('\r');
    return end == std::string::npos ? SimFrame {} : SimFrame {end + 1, 1};
}

SignalSpec CSimModel::ChannelSignal(int channel) const
{
    SignalSpec signal;
    if (channel >= 1 && channel <= kSimChannels)
        signal.shape = m_options.shapes[channel - 1];
    signal.amplitude = m_options.amplitude;
    signal.frequency = m_options.frequency;
    return signal;
}

SimModelRegistration::SimModelRegistration(const SimModelInfo& info, SimModelFactory factory)
{
    Registry().push_back({info, std::move(factory)});
}

std::vector<SimModelInfo> SimModels()
{
    std::vector<SimModelInfo> models;
    for (const CRegistered& r : Registry())
        models.push_back(r.info);
    std::sort(models.begin(), models.end(),
              [](const SimModelInfo& a, const SimModelInfo& b) { return a.configIndex < b.configIndex; });
    return models;
}

const SimModelInfo* FindSimModel(const std::string& key)
{
    const CRegistered* r = Find(key);
    return r ? &r->info : nullptr;
}

const SimModelInfo* FindSimModel(int configIndex)
{
    for (const CRegistered& r : Registry())
        if (r.info.configIndex == configIndex)
            return &r.info;
    return nullptr;
}

std::unique_ptr<CSimModel> CreateSimModel(const SimOptions& options)
{
    const CRegistered* r = Find(options.model);
    return r ? r->factory(options) : nullptr;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string MantissaExponent(double value)
{
    int exponent = static_cast<int>(std::floor(std::log10(value)));
    double mantissa = value / std::pow(10.0, exponent);
    if (std::round(mantissa * 10.0) >= 100.0) {
        mantissa /= 10.0;
        ++exponent;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1fE%d", mantissa, exponent);
    return text;
}
