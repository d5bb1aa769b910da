// What both programs do first and last with their process.
#pragma once

namespace tessora {

// Opens /dev/null on whichever of descriptors 0, 1 and 2 the program was started without (standard
// input for reading, the others for writing). Left closed, the next file opened would take its number,
// and the sound server's client library would later close it from under us. First thing in main.
void ObrirDescriptorsEstandard();

// Flushes the standard streams (C++ and C alike) and ends the process with `codi` without running the
// exit handlers. Qt Multimedia closes its connection to the sound server from an exit handler while the
// client library's own thread still runs, which now and then crashes the process after all our work is
// done; so the last thing in main, once every file is written and closed.
[[noreturn]] void SortirSenseGestors(int codi);

} // namespace tessora
