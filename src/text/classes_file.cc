#include "text/classes_file.h"

#include <algorithm>

#include "core/read_file.h"

namespace casewright {
namespace {

constexpr char kEndOfFile = '\x1A';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

ClassesFile::ClassesFile(const std::string& path) : bytes_(*ReadWholeFile(path)) {
  bytes_.resize(std::min(bytes_.size(), bytes_.find(kEndOfFile)));
}

std::string ClassesFile::ReadNextClass() {
  std::string digits;
  while (!AtEnd()) {
    char c = bytes_[position_++];
    if (IsDigit(c)) digits += c;
    if (c == ' ') break;
  }
  return digits;
}

std::size_t ClassesFile::CountUnreadClasses() const {
  std::size_t count = 0;
  bool has_digit = false;
  for (std::size_t i = position_; i < bytes_.size(); ++i) {
    char c = bytes_[i];
    if (IsDigit(c)) has_digit = true;
    if (c == ' ' || i + 1 == bytes_.size()) {
      count += has_digit ? 1 : 0;
      has_digit = false;
    }
  }
  return count;
}

SentenceClasses ReadSentenceClasses(ClassesFile& file, std::size_t sentence_count) {
  SentenceClasses result;
  result.classes.reserve(sentence_count);
  std::size_t starved = 0;  // sentences whose class was read past the end
  for (std::size_t i = 0; i < sentence_count; ++i) {
    if (file.AtEnd()) ++starved;
    result.classes.push_back(file.ReadNextClass());
  }
  if (starved > 0) {
    result.warnings.push_back("The classes file has fewer classes than the text has sentences: " +
                              Plural(starved, "sentence", "sentences") + " got an empty class.");
  }
  if (std::size_t unread = file.CountUnreadClasses(); unread > 0) {
    result.warnings.push_back("The classes file has more classes than the text has sentences: " +
                              Plural(unread, "class was", "classes were") + " left unread.");
  }
  return result;
}

}  // namespace casewright
