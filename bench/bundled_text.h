// Long Portuguese texts for the speed programs: the bundled example texts,
// one after the other, repeated to the size asked for.
#ifndef CASEWRIGHT_BENCH_BUNDLED_TEXT_H_
#define CASEWRIGHT_BENCH_BUNDLED_TEXT_H_

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "core/read_file.h"

namespace casewright::bench {

// The bundled texts, one after the other, as a source to repeat.
// REQUIRES: CASEWRIGHT_SOURCE_DIR names the source tree.
inline std::string BundledTexts() {
  std::string all;
  for (const char* name : {"example.txt", "faq-debian.txt", "foca-seguranca.txt", "large-1mb.txt"}) {
    all += *ReadWholeFile((std::filesystem::path(CASEWRIGHT_SOURCE_DIR) / "data/examples" / name).string());
    all += "\r\n";
  }
  return all;
}

// About `bytes` bytes of `source` repeated, cut after a line end.
inline std::string TextOfSize(const std::string& source, std::size_t bytes) {
  std::string text;
  text.reserve(bytes + source.size());
  while (text.size() < bytes) text += source;
  text.resize(bytes);
  text.resize(text.rfind('\n') + 1);
  return text;
}

}  // namespace casewright::bench

#endif  // CASEWRIGHT_BENCH_BUNDLED_TEXT_H_
