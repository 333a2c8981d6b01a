#include "summary/score_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>

#include "core/read_file.h"
#include "core/run_error.h"
#include "summary/csv_fields.h"

namespace casewright {
namespace {

struct Line {
  std::size_t number;  // from 1
  std::string_view text;
};

std::vector<Line> SplitLines(std::string_view contents) {
  std::vector<Line> lines;
  std::size_t number = 1;
  while (!contents.empty()) {
    // A line ends at LF, CR LF or a CR alone, as the texts' lines do.
    const std::size_t end = contents.find_first_of("\r\n");
    lines.push_back({number++, TrimBlanks(contents.substr(0, end))});
    if (end == std::string_view::npos) break;
    const bool crlf = contents[end] == '\r' && end + 1 < contents.size() && contents[end + 1] == '\n';
    contents.remove_prefix(end + (crlf ? 2 : 1));
  }
  while (!lines.empty() && lines.back().text.empty()) lines.pop_back();
  return lines;
}

std::optional<double> ParseNumber(std::string_view field) {
  field = TrimBlanks(field);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || error != std::errc() || end != field.data() + field.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string Plural(std::size_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Reads one kind of score file, failing with the file's name and a line.
class ScoreReader {
 public:
  ScoreReader(const std::string& path, std::size_t sentence_count) : path_(path), count_(sentence_count) {}

  [[noreturn]] void FailAt(std::size_t line, const std::string& why) const {
    throw RunError(why, path_ + ":" + std::to_string(line));
  }
  [[noreturn]] void Fail(const std::string& why) const { throw RunError(why, path_); }

  double NumberAt(std::size_t line, std::string_view field) const {
    if (auto value = ParseNumber(field)) return *value;
    FailAt(line, "\"" + std::string(TrimBlanks(field)) + "\" is not a number");
  }

  // Fails unless `scores` holds one score per sentence; `lines` are the
  // lines they came from.
  void CheckCount(const std::vector<Line>& lines, std::size_t scores) const {
    if (scores > count_) {
      FailAt(lines[count_].number, "The file holds " + Plural(scores, "score") + ", but the text has only " +
                                       Plural(count_, "sentence"));
    }
    if (scores < count_) {
      Fail("The file holds " + Plural(scores, "score") + ", but the text has " + Plural(count_, "sentence"));
    }
  }

  std::vector<double> Numbers(const std::vector<Line>& lines) const {
    std::vector<double> scores;
    for (const Line& line : lines) {
      if (line.text.empty()) FailAt(line.number, "A blank line among the scores: every sentence needs one");
      scores.push_back(NumberAt(line.number, line.text));
    }
    CheckCount(lines, scores.size());
    return scores;
  }

  std::vector<double> Csv(const std::vector<Line>& lines, const std::string& text_id) const;
  std::vector<double> Weka(const std::vector<Line>& lines) const;

 private:
  const std::string& path_;
  std::size_t count_;
};

std::optional<std::size_t> ColumnOf(const std::vector<std::string>& header, std::string_view name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (header[i] == name) return i;
  }
  return std::nullopt;
}

bool SameText(const std::string& a, const std::string& b) {
  return a == b || std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

std::vector<double> ScoreReader::Csv(const std::vector<Line>& lines, const std::string& text_id) const {
  const std::vector<std::string> header = CsvFields(lines.front().text);
  const std::size_t sentence = *ColumnOf(header, "sentence");
  const std::size_t score = *ColumnOf(header, "score");
  const std::optional<std::size_t> text = ColumnOf(header, "text");
  const std::optional<std::size_t> repeat = ColumnOf(header, "repeat");
  std::vector<std::optional<double>> scores(count_);
  std::vector<std::size_t> line_of(count_);
  std::vector<std::string> other_texts;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.text.empty()) continue;
    const std::vector<std::string> fields = CsvFields(line.text);
    if (fields.size() != header.size()) {
      FailAt(line.number, "The row has " + Plural(fields.size(), "field") + ", the header " +
                              std::to_string(header.size()));
    }
    if (repeat && fields[*repeat] != "1") continue;
    if (text && !SameText(fields[*text], text_id)) {
      if (other_texts.size() < 3 && std::find(other_texts.begin(), other_texts.end(), fields[*text]) ==
                                        other_texts.end()) {
        other_texts.push_back(fields[*text]);
      }
      continue;
    }
    std::size_t number = 0;
    const std::string& field = fields[sentence];
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (field.empty() || error != std::errc() || end != field.data() + field.size()) {
      FailAt(line.number, "\"" + field + "\" is not a sentence number");
    }
    if (number < 1 || number > count_) {
      FailAt(line.number, "Sentence " + field + " is out of range: the text has " + Plural(count_, "sentence"));
    }
    if (scores[number - 1]) {
      FailAt(line.number, "Sentence " + field + " already has a score, on line " +
                              std::to_string(line_of[number - 1]));
    }
    scores[number - 1] = NumberAt(line.number, fields[score]);
    line_of[number - 1] = line.number;
  }
  if (text && std::none_of(scores.begin(), scores.end(), [](const auto& s) { return s.has_value(); })) {
    std::string texts;
    for (const std::string& other : other_texts) texts += (texts.empty() ? "" : ", ") + other;
    Fail("The file holds no row of the text " + text_id + (texts.empty() ? "" : " (it holds " + texts + ")"));
  }
  std::vector<double> result;
  for (std::size_t i = 0; i < count_; ++i) {
    if (!scores[i]) Fail("The file holds no score for sentence " + std::to_string(i + 1) + " of " + std::to_string(count_));
    result.push_back(*scores[i]);
  }
  return result;
}

// "2:1" -> {2, "1"}; nullopt for a field of another form.
std::optional<std::pair<std::size_t, std::string_view>> WekaValue(std::string_view field) {
  const std::size_t colon = field.find(':');
  std::size_t index = 0;
  if (colon == std::string_view::npos) return std::nullopt;
  const auto [end, error] = std::from_chars(field.data(), field.data() + colon, index);
  if (error != std::errc() || end != field.data() + colon || index < 1) return std::nullopt;
  return std::pair{index, field.substr(colon + 1)};
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  while (!(line = TrimBlanks(line)).empty()) {
    const std::size_t end = std::min(line.find(' '), line.find('\t'));
    words.push_back(line.substr(0, end));
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
  }
  return words;
}

std::vector<double> ScoreReader::Weka(const std::vector<Line>& lines) const {
  std::size_t i = 0;
  while (i < lines.size() && (Words(lines[i].text).empty() || Words(lines[i].text).front() != "inst#")) ++i;
  if (i == lines.size()) Fail("Weka's predictions have no header line starting \"inst#\"");
  if (Words(lines[i].text).back() != "distribution") {
    FailAt(lines[i].number, "Weka's predictions hold no distribution: run Weka with -p 0 -distribution");
  }
  std::vector<Line> rows;
  std::vector<std::vector<double>> distributions;
  std::optional<std::size_t> column_of_1, column_of_0;
  for (++i; i < lines.size() && !lines[i].text.empty(); ++i) {
    const Line& line = lines[i];
    const std::vector<std::string_view> words = Words(line.text);
    if (words.size() < 4) FailAt(line.number, "A prediction needs inst#, actual, predicted and distribution");
    if (ParseNumber(words[0]) != static_cast<double>(rows.size() + 1)) {
      FailAt(line.number, "Instance \"" + std::string(words[0]) + "\" out of order: expected " +
                              std::to_string(rows.size() + 1));
    }
    for (std::string_view field : {words[1], words[2]}) {
      if (auto value = WekaValue(field); value && value->second == "1") column_of_1 = value->first - 1;
      if (auto value = WekaValue(field); value && value->second == "0") column_of_0 = value->first - 1;
    }
    std::vector<double>& distribution = distributions.emplace_back();
    std::string_view rest = words.back();
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      std::string probability(rest.substr(0, comma));
      std::erase(probability, '*');
      distribution.push_back(NumberAt(line.number, probability));
      rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    }
    rows.push_back(line);
  }
  if (rows.empty()) Fail("Weka's predictions hold no row");
  if (!column_of_1 && column_of_0 && distributions.front().size() == 2) column_of_1 = 1 - *column_of_0;
  if (!column_of_1) Fail("No prediction names the class 1 (as \"2:1\"), so its probability cannot be told");
  std::vector<double> scores;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (distributions[row].size() <= *column_of_1) {
      FailAt(rows[row].number, "The distribution has no column for the class 1");
    }
    scores.push_back(distributions[row][*column_of_1]);
  }
  CheckCount(rows, scores.size());
  return scores;
}

}  // namespace

