// tessora-cli: the live recognition loop run on a sound file, one analysis line per recognition.
//
//   tessora-cli [options] FILE
//
// FILE is read as it is analysed, in constant memory, and cut into consecutive 512-sample blocks from its
// start (a trailing partial block is dropped); each block is one capture message with listening on. For every
// analysis the loop makes, one line:
//   <block index, 0-based> TAB <result text, possibly empty> TAB <data line after the call>
// or, with --csv, one CSV row. Exit status: 0 done; 1 a --desa, --desa-captura or --carta file or
// standard output could not be written whole (a capture that stopped part-way is kept, shorter); 2 bad
// command line, unusable input file, a --desa-captura file that cannot be created, no sound server or no
// input device (one line on standard error, nothing on standard output), or a file that cannot be read
// to its end (one line on standard error after the lines of the blocks read before, nothing saved); 3 the
// input device was lost while listening. SIGINT, SIGTERM and SIGHUP end the run between two blocks, as
// the end of the file or of --durada would, with the files saved. Lines from a file are flushed at the
// end; lines from the microphone as they come.
#pragma once

#include <iosfwd>

namespace tessora {

int ExecutarCli(int argc, const char* const* argv, std::ostream& sortida, std::ostream& errors);

} // namespace tessora
