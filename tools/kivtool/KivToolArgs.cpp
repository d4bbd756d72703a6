#include "KivToolArgs.h"

#include <algorithm>

bool KivToolArgs::Parse(const std::vector<std::string>& argv, const std::vector<std::string>& valueFlags,
                        const std::vector<std::string>& switchFlags, std::string& error) {
    auto known = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    for (size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (a == "--help" || a == "-h") {
            m_flags["--help"] = "";
        } else if (a.rfind("--", 0) == 0) {
            std::string name = a, value;
            const size_t eq = a.find('=');
            bool hasValue = false;
            if (eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
                hasValue = true;
            }
            if (known(switchFlags, name) && !hasValue) {
                m_flags[name] = "";
            } else if (known(valueFlags, name)) {
                if (!hasValue) {
                    if (i + 1 >= argv.size()) {
                        error = name + " needs a value";
                        return false;
                    }
                    value = argv[++i];
                }
                m_flags[name] = value;
            } else {
                error = "unknown option " + name;
                return false;
            }
        } else {
            m_positional.push_back(a);
        }
    }
    return true;
}

std::optional<std::string> KivToolArgs::Value(const std::string& flag) const {
    auto it = m_flags.find(flag);
    if (it == m_flags.end()) return std::nullopt;
    return it->second;
}
