#pragma once
#include <string>
#include <vector>

// The subcommands; each returns the exit status (0 success, 1 failure with one line on stderr).
int KivToolInfo(const std::vector<std::string>& args);
int KivToolCodes(const std::vector<std::string>& args);
int KivToolLabels(const std::vector<std::string>& args);
int KivToolRender(const std::vector<std::string>& args);
int KivToolExport(const std::vector<std::string>& args);
int KivToolGenerate(const std::vector<std::string>& args);
int KivToolImport(const std::vector<std::string>& args);
int KivToolMeanRms(const std::vector<std::string>& args);
int KivToolFetch(const std::vector<std::string>& args);

std::string KivToolModeNames();