std::vector<double> ParseScores(std::string_view contents, const std::string& path, const std::string& text_id,
                                std::size_t sentence_count) {
  std::vector<Line> lines = SplitLines(contents);
  while (!lines.empty() && lines.front().text.empty()) lines.erase(lines.begin());
  const ScoreReader reader(path, sentence_count);
  if (lines.empty()) reader.Fail("The file holds no score");
  const std::string_view first = lines.front().text;
  if (first.starts_with("=== Predictions")) return reader.Weka(lines);
  if (ParseNumber(first)) return reader.Numbers(lines);
  const std::vector<std::string> header = CsvFields(first);
  if (ColumnOf(header, "sentence") && ColumnOf(header, "score")) return reader.Csv(lines, text_id);
  reader.FailAt(lines.front().number, "\"" + std::string(first) +
                                          "\" is not a number, nor a CSV header with the columns sentence and "
                                          "score, nor Weka's predictions");
}

std::vector<double> ReadScores(const std::string& path, const std::string& text_id, std::size_t sentence_count) {
  constexpr std::size_t kMostBytes = std::size_t{1} << 30;
  const std::optional<std::string> contents = ReadWholeFile(path, kMostBytes);
  if (!contents) throw RunError("The scores file is larger than 1 GiB", path);
  return ParseScores(*contents, path, text_id, sentence_count);
}

}  // namespace casewright
