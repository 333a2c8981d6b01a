// The classes file: one class per sentence, in sentence order.
//
// A class is a run of decimal digits ended by a space (consumed with it) or
// by the end of the file.  Every other byte, line breaks included, is
// skipped and ends nothing, so "1 0 1" gives three classes and "1" LF "0"
// one, "10".  A Ctrl-Z (0x1A) ends the file.  A class is kept as text
// (leading zeros and all) and may be empty.  Files that exist may rely on
// that rule, so it stays; but a class whose digits were run together across
// skipped bytes is almost always a file written one class a line, so the
// reader notes where that first happens and every run warns of it.
//
// The file is read as a stream, as far as the run needs it, and never
// beyond kMaxBytes: a file that goes on past that (a device such as
// /dev/zero) fails the run instead of reading forever.  After the last
// sentence's class, only a bounded look-ahead counts the classes left over,
// and only what has already arrived: an endless or slow pipe holds up no
// run.
#ifndef CASEWRIGHT_TEXT_CLASSES_FILE_H_
#define CASEWRIGHT_TEXT_CLASSES_FILE_H_

#include <cstddef>
#include <cstdint>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace casewright {

// The classes after the last one a run needs, as far as the look-ahead saw.
struct UnreadClasses {
  std::size_t count = 0;       // classes holding a digit
  bool all_counted = false;    // the end of the file was reached
  bool look_ahead_full = false;  // stopped at the look-ahead's limit
};

class ClassesFile {
 public:
  // The most sentences a text can hold (one a byte of a 1 GiB text), each
  // with a one-digit class and its space, take 2 GiB: twice that leaves
  // room to spare.
  static constexpr std::uint64_t kMaxBytes = std::uint64_t{4} << 30;

  // How far past the last needed class LookAhead reads: 32768 one-digit
  // classes, far more than any file one sentence off holds.
  static constexpr std::size_t kLookAheadBytes = std::size_t{64} << 10;

  // Opens the file (`-`: standard input).  Throws RunError (file_error.h
  // messages).
  explicit ClassesFile(const std::string& path, std::uint64_t max_bytes = kMaxBytes);
  ~ClassesFile();
  ClassesFile(const ClassesFile&) = delete;
  ClassesFile& operator=(const ClassesFile&) = delete;

  // The next class: its digits in order, possibly none.  Throws RunError
  // when the file cannot be read or goes on past the limit.
  std::string ReadNextClass();

  // Of the class ReadNextClass last returned: the lines (from 1) of the
  // file on which its first and last digits stand, and whether skipped
  // bytes (a line break, a letter) stand between two of its digits.  A
  // line ends at CR LF, CR or LF.
  std::size_t last_class_first_line() const { return class_first_line_; }
  std::size_t last_class_last_line() const { return class_last_line_; }
  bool last_class_merged() const { return class_merged_; }

  // Whether nothing is left to read.  Throws as ReadNextClass.
  bool AtEnd();

  // The classes after the read position that hold at least one digit,
  // among the next `max_bytes` bytes that have already arrived: never
  // waits for a pipe or a terminal.  Throws as ReadNextClass.
  UnreadClasses LookAhead(std::size_t max_bytes);

 private:
  static constexpr int kNotReady = -2;

  // Reads the next bytes into the buffer; when not `wait`, only if some (or
  // the end) have arrived, else returns false.
  bool Fill(bool wait);
  // The next byte without taking it, EOF at the end of the classes, or
  // kNotReady when not `wait` and nothing has arrived.
  int Peek(bool wait = true);
  int Take();

  std::string path_;
  int fd_;
  std::array<char, 1 << 16> buffer_;
  std::size_t begin_ = 0;  // the next byte of the buffer
  std::size_t end_ = 0;
  bool ended_ = false;     // the last read found the end
  std::uint64_t max_bytes_;
  std::uint64_t bytes_read_ = 0;
  int next_ = EOF;      // the byte Peek looked at
  bool peeked_ = false;
  std::size_t line_ = 1;  // of the next byte
  int last_taken_ = EOF;
  std::size_t class_first_line_ = 0;
  std::size_t class_last_line_ = 0;
  bool class_merged_ = false;
};

struct SentenceClasses {
  // The class of each sentence, in order.
  std::vector<std::string> classes;
  // Sentences left with an empty class, classes shifted by an empty one, a
  // class whose digits were run together across skipped bytes, a file with
  // more classes than there are sentences.
  std::vector<std::string> warnings;
  // Where the classes stop fitting the sentences, as sentence numbers from
  // 1 (0: nowhere): the first sentence with an empty class; the first of
  // the sentences left without a class when the file ran out before the
  // last sentence; the first sentence whose class was run together.
  std::size_t first_empty = 0;
  std::size_t run_out = 0;
  std::size_t first_merged = 0;
  // The classes with digits after the last sentence's, as far as the
  // look-ahead counted them, and whether it reached the end of the file.
  std::size_t extra_classes = 0;
  bool extra_all_counted = true;
};

// Reads the classes of `sentence_count` sentences from the start of `file`.
SentenceClasses ReadSentenceClasses(ClassesFile& file, std::size_t sentence_count);

// Where the classes stop fitting the sentences, as a listing marks it: the
// sentence the file ran out at, else the first with an empty class, else the
// first whose class was run together.
enum class ClassMark { kNone, kRunOut, kEmpty, kMerged };

// The mark of sentence `number` (from 1).
ClassMark MarkAt(const SentenceClasses& classes, std::size_t number);

// The first sentence (from 1) that MarkAt marks, or 0.
std::size_t FirstMarked(const SentenceClasses& classes);

// The bytes of a classes file holding `classes`: separated by one blank,
// ended by LF.
std::string ClassesFileText(const std::vector<std::string>& classes);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_CLASSES_FILE_H_
