// The files a command reads and writes, checked before anything is written.
//
// Writing a file the command also reads, or writing one file twice, would
// destroy data, and reading one file as two inputs of a run (the text again
// as its classes, standard input twice) gives a wrong result, so a command
// whose files include one file twice is refused first.  Names are compared by
// what they lead to, not by their spelling: once links are followed and
// paths normalised, so that "o" and "./o" are one file even before it
// exists; by device and inode; and by the descriptor they name, so that
// "-", /dev/stdin and /proc/self/fd/0 are one file.
#ifndef CASEWRIGHT_PIPELINE_RUN_FILES_H_
#define CASEWRIGHT_PIPELINE_RUN_FILES_H_

#include <string>
#include <vector>

#include "core/lexical_tables.h"

namespace casewright {

// A file a command reads or writes, as the user named it.
struct RunFile {
  std::string path;
  std::string what;  // as messages name it: "text file", "output file"
  bool written;
};

// Adds the files `tables` are read from, as inputs named "lexical table".
void AddTableFiles(std::vector<RunFile>& files, const LexicalTables& tables);

// Whether two files that are both read may be one file: a run's text and
// classes file may not, while the texts of a batch's lines may share a
// classes file.
enum class SharedInputs { kAllowed, kRefused };

// Throws RunError "The <later> is the same file as the <earlier> (<its
// path>); nothing was written", naming the later file's path, when two of
// `files` are one file and one of them is written (or, when `inputs` says
// so, both are read).
void RefuseSharedFiles(const std::vector<RunFile>& files, SharedInputs inputs = SharedInputs::kAllowed);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_RUN_FILES_H_
