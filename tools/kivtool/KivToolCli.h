// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

// kivtool's command line: one table of commands, each with its files and options, parsed by
// QCommandLineParser; help texts come from the same table.

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // the work could not be done
constexpr int kExitUsage = 2;    // the command line is wrong

// The texts of the table are Polish sources marked with KIV_TR_NOOP("kivtool", ...): the help
// looks them up when it prints them.
struct KivToolOption {
    const char* name;       // the long name, without "--"
    const char* valueName;  // null for a switch
    const char* help;
    std::string helpArg = {};  // fills the help's %1
};

class KivToolCall;

struct KivToolCommand {
    const char* name;
    const char* files;  // the files as the synopsis writes them
    int minFiles, maxFiles;
    const char* summary;      // its line in kivtool --help
    const char* description;  // what COMMAND --help says before the options
    std::vector<KivToolOption> options;
    int (*run)(const KivToolCall&);
    bool hidden = false;  // left out of kivtool --help
};

// One command's parsed line.
class KivToolCall {
public:
    KivToolCall(const KivToolCommand& command, std::vector<std::string> files, std::map<std::string, std::string> values)
        : m_command(command), m_files(std::move(files)), m_values(std::move(values)) {}

    const KivToolCommand& Command() const { return m_command; }
    const std::vector<std::string>& Files() const { return m_files; }
    const std::string& File(size_t i) const { return m_files[i]; }
    // The option's value (the last one given); for a switch an empty text when it is set.
    std::optional<std::string> Value(const char* option) const;
    bool Has(const char* option) const { return Value(option).has_value(); }

private:
    const KivToolCommand& m_command;
    std::vector<std::string> m_files;
    std::map<std::string, std::string> m_values;
};

// A message in the language kiv would speak, its %1, %2 ... filled from args.
std::string KivToolText(const char* text, const std::vector<std::string>& args = {});
// The text as one line: its line breaks and runs of blanks become one space.
std::string KivToolOneLine(const std::string& text);
// One line "kivtool: message" on stderr: a note that changes nothing of the outcome.
void KivToolNote(const std::string& message);
// One line "kivtool: message" on stderr and the status.
int KivToolFail(const std::string& message);   // kExitFailure
int KivToolUsage(const std::string& message);  // kExitUsage

// Runs the command argv names; prints the help of kivtool or of a command when asked.
int KivToolMain(const std::vector<KivToolCommand>& commands, const std::vector<std::string>& argv);
