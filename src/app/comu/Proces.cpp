#include "Proces.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>

namespace tessora {

void ObrirDescriptorsEstandard() {
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) == -1) ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
}

void SortirSenseGestors(int codi) {
    std::cout.flush();
    std::cerr.flush();
    std::clog.flush();
    std::fflush(nullptr);
    std::_Exit(codi);
}

} // namespace tessora
