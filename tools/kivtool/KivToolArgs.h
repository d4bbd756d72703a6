#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

// Positional arguments and --flags of one kivtool subcommand.
class KivToolArgs {
public:
    // valueFlags take a value ("--mode fourier"); switchFlags stand alone ("--white").
    bool Parse(const std::vector<std::string>& argv, const std::vector<std::string>& valueFlags,
               const std::vector<std::string>& switchFlags, std::string& error);

    const std::vector<std::string>& Positional() const { return m_positional; }
    std::optional<std::string> Value(const std::string& flag) const;
    bool Has(const std::string& flag) const { return m_flags.count(flag) != 0; }
    bool WantsHelp() const { return Has("--help"); }

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_flags;
};
