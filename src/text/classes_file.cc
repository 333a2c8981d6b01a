#include "text/classes_file.h"

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

std::string SizeText(std::uint64_t bytes) {
  constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
  return bytes % kGiB == 0 ? std::to_string(bytes / kGiB) + " GiB" : std::to_string(bytes) + " bytes";
}

// Standard input is read through a copy of its descriptor, so that closing
// the stream leaves it open.
std::FILE* OpenForReading(const std::string& path) {
  if (path != kStandardInput) return std::fopen(path.c_str(), "rbe");
  const int fd = ::dup(STDIN_FILENO);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) ::close(fd);
  return file;
}

}  // namespace

ClassesFile::ClassesFile(const std::string& path, std::uint64_t max_bytes)
    : path_(path), file_(OpenForReading(path)), max_bytes_(max_bytes) {
  if (!file_) throw FileError(errno, path_);
}

int ClassesFile::Peek() {
  if (peeked_) return next_;
  int c = getc_unlocked(file_.get());
  if (c == EOF && std::ferror(file_.get())) throw FileError(errno, path_);
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
  if (c != EOF) peeked_ = false;
  return c;
}

bool ClassesFile::AtEnd() { return Peek() == EOF; }

std::string ClassesFile::ReadNextClass() {
  std::string digits;
  for (int c = Take(); c != EOF; c = Take()) {
    if (IsDigit(c)) digits += static_cast<char>(c);
    if (c == ' ') break;
  }
  return digits;
}

std::size_t ClassesFile::CountUnreadClasses() {
  std::size_t count = 0;
  while (!AtEnd()) count += ReadNextClass().empty() ? 0 : 1;
  return count;
}

SentenceClasses ReadSentenceClasses(ClassesFile& file, std::size_t sentence_count) {
  SentenceClasses result;
  result.classes.reserve(sentence_count);
  std::size_t starved = 0;      // sentences whose class was read past the end
  std::size_t empty = 0;        // sentences with an empty class, those included
  std::size_t first_empty = 0;  // from 1; 0 while every class has digits
  bool shifted = false;         // a class with digits follows the first empty one
  for (std::size_t i = 0; i < sentence_count; ++i) {
    if (file.AtEnd()) ++starved;
    std::string sentence_class = file.ReadNextClass();
    if (sentence_class.empty()) {
      ++empty;
      if (first_empty == 0) first_empty = i + 1;
    } else {
      shifted = shifted || first_empty != 0;
    }
    result.classes.push_back(std::move(sentence_class));
  }
  if (shifted) {
    result.warnings.push_back("The classes file gives sentence " + std::to_string(first_empty) +
                              " an empty class, yet later sentences get classes: classes shifted from sentence " +
                              std::to_string(first_empty) +
                              " (a space at the start, two spaces in a row or a class without digits).");
  }
  if (empty > 0) {
    result.warnings.push_back(
        (starved > 0 ? "The classes file has fewer classes than the text has sentences: "
                     : "The classes file has an empty class for some sentences: ") +
        Plural(empty, "sentence", "sentences") + " got an empty class.");
  }
  if (std::size_t unread = file.CountUnreadClasses(); unread > 0) {
    result.warnings.push_back("The classes file has more classes than the text has sentences: " +
                              Plural(unread, "class was", "classes were") + " left unread.");
  }
  return result;
}

}  // namespace casewright
