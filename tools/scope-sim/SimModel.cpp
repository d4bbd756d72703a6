#include "SimModel.h"

#include <cctype>
#include <map>

namespace {

std::map<std::string, SimModelFactory>& Registry()
{
    static std::map<std::string, SimModelFactory> models;
    return models;
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

SimModelRegistration::SimModelRegistration(const char* key, SimModelFactory factory)
{
    Registry()[key] = std::move(factory);
}

bool HasSimModel(const std::string& key)
{
    return Registry().count(key) != 0;
}

std::unique_ptr<CSimModel> CreateSimModel(const SimOptions& options)
{
    const auto it = Registry().find(options.model);
    return it == Registry().end() ? nullptr : it->second(options);
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
