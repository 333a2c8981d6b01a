#include "experiment/fold_file.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>

#include "core/read_file.h"
#include "core/run_error.h"
#include "summary/csv_fields.h"

namespace casewright {
namespace {

// A whole number from `low` to `high`, or nothing.
std::optional<std::size_t> NumberIn(const std::string& field, std::size_t low, std::size_t high) {
  std::size_t number = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
  if (field.empty() || error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  if (number < low || number > high) return std::nullopt;
  return number;
}

// The folds read so far: the fold (from 1) of each text in each repeat, 0
// for none yet, and the line that gave it.
class FoldReader {
 public:
  FoldReader(const std::string& path, const std::vector<std::string>& names) : path_(path), names_(names) {
    for (std::size_t i = 0; i < names.size(); ++i) index_of_.emplace(names[i], i);
  }

  void Read(std::size_t line, std::string_view text) {
    const std::vector<std::string> fields = CsvFields(text);
    if (fields.size() != 3) FailAt(line, "The row has " + std::to_string(fields.size()) + " fields, the header 3");
    const auto text_index = index_of_.find(fields[0]);
    if (text_index == index_of_.end()) FailAt(line, "The text " + fields[0] + " is not in the manifest");
    const std::optional<std::size_t> repeat = NumberIn(fields[1], 1, kMaxRepeats);
    if (!repeat) {
      FailAt(line, "Repeat \"" + fields[1] + "\" is out of range: repeats are numbered from 1 to " +
                       std::to_string(kMaxRepeats));
    }
    const std::optional<std::size_t> fold = NumberIn(fields[2], 1, names_.size());
    if (!fold) {
      FailAt(line, "Fold \"" + fields[2] + "\" is out of range: folds are numbered from 1 to the number of texts (" +
                       std::to_string(names_.size()) + ")");
    }
    if (seen_.size() < *repeat) seen_.resize(*repeat, std::vector<Seen>(names_.size()));
    Seen& seen = seen_[*repeat - 1][text_index->second];
    if (seen.fold != 0) {
      FailAt(line, "The text " + fields[0] + " already has a fold in repeat " + fields[1] + ", on line " +
                       std::to_string(seen.line));
    }
    seen = {*fold, line};
  }

  FoldAssignment Assignment() const {
    if (seen_.empty()) Fail("The file holds no fold");
    FoldAssignment folds;
    for (const std::vector<Seen>& repeat : seen_) {
      for (const Seen& seen : repeat) folds.folds = std::max(folds.folds, seen.fold);
    }
    if (folds.folds < 2) Fail("The file deals the texts into 1 fold: cross-validation needs at least 2");
    for (std::size_t r = 0; r < seen_.size(); ++r) {
      std::vector<bool> used(folds.folds);
      std::vector<std::size_t>& fold_of = folds.fold_of.emplace_back();
      for (std::size_t i = 0; i < names_.size(); ++i) {
        if (seen_[r][i].fold == 0) {
          Fail("The file gives the text " + names_[i] + " no fold in repeat " + std::to_string(r + 1));
        }
        fold_of.push_back(seen_[r][i].fold - 1);
        used[fold_of.back()] = true;
      }
      for (std::size_t f = 0; f < folds.folds; ++f) {
        if (!used[f]) {
          Fail("Repeat " + std::to_string(r + 1) + " has no text in fold " + std::to_string(f + 1) + " of " +
               std::to_string(folds.folds) + ": folds are numbered from 1 without gaps");
        }
      }
    }
    return folds;
  }

  [[noreturn]] void FailAt(std::size_t line, const std::string& why) const {
    throw RunError(why, path_ + ":" + std::to_string(line));
  }
  [[noreturn]] void Fail(const std::string& why) const { throw RunError(why, path_); }

 private:
  struct Seen {
    std::size_t fold = 0;
    std::size_t line = 0;
  };
  const std::string& path_;
  const std::vector<std::string>& names_;
  std::unordered_map<std::string, std::size_t> index_of_;
  std::vector<std::vector<Seen>> seen_;
};

}  // namespace

std::string FoldsCsv(const FoldAssignment& folds, const std::vector<std::string>& names) {
  std::string csv = "text,repeat,fold\n";
  for (std::size_t r = 0; r < folds.repeats(); ++r) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      csv += CsvField(names[i]) + "," + std::to_string(r + 1) + "," + std::to_string(folds.fold_of[r][i] + 1) + "\n";
    }
  }
  return csv;
}

FoldAssignment ParseFolds(std::string_view contents, const std::string& path, const std::vector<std::string>& names) {
  FoldReader reader(path, names);
  bool header = true;
  for (std::size_t line = 1; !contents.empty(); ++line) {
    const std::size_t end = contents.find('\n');
    std::string_view text = contents.substr(0, end);
    contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
    if (text.ends_with('\r')) text.remove_suffix(1);
    if (text.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (header && CsvFields(text) != std::vector<std::string>{"text", "repeat", "fold"}) {
      reader.FailAt(line, "The first line must be the header text,repeat,fold");
    }
    if (!header) reader.Read(line, text);
    header = false;
  }
  return reader.Assignment();
}

FoldAssignment ReadFolds(const std::string& path, const std::vector<std::string>& names) {
  return ParseFolds(ReadFileWithin(path, std::size_t{1} << 30), path, names);
}

}  // namespace casewright
