// The classes file: one class per sentence, in sentence order.
//
// A class is a run of decimal digits ended by a space (consumed with it) or
// by the end of the file.  Every other byte, line breaks included, is
// skipped and ends nothing, so "1 0 1" gives three classes and "1" LF "0"
// one, "10".  A Ctrl-Z (0x1A) ends the file.  A class is kept as text
// (leading zeros and all) and may be empty.
#ifndef CASEWRIGHT_TEXT_CLASSES_FILE_H_
#define CASEWRIGHT_TEXT_CLASSES_FILE_H_

#include <cstddef>
#include <string>
#include <vector>

namespace casewright {

class ClassesFile {
 public:
  // Reads the whole file.  Throws RunError (file_error.h messages).
  explicit ClassesFile(const std::string& path);

  // The next class: its digits in order, possibly none.
  std::string ReadNextClass();

  bool AtEnd() const { return position_ >= bytes_.size(); }

  // The classes after the read position that hold at least one digit.
  std::size_t CountUnreadClasses() const;

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

struct SentenceClasses {
  // The class of each sentence, in order.
  std::vector<std::string> classes;
  // A file with fewer or more classes than there are sentences.
  std::vector<std::string> warnings;
};

// Reads the classes of `sentence_count` sentences from the start of `file`.
SentenceClasses ReadSentenceClasses(ClassesFile& file, std::size_t sentence_count);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_CLASSES_FILE_H_
