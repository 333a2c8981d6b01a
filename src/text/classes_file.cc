#include "text/classes_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_error.h"
#include "core/read_file.h"
#include "core/run_error.h"

namespace casewright {
namespace {

constexpr int kEndOfFile = 0x1A;

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Standard input is read through a copy of its descriptor, so that closing
// the copy leaves it open.
int OpenForReading(const std::string& path) {
  if (path != kStandardInput) return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  return ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
}

// Whether a read of `fd` would return at once: bytes or the end are there.
bool Ready(int fd) {
  pollfd ready = {fd, POLLIN, 0};
  return ::poll(&ready, 1, 0) > 0;
}

}  // namespace

ClassesFile::ClassesFile(const std::string& path, std::uint64_t max_bytes)
    : path_(path), fd_(OpenForReading(path)), max_bytes_(max_bytes) {
  if (fd_ < 0) throw FileError(errno, path_);
  struct stat info;
  if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd_);
    throw FileError(EISDIR, path_);
  }
}

ClassesFile::~ClassesFile() { ::close(fd_); }

bool ClassesFile::Fill(bool wait) {
  for (;;) {
    if (!wait && !Ready(fd_)) return false;
    const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n >= 0) {
      begin_ = 0;
      end_ = static_cast<std::size_t>(n);
      ended_ = n == 0;
      return true;
    }
    if (errno == EAGAIN) {
      // A descriptor left non-blocking by whoever opened it.
      if (!wait) return false;
      pollfd ready = {fd_, POLLIN, 0};
      ::poll(&ready, 1, -1);
    } else if (errno != EINTR) {
      throw FileError(errno, path_);
    }
  }
}

int ClassesFile::Peek(bool wait) {
  if (peeked_) return next_;
  if (begin_ == end_ && !ended_ && !Fill(wait)) return kNotReady;
  const int c = begin_ < end_ ? static_cast<unsigned char>(buffer_[begin_++]) : EOF;
  if (c != EOF && ++bytes_read_ > max_bytes_) {
    throw RunError("The classes file goes on past " + SizeText(max_bytes_) + "; reading stopped there", path_);
  }
  next_ = c == kEndOfFile ? EOF : c;
  peeked_ = true;
  return next_;
}

int ClassesFile::Take() {
  int c = Peek();
  // The end stays the end: nothing after a Ctrl-Z is read.
  if (c == EOF) return c;
  peeked_ = false;
  if (c == '\r' || (c == '\n' && last_taken_ != '\r')) ++line_;
  last_taken_ = c;
  return c;
}

bool ClassesFile::AtEnd() { return Peek() == EOF; }

std::string ClassesFile::ReadNextClass() {
  std::string digits;
  class_merged_ = false;
  bool skipped = false;  // since the last digit
  for (int c = Take(); c != EOF && c != ' '; c = Take()) {
    if (!IsDigit(c)) {
      skipped = true;
      continue;
    }
    // A digit is never a line break, so line_ is still its line.
    if (digits.empty()) {
      class_first_line_ = line_;
    } else {
      class_merged_ = class_merged_ || skipped;
    }
    class_last_line_ = line_;
    skipped = false;
    digits += static_cast<char>(c);
  }
  return digits;
}

UnreadClasses ClassesFile::LookAhead(std::size_t max_bytes) {
  UnreadClasses unread;
  bool in_class = false;  // a digit was seen since the last space
  for (std::size_t taken = 0;; ++taken) {
    const int c = Peek(false);
    if (c == EOF) {
      unread.all_counted = true;
      return unread;
    }
    if (c == kNotReady) return unread;
    if (taken == max_bytes) {
      unread.look_ahead_full = true;
      return unread;
    }
    Take();
    if (c == ' ') {
      in_class = false;
    } else if (IsDigit(c) && !in_class) {
      in_class = true;
      ++unread.count;
    }
  }
}

