#include "ExecucioCli.h"
#include "Proces.h"

#include <clocale>
#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    tessora::ObrirDescriptorsEstandard();
    // A reader that goes away (tessora-cli f | head -1) ends the run through the failed write (EPIPE),
    // quietly, after the files asked for are saved; the signal would kill the program before that.
    std::signal(SIGPIPE, SIG_IGN);
    // The system's reasons for a failure (a full disk, say) in the user's language.
    std::setlocale(LC_MESSAGES, "");
    std::ios::sync_with_stdio(false);
    tessora::SortirSenseGestors(tessora::ExecutarCli(argc, argv, std::cout, std::cerr));
}
