// The files a command reads and writes, checked before anything is written.
//
// Writing a file the command also reads, or writing one file twice, would
// destroy data, so a command that would do so is refused first.  Names are
// compared once links are followed and paths normalised, so that "o" and
// "./o" are one file even before it exists.
#ifndef CASEWRIGHT_PIPELINE_RUN_FILES_H_
#define CASEWRIGHT_PIPELINE_RUN_FILES_H_

#include <string>
#include <vector>

namespace casewright {

// A file a command reads or writes, as the user named it.
struct RunFile {
  const std::string& path;
  const char* what;  // as messages name it: "text file", "output file"
  bool written;
};

// Throws RunError "The <later> is the same file as the <earlier>; nothing
// was written", naming the later file's path, when two files of which one
// is written are one file.
void RefuseSharedFiles(const std::vector<RunFile>& files);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_RUN_FILES_H_
