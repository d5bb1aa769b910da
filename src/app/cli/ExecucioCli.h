// tessora-cli: the live recognition loop run on sound files, one analysis line per recognition.
//
//   tessora-cli [options] FILE...
//   tessora-cli --agrega CSV...
//   tessora-cli --importa TEXT... [--parlant NAME]
//   tessora-cli --diari [--parlant NAME] [--llengua ca|es] [--csv]
//
// Each FILE is read as it is analysed, in constant memory, and cut into consecutive 512-sample blocks from
// its start (a trailing partial block is dropped); each block is one capture message with listening on. For
// every analysis the loop makes, one line:
//   <block index, 0-based> TAB <result text, possibly empty> TAB <data line after the call>
// or, with --csv, one CSV row. With several FILEs (analysed on --jobs worker threads, written out in the
// order given) each file's lines follow a line "# FILE"; with --csv the rows of all come under one header,
// each with the file as its first field. Exit status, for several files the highest of theirs: 0 done; 1
// a --desa, --desa-captura, --carta or --textgrid file or standard output could not be written whole (a
// capture that stopped part-way is kept, shorter); 2 bad command line, unusable input file or annotations,
// a --desa-captura file that cannot be created, no sound server or no input device (one line on standard
// error, nothing on standard output), or a file that cannot be read to its end (one line on standard error
// after the lines of the blocks read before, nothing saved); 3 the input device was lost while listening.
// SIGINT, SIGTERM and SIGHUP end the run between two blocks, as the end of the file or of --durada would,
// with the files saved. Lines from a file are flushed at the end; lines from the microphone as they come.
//
// --textgrid writes a Praat TextGrid of each recording (tier "vocal": the utterances, labelled with their
// first decided vowel; tier "analisi": a point per analysis). --avalua scores the analyses against
// annotations and prints, instead of the lines, the confusion table of each file ("# FILE" before it when
// there are several, then the pooled one under "# total"), or with --csv one row per labelled interval;
// --agrega pools such CSVs into the same tables.
//
// --importa stores the results texts that speakers mailed in the journal and --diari prints the journal's
// pooled tables (see DiariCli.h for their lines and statuses: 0; 2 a file refused; 1 the journal failed).
#pragma once

#include <iosfwd>

namespace tessora {

int ExecutarCli(int argc, const char* const* argv, std::ostream& sortida, std::ostream& errors);

} // namespace tessora
