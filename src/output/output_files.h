// The files one run writes, put in place together.
//
// Every file is written out and closed before any of them replaces its
// target, so a failure while writing any one of them (a full disk, say)
// leaves every target as it was.  Only the final renames, which need no
// space, come after that point.
#ifndef CASEWRIGHT_OUTPUT_OUTPUT_FILES_H_
#define CASEWRIGHT_OUTPUT_OUTPUT_FILES_H_

#include <memory>
#include <string>
#include <vector>

#include "output/output_file.h"

namespace casewright {

class OutputFiles {
 public:
  // Opens one more file (see OutputFile).  The reference stays valid as
  // long as this object.  Throws RunError.
  OutputFile& Open(const std::string& path);

  // Finishes every file, then puts each in place, in the order opened.
  // Throws RunError; a file not yet put in place is then discarded.
  void CommitAll();

 private:
  std::vector<std::unique_ptr<OutputFile>> files_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_OUTPUT_FILES_H_
