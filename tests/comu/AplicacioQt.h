// The Qt application of a test process that needs an event loop but no window: one for the process.
#pragma once

#include <QCoreApplication>

namespace tessora::proves {

inline void CrearAplicacioQt() {
    static int argc = 1;
    static char nom[] = "proves";
    static char* argv[] = {nom, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

} // namespace tessora::proves
