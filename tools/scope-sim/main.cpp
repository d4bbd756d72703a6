// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "SimModel.h"
#include "SimOptions.h"
#include "SimPty.h"
#include "SimServer.h"
#include "SimText.h"
#include "SimSocket.h"

namespace {

int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_stopPipe[1], &byte, 1);
}

bool StopRequested()
{
    pollfd stop {g_stopPipe[0], POLLIN, 0};
    return poll(&stop, 1, 0) == 1;
}

bool InstallStopHandlers()
{
    if (pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

// A network instrument: one connection at a time, the instrument's state kept between them.
int ServeNetwork(const SimOptions& options, CSimModel& model)
{
    CSimListener listener;
    std::string error;
    if (!listener.Listen(options.listen, error)) {
        std::fprintf(stderr, "kiv-scope-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%u\n", listener.Port());
    std::fflush(stdout);
    for (;;) {
        const int fd = listener.Accept(g_stopPipe[0]);
        if (fd < 0)
            return 0;
        CSimSocket connection(fd);
        CSimServer server(options, model, connection);
        if (!server.OpenLog(error)) {
            std::fprintf(stderr, "kiv-scope-sim: %s\n", error.c_str());
            return 1;
        }
        const int status = server.Run(g_stopPipe[0]);
        // A hang-up fault ends the instrument as it ends the line; so does a stop.
        if (status != 0 || options.once || connection.Fd() < 0 || StopRequested())
            return status;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Said in English: the user asked for it, and without the file no translation exists.
    if (!LoadSimLanguage())
        std::fputs("kiv-scope-sim: the English translation (kiv_en.qm) was not found; messages are in Polish\n", stderr);
    SimOptions options;
    std::string error;
    switch (ParseSimOptions(std::vector<std::string>(argv, argv + argc), options, error)) {
    case ESimCommand::Help:
        std::fputs(SimHelp().c_str(), stdout);
        return 0;
    case ESimCommand::Version:
        std::printf("kiv-scope-sim %s\n", KIV_VERSION);
        return 0;
    case ESimCommand::UsageError:
        std::fprintf(stderr, "kiv-scope-sim: %s\n", error.c_str());
        return 2;
    case ESimCommand::Run:
        break;
    }
    auto model = CreateSimModel(options);
    if (!InstallStopHandlers()) {
        std::fprintf(stderr, "kiv-scope-sim: %s\n",
                     SimText(KIV_TR_NOOP("kiv-scope-sim", "nie można przechwycić sygnałów: %1"), {std::strerror(errno)})
                         .c_str());
        return 1;
    }
    if (!options.listen.empty())
        return ServeNetwork(options, *model);
    CSimPty pty;
    CSimServer server(options, *model, pty);
    if (!pty.Open(error) || !server.OpenLog(error)
        || (!options.link.empty() && !pty.MakeLink(options.link, error))) {
        std::fprintf(stderr, "kiv-scope-sim: %s\n", error.c_str());
        return 1;
    }
    if (options.link.empty()) {
        std::printf("%s\n", pty.SlavePath().c_str());
        std::fflush(stdout);
    }
    const int status = server.Run(g_stopPipe[0]);
    pty.Close();
    return status;
}
