#include "output/case_writer.h"

#include <cerrno>
#include <fstream>
#include <iterator>

#include "output/file_error.h"

namespace casewright {
namespace {

constexpr char kEndOfFile = '\x1A';

double SizeOf(const frase& s) { return static_cast<double>(s.WordCount); }
double DistributionOf(const frase& s) { return s.DistributionWeight; }
double TfIsfOf(const frase& s) { return s.TfIsf; }

char LocationCode(const std::string& label) {
  if (label == "begin") return '1';
  if (label == "middle") return '2';
  return '3';
}

char FlagCode(bool flag) { return flag ? '1' : '0'; }

char LevelDigit(double value, const FeatureThresholds& thresholds) {
  return static_cast<char>('0' + LevelCode(value, thresholds));
}

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

FeatureThresholds ComputeThresholds(const SentenceList& sentences, double (*value)(const frase&)) {
  FeatureThresholds t;
  double sum = 0.0;
  for (const frase& s : sentences) {
    double v = value(s);
    if (v > t.Maximum) t.Maximum = v;
    sum += v;
  }
  t.Average = sum / static_cast<double>(sentences.size());
  t.Low = t.Average / 2;
  t.High = t.Average + (t.Maximum - t.Average) / 2;
  return t;
}

int LevelCode(double value, const FeatureThresholds& t) {
  if (value <= t.Low) return 1;
  if (value <= t.Average) return 2;
  if (value <= t.High) return 3;
  return 4;
}

ClassesFile::ClassesFile(const std::string& path) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(errno != 0 ? errno : ENOENT, path);
  bytes_.assign(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) throw FileError(errno != 0 ? errno : EIO, path);
  bytes_.resize(std::min(bytes_.size(), bytes_.find(kEndOfFile)));
}

std::string ClassesFile::ReadNextClass() {
  std::string digits;
  while (!AtEnd()) {
    char c = bytes_[position_++];
    if (c >= '0' && c <= '9') digits += c;
    if (c == ' ') break;
  }
  return digits;
}

std::size_t ClassesFile::CountUnreadClasses() const {
  std::size_t count = 0;
  bool has_digit = false;
  for (std::size_t i = position_; i < bytes_.size(); ++i) {
    char c = bytes_[i];
    if (c >= '0' && c <= '9') has_digit = true;
    if (c == ' ' || i + 1 == bytes_.size()) {
      count += has_digit ? 1 : 0;
      has_digit = false;
    }
  }
  return count;
}

CasesWritten WriteCases(Run& run, const std::array<bool, 8>& features, CaseFormat format,
                        ClassesFile& classes, OutputFile& out) {
  const SentenceList& sentences = run.sentence_list;
  CasesWritten written;
  if (sentences.empty()) {
    written.warnings.push_back("The text has no sentence; the output file is empty.");
    return written;
  }
  const FeatureThresholds size = ComputeThresholds(sentences, SizeOf);
  const FeatureThresholds distribution = ComputeThresholds(sentences, DistributionOf);
  const FeatureThresholds tf_isf = ComputeThresholds(sentences, TfIsfOf);
  const std::string_view separator = format == CaseFormat::kQuinlan ? ", " : " ";
  const std::string_view ending = format == CaseFormat::kQuinlan ? ".\r\n" : "\r\n";

  std::size_t starved = 0;  // sentences whose class was read past the end
  run.progress.Begin(RunStage::kWrite, sentences.size());
  std::string line;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    const frase& s = sentences[i];
    const char codes[8] = {
        LevelDigit(SizeOf(s), size),        LocationCode(s.TextLocation),
        LocationCode(s.ParagraphLocation),  FlagCode(s.HasKeyword),
        FlagCode(s.HasGistWord),            LevelDigit(s.DistributionWeight, distribution),
        LevelDigit(s.TfIsf, tf_isf),        FlagCode(s.HasCuePhrase),
    };
    line.clear();
    for (int k = 0; k < 8; ++k) {
      if (!features[k]) continue;
      line += codes[k];
      line += separator;
    }
    if (classes.AtEnd()) ++starved;
    written.classes.push_back(classes.ReadNextClass());
    line += written.classes.back();
    line += ending;
    out.Write(line);
    run.progress.Advance(i + 1);
  }
  run.progress.End();

  if (starved > 0) {
    written.warnings.push_back("The classes file has fewer classes than the text has sentences: " +
                               Plural(starved, "sentence", "sentences") + " got an empty class.");
  }
  if (std::size_t unread = classes.CountUnreadClasses(); unread > 0) {
    written.warnings.push_back("The classes file has more classes than the text has sentences: " +
                               Plural(unread, "class was", "classes were") + " left unread.");
  }
  return written;
}

}  // namespace casewright
