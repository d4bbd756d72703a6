// kivtool: the Kiv core from the command line, for batch work and scripted checks.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "KivTool.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    std::function<int(const std::vector<std::string>&)> run;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "kivtool info DOC.kiv", KivToolInfo},
        {"codes", "kivtool codes DOC.kiv [--mode NAME] [--cursors C1,C2] [--what raw|shown|calc|disp|harm]",
         KivToolCodes},
        {"labels", "kivtool labels DOC.kiv [--mode NAME]", KivToolLabels},
        {"render", "kivtool render DOC.kiv OUT.png [--mode NAME] [--size WxH] [--white] [--cursors C1,C2]",
         KivToolRender},
        {"export", "kivtool export DOC.kiv OUT.csv|OUT.CSV|OUT.pcx [--mode NAME] [--cursors C1,C2]", KivToolExport},
        {"generate",
         "kivtool generate OUT.kiv --kind const|sine|square [--amplitude A] [--duration D] [--phase P] "
         "[--period T] [--target 1|2|3] [--into DOC.kiv]",
         KivToolGenerate},
        {"import", "kivtool import IN OUT.kiv --plot 1|2 [--into DOC.kiv]", KivToolImport},
        {"meanrms", "kivtool meanrms DOC.kiv [--mode NAME] [--cursors C1,C2]", KivToolMeanRms},
        {"fetch",
         "kivtool fetch OUT.kiv [--model INDEX|NAME] [--port N] [--baud RATE] [--plot1 CH|off] [--plot2 CH|off] "
         "[--into DOC.kiv] [--save-settings]",
         KivToolFetch},
    };
    return commands;
}

void PrintUsage(FILE* out) {
    std::fprintf(out, "usage: kivtool COMMAND [ARGS]   (kivtool COMMAND --help for one command)\n");
    for (const Command& c : Commands()) std::fprintf(out, "  %s\n", c.usage);
    std::fprintf(out, "modes: %s\n", KivToolModeNames().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 1;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    for (const Command& c : Commands()) {
        if (name != c.name) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        for (const std::string& a : args)
            if (a == "--help" || a == "-h") {
                std::printf("usage: %s\n", c.usage);
                return 0;
            }
        return c.run(args);
    }
    std::fprintf(stderr, "kivtool: unknown command %s (kivtool --help lists them)\n", name.c_str());
    return 1;
}