SentenceClasses ReadSentenceClasses(ClassesFile& file, std::size_t sentence_count) {
  SentenceClasses result;
  result.classes.reserve(sentence_count);
  std::size_t starved = 0;        // sentences whose class was read past the end
  std::size_t empty = 0;          // sentences with an empty class, those included
  std::size_t last_with_digits = 0;
  std::size_t merged = 0;
  std::string merged_lines;       // where the first merged class stands
  bool shifted = false;           // a class with digits follows the first empty one
  for (std::size_t i = 0; i < sentence_count; ++i) {
    if (file.AtEnd()) ++starved;
    std::string sentence_class = file.ReadNextClass();
    if (sentence_class.empty()) {
      ++empty;
      if (result.first_empty == 0) result.first_empty = i + 1;
    } else {
      shifted = shifted || result.first_empty != 0;
      last_with_digits = i + 1;
    }
    if (file.last_class_merged() && merged++ == 0) {
      result.first_merged = i + 1;
      const std::size_t first = file.last_class_first_line();
      const std::size_t last = file.last_class_last_line();
      merged_lines = first == last ? "line " + std::to_string(first)
                                   : "lines " + std::to_string(first) + " to " + std::to_string(last);
    }
    result.classes.push_back(std::move(sentence_class));
  }
  if (starved > 0) result.run_out = last_with_digits + 1;
  if (merged > 0) {
    const std::size_t n = result.first_merged;
    result.warnings.push_back("The classes file runs digits together across line breaks or other bytes that end "
                              "no class, in " + Plural(merged, "class", "classes") + ": the first is the class " +
                              result.classes[n - 1] + " of sentence " + std::to_string(n) + ", on " + merged_lines +
                              " of the file (a class ends only at a space or at the end of the file).");
  }
  if (shifted) {
    result.warnings.push_back("The classes file gives sentence " + std::to_string(result.first_empty) +
                              " an empty class, yet later sentences get classes: classes shifted from sentence " +
                              std::to_string(result.first_empty) +
                              " (a space at the start, two spaces in a row or a class without digits).");
  }
  if (empty > 0) {
    result.warnings.push_back(
        (starved > 0 ? "The classes file has fewer classes than the text has sentences: "
                     : "The classes file has an empty class for some sentences: ") +
        Plural(empty, "sentence", "sentences") + " got an empty class.");
  }
  const UnreadClasses extra = file.LookAhead(ClassesFile::kLookAheadBytes);
  result.extra_classes = extra.count;
  result.extra_all_counted = extra.all_counted;
  if (extra.count > 0) {
    result.warnings.push_back("The classes file has more classes than the text has sentences: " +
                              std::string(extra.all_counted ? "" : "at least ") +
                              Plural(extra.count, "class was", "classes were") + " left unread" +
                              (extra.look_ahead_full ? " (only the next " + SizeText(ClassesFile::kLookAheadBytes) +
                                                           " after the last sentence's class were read)."
                                                     : "."));
  } else if (extra.look_ahead_full) {
    result.warnings.push_back("The classes file goes on past " + SizeText(ClassesFile::kLookAheadBytes) +
                              " after the last sentence's class, with no class in them; the rest was left unread.");
  }
  return result;
}

ClassMark MarkAt(const SentenceClasses& classes, std::size_t number) {
  if (number == 0) return ClassMark::kNone;
  if (number == classes.run_out) return ClassMark::kRunOut;
  if (number == classes.first_empty) return ClassMark::kEmpty;
  if (number == classes.first_merged) return ClassMark::kMerged;
  return ClassMark::kNone;
}

std::size_t FirstMarked(const SentenceClasses& classes) {
  std::size_t first = 0;
  for (std::size_t number : {classes.run_out, classes.first_empty, classes.first_merged}) {
    if (number != 0 && (first == 0 || number < first)) first = number;
  }
  return first;
}

std::string ClassesFileText(const std::vector<std::string>& classes) {
  std::string text;
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (i > 0) text += ' ';
    text += classes[i];
  }
  return text + '\n';
}

}  // namespace casewright
