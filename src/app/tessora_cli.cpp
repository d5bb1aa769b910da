#include "ExecucioCli.h"

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    // Started with a standard descriptor closed, the next file opened would take its number, and the
    // sound server's client library would later close it from under us.
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) == -1) ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    // A reader that goes away (tessora-cli f | head -1) ends the run through the failed write (EPIPE),
    // quietly, after the files asked for are saved; the signal would kill the program before that.
    std::signal(SIGPIPE, SIG_IGN);
    // The system's reasons for a failure (a full disk, say) in the user's language.
    std::setlocale(LC_MESSAGES, "");
    std::ios::sync_with_stdio(false);
    const int codi = tessora::ExecutarCli(argc, argv, std::cout, std::cerr);
    // Qt Multimedia closes its connection to the sound server from an exit handler while the client
    // library's own thread still runs, which now and then crashes the process after all our work is
    // done. Everything is written and closed by now: leave without the exit handlers.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(codi);
}
