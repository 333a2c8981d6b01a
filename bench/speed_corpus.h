// The speed corpus: real Portuguese prose from Debian's documentation
// packages, about 5,000 texts and 10.8 MB with no paragraph repeated, made
// and cached by bench/make_corpus.sh outside the source tree.
#ifndef CASEWRIGHT_BENCH_SPEED_CORPUS_H_
#define CASEWRIGHT_BENCH_SPEED_CORPUS_H_

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/read_file.h"

namespace casewright::bench {

// The folder of the corpus's texts, made first when it is missing.
// REQUIRES: CASEWRIGHT_SOURCE_DIR names the source tree.
inline std::filesystem::path SpeedCorpusFolder() {
  const std::string command = "sh '" CASEWRIGHT_SOURCE_DIR "/bench/make_corpus.sh'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  std::string folder;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) folder += buffer;
  if (::pclose(pipe) != 0 || folder.empty()) throw std::runtime_error(command + " failed");
  folder.pop_back();  // the line end
  return folder;
}

// The corpus's texts in name order.
inline std::vector<std::filesystem::path> SpeedCorpusFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The corpus's texts one after the other, a blank line between them.
inline std::string SpeedCorpusText(const std::filesystem::path& folder) {
  std::string all;
  for (const auto& file : SpeedCorpusFiles(folder)) {
    all += *ReadWholeFile(file.string());
    all += "\n";
  }
  return all;
}

}  // namespace casewright::bench

#endif  // CASEWRIGHT_BENCH_SPEED_CORPUS_H_
