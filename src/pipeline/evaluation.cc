#include "pipeline/evaluation.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "core/control_characters.h"
#include "core/cp1252.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "pipeline/extract_run.h"
#include "pipeline/method_baselines.h"
#include "summary/score_file.h"
#include "text/classes_file.h"
#include "text/segmented_text.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void FailAt(const std::string& manifest, std::size_t line, const std::string& why) {
  throw RunError(why, manifest + ":" + std::to_string(line));
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.emplace_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

std::string Resolve(const fs::path& folder, const std::string& path) {
  if (path == kStandardInput || fs::path(path).is_absolute()) return path;
  return (folder / path).string();
}

SummarySource SourceOf(const std::string& field, const fs::path& folder) {
  static constexpr std::pair<std::string_view, SummarySource::Kind> kPrefixes[] = {
      {"classes:", SummarySource::Kind::kClasses},
      {"scores:", SummarySource::Kind::kScores},
      {"abstract:", SummarySource::Kind::kAbstract}};
  for (const auto& [prefix, kind] : kPrefixes) {
    if (field.starts_with(prefix)) return {kind, Resolve(folder, field.substr(prefix.size()))};
  }
  return {SummarySource::Kind::kExtract, Resolve(folder, field)};
}

constexpr std::string_view kReferenceSeparator = " | ";

std::vector<std::string> ReferenceFields(const std::string& field) {
  std::vector<std::string> pieces;
  std::string_view rest = field;
  while (true) {
    const std::size_t at = rest.find(kReferenceSeparator);
    pieces.emplace_back(rest.substr(0, at));
    if (at == std::string_view::npos) return pieces;
    rest.remove_prefix(at + kReferenceSeparator.size());
  }
}

void CheckLine(const std::vector<std::string>& fields, const std::string& manifest, std::size_t line) {
  if (fields.size() < 3) {
    FailAt(manifest, line, "The line has " + std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields") +
                               "; a line is text<TAB>reference<TAB>system...");
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string& field = fields[i];
    if (field.empty() || field.back() == ':') FailAt(manifest, line, "Field " + std::to_string(i + 1) + " names no file");
  }
  for (const std::string& reference : ReferenceFields(fields[1])) {
    if (reference.empty() || reference.back() == ':') FailAt(manifest, line, "A reference of field 2 names no file");
    if (reference.starts_with("scores:")) FailAt(manifest, line, "A reference cannot be scores");
  }
  for (std::size_t i = 2; i < fields.size(); ++i) {
    if (fields[i].starts_with("abstract:")) {
      FailAt(manifest, line, "A system cannot be an abstract: it is scored by the sentences it chooses");
    }
  }
}

// Refuses a control character other than a tab, as the batch manifest
// does: a NUL would cut a path short and name another file, and any other
// would reach the figures' text and system columns.
void RefuseControlCharacters(std::string_view text, const std::string& manifest, std::size_t line) {
  const auto field_name = [](std::size_t field) {
    return field == 0 ? "text" : field == 1 ? "reference" : "system " + std::to_string(field - 1);
  };
  if (auto problem = ControlCharacterProblem(text, field_name)) FailAt(manifest, line, *problem);
}

// Refuses a name that another system or a baseline also has: their rows
// would share one mean.  The baselines of several systems are named
// `lead:NAME` and `random:NAME`.
void CheckNames(const std::vector<std::string>& names, const std::string& manifest) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    for (const std::string_view baseline : {"lead", "random"}) {
      if (name == baseline || (name.starts_with(baseline) && name[baseline.size()] == ':')) {
        FailAt(manifest, 1, "The system name " + name + " is a baseline's name; name the system otherwise");
      }
    }
    if (std::find(names.begin(), names.begin() + i, name) != names.begin() + i) {
      FailAt(manifest, 1, "The header names the system " + name + " twice");
    }
  }
}

// The systems of `line` as its rows name them.
std::vector<std::string> SystemNames(const EvaluationManifest& manifest, const EvaluationLine& line) {
  std::vector<std::string> names = manifest.system_names;
  for (std::size_t i = names.size(); i < line.systems.size(); ++i) names.push_back("system" + std::to_string(i + 1));
  return names;
}

}  // namespace

EvaluationManifest ReadEvaluationManifest(const std::string& path, std::size_t max_bytes) {
  const std::string contents = ReadFileWithin(path, max_bytes);
  const fs::path folder = path == kStandardInput ? fs::path() : fs::path(path).parent_path();
  EvaluationManifest manifest;
  manifest.path = path;
  std::string_view rest = contents;
  for (std::size_t line = 1; !rest.empty(); ++line) {
    const std::size_t end = rest.find('\n');
    std::string_view text = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (!IsValidUtf8(text)) FailAt(path, line, "The line is not valid UTF-8");
    if (line == 1 && text.starts_with("#text\t")) {
      RefuseControlCharacters(text, path, line);
      const std::vector<std::string> names = SplitTabs(text);
      manifest.system_names.assign(names.begin() + std::min<std::size_t>(2, names.size()), names.end());
      if (manifest.system_names.empty()) FailAt(path, line, "The header names no system");
      CheckNames(manifest.system_names, path);
      continue;
    }
    if (text.find_first_not_of(" \t") == std::string_view::npos || text.starts_with('#')) continue;
    RefuseControlCharacters(text, path, line);
    const std::vector<std::string> fields = SplitTabs(text);
    CheckLine(fields, path, line);
    const std::size_t systems = fields.size() - 2;
    if (!manifest.system_names.empty() && systems != manifest.system_names.size()) {
      FailAt(path, line, "The line has " + std::to_string(systems) + " systems; the header names " +
                             std::to_string(manifest.system_names.size()));
    }
    EvaluationLine entry{line, fields[0], Resolve(folder, fields[0]), {}, {}};
    for (const std::string& reference : ReferenceFields(fields[1])) {
      entry.references.push_back(SourceOf(reference, folder));
    }
    for (std::size_t i = 2; i < fields.size(); ++i) entry.systems.push_back(SourceOf(fields[i], folder));
    manifest.lines.push_back(std::move(entry));
  }
  if (manifest.lines.empty()) throw RunError("The manifest holds no line to evaluate", path);
  return manifest;
}

void AddEvaluationFiles(std::vector<RunFile>& files, const EvaluationManifest& manifest) {
  // In the order of SummarySource::Kind.
  static constexpr const char* kWhat[] = {"extract", "classes file", "scores file", "abstract"};
  // A path many lines share is added once: every file is compared with
  // every other.
  std::unordered_set<std::string> added;
  const auto add = [&](const std::string& path, const char* what) {
    if (added.insert(path).second) files.push_back({path, what, false});
  };
  for (const EvaluationLine& line : manifest.lines) {
    add(line.text_path, "text file");
    for (const SummarySource& reference : line.references) add(reference.path, kWhat[static_cast<int>(reference.kind)]);
    for (const SummarySource& system : line.systems) add(system.path, kWhat[static_cast<int>(system.kind)]);
  }
}

namespace {

// The figures of one manifest line.
class LineEvaluation {
 public:
  LineEvaluation(const EvaluationLine& line, const EvaluationSettings& settings, const LexicalTables& tables,
                 EvaluationOutcome& outcome)
      : line_(line), settings_(settings), tables_(tables), outcome_(outcome) {}

  // Adds the line's rows to the outcome, or its errors.
  void Run(const std::vector<std::string>& names) {
    SegmentedText text(line_.text_path, settings_.encoding, tables_, TextBreaks(settings_.segmented));
    for (const std::string& warning : text.warnings()) outcome_.warnings.push_back(line_.text_path + ": " + warning);
    if (text.size() == 0) {
      outcome_.errors.push_back(line_.text_path + ": The text has no sentence to evaluate");
      return;
    }
    StopwordFlags stopwords;
    tokens_ = TokensOfSentences(text.run(), text.bytes(), settings_.tokens, vocabulary_, &stopwords);
    const std::optional<Reference> reference = ReferencesOf(text);
    std::vector<std::optional<std::vector<std::size_t>>> chosen;
    for (const SummarySource& system : line_.systems) chosen.push_back(Choice(text, system));
    if (!reference) return;
    if (!settings_.export_folder.empty()) {
      for (const auto& choice : chosen) outcome_.exported.push_back(choice ? Lines(text, *choice) : "");
      for (std::string& lines : reference_lines_) outcome_.exported.push_back(std::move(lines));
    }
    const MethodBaselines methods(settings_.methods);
    const MethodBaselines::Inputs inputs = methods.InputsOf(text.run(), text.bytes(), text.breaks(), std::move(stopwords));
    std::vector<std::vector<SummaryFigures>> figures(chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (!chosen[i]) continue;
      figures[i] = FiguresOfEach(tokens_, WithBaselines(*chosen[i], text.size()), *reference);
      AddRow(names[i], figures[i].front(), chosen[i]->size(), *reference);
    }
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (!chosen[i]) continue;
      const std::string suffix = chosen.size() == 1 ? "" : ":" + names[i];
      const std::size_t count = chosen[i]->size();
      if (settings_.lead) AddRow("lead" + suffix, figures[i][1], count, *reference);
      if (settings_.random) {
        AddRow("random" + suffix, MeanOfDraws(std::span(figures[i]).subspan(settings_.lead ? 2 : 1)), count,
               *reference);
      }
      const MethodText view{tokens_, inputs.stopwords, &inputs.features, &*reference};
      for (const auto& [name, method_choice] : methods.Choices(view, count)) {
        AddRow(name + suffix, FiguresOf(tokens_, method_choice, *reference), count, *reference);
      }
    }
  }

 private:
  void Error(const std::string& path, const std::string& message) { outcome_.errors.push_back(path + ": " + message); }

  // A system's choice, then its lead baseline's and its random draws, as
  // asked for: their figures are computed together, so that each reference
  // sentence meets each sentence of the text once for all of them.
  std::vector<std::vector<std::size_t>> WithBaselines(const std::vector<std::size_t>& choice,
                                                      std::size_t sentences) const {
    std::vector<std::vector<std::size_t>> summaries = {choice};
    if (settings_.lead) summaries.push_back(ChooseLead(choice.size()));
    if (settings_.random) {
      RandomChoice random(RandomBaselineSeed(settings_.seed, line_.text, sentences));
      for (auto& draw : RandomDraws(sentences, choice.size(), random, settings_.random_draws)) {
        summaries.push_back(std::move(draw));
      }
    }
    return summaries;
  }

  void AddRow(const std::string& system, const SummaryFigures& figures, std::size_t selected,
              const Reference& reference) {
    outcome_.rows.push_back(RowOf(line_.text, system, tokens_.size(), selected, reference, figures));
  }

  // The sentences an extract or a classes file chooses, one flag each.
  std::optional<std::vector<bool>> Flags(SegmentedText& text, const SummarySource& source) {
    std::vector<std::string> classes;
    if (source.kind == SummarySource::Kind::kClasses) {
      ClassesFile file(source.path);
      SentenceClasses read = ReadSentenceClasses(file, text.size());
      for (const std::string& warning : read.warnings) Error(source.path, warning);
      if (!read.warnings.empty()) return std::nullopt;
      classes = std::move(read.classes);
    } else {
      ExtractSettings extract = settings_.extract;
      extract.path = source.path;
      const ExtractClasses found = ClassesFromExtract(text.run(), extract);
      const ExtractVerdict verdict = JudgeExtract(found, settings_.extract, false);
      for (const std::string& error : verdict.errors) Error(source.path, error);
      for (const std::string& warning : verdict.warnings) outcome_.warnings.push_back(source.path + ": " + warning);
      if (!verdict.errors.empty()) return std::nullopt;
      classes = found.classes;
    }
    std::vector<bool> flags(classes.size());
    for (std::size_t i = 0; i < classes.size(); ++i) flags[i] = classes[i] == "1";
    return flags;
  }

  // The sentences `chosen` of `text`, one a line, in UTF-8.
  static std::string Lines(SegmentedText& text, const std::vector<std::size_t>& chosen) {
    std::string lines;
    for (std::size_t index : chosen) lines += text.Original(index) + "\n";
    return lines;
  }

  std::optional<Reference> ReferenceOf(SegmentedText& text, const SummarySource& source) {
    if (source.kind == SummarySource::Kind::kAbstract) {
      SegmentedText abstract(source.path, settings_.extract.encoding, tables_);
      std::vector<std::size_t> all(abstract.size());
      for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
      if (!settings_.export_folder.empty()) reference_lines_.push_back(Lines(abstract, all));
      return AbstractReference(TokensOfSentences(abstract.run(), abstract.bytes(), settings_.tokens, vocabulary_));
    }
    std::optional<std::vector<bool>> flags = Flags(text, source);
    if (!flags) return std::nullopt;
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < flags->size(); ++i) {
      if ((*flags)[i]) chosen.push_back(i);
    }
    if (!settings_.export_folder.empty()) reference_lines_.push_back(Lines(text, chosen));
    return ExtractReference(tokens_, std::move(*flags));
  }

  std::optional<Reference> ReferencesOf(SegmentedText& text) {
    std::vector<Reference> references;
    bool complete = true;
    for (const SummarySource& source : line_.references) {
      std::optional<Reference> reference = ReferenceOf(text, source);
      if (reference) references.push_back(std::move(*reference));
      complete = complete && reference;
    }
    if (!complete) return std::nullopt;
    return CombinedReference(std::move(references));
  }

  std::optional<std::vector<std::size_t>> Choice(SegmentedText& text, const SummarySource& system) {
    if (system.kind == SummarySource::Kind::kScores) {
      const std::vector<double> scores = ReadScores(system.path, line_.text, text.size());
      return ChooseByScores(scores, {settings_.rate, 0});
    }
    const std::optional<std::vector<bool>> flags = Flags(text, system);
    if (!flags) return std::nullopt;
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < flags->size(); ++i) {
      if ((*flags)[i]) chosen.push_back(i);
    }
    return chosen;
  }

  const EvaluationLine& line_;
  const EvaluationSettings& settings_;
  const LexicalTables& tables_;
  EvaluationOutcome& outcome_;
  TokenVocabulary vocabulary_;
  SentenceTokens tokens_;
  std::vector<std::string> reference_lines_;  // for the export
};

}  // namespace

std::vector<std::string> ExportPaths(const EvaluationManifest& manifest, const EvaluationSettings& settings) {
  // A system's folder is its name: one that is a path would be written
  // elsewhere.
  for (const std::string& name : manifest.system_names) {
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
      FailAt(manifest.path, 1, "The system name " + name + " cannot name a folder of the export");
    }
  }
  std::size_t most_references = 0;
  for (const EvaluationLine& line : manifest.lines) most_references = std::max(most_references, line.references.size());
  std::unordered_map<std::string, std::size_t> line_of;  // each text's file name, and its line
  std::vector<std::string> paths;
  for (const EvaluationLine& line : manifest.lines) {
    const std::string name = fs::path(line.text).stem().string() + ".txt";
    const auto [it, added] = line_of.try_emplace(name, line.line);
    if (!added) {
      FailAt(manifest.path, line.line, "The text " + line.text + " would be exported as " + name +
                                           ", as line " + std::to_string(it->second) + "'s text is");
    }
    const fs::path folder(settings.export_folder);
    for (const std::string& system : SystemNames(manifest, line)) paths.push_back((folder / system / name).string());
    for (std::size_t i = 0; i < line.references.size(); ++i) {
      const std::string reference = most_references == 1 ? "reference" : "reference" + std::to_string(i + 1);
      paths.push_back((folder / reference / name).string());
    }
  }
  return paths;
}

EvaluationOutcome Evaluate(const EvaluationManifest& manifest, const EvaluationSettings& settings,
                           const LexicalTables& tables) {
  EvaluationOutcome outcome;
  for (const EvaluationLine& line : manifest.lines) {
    const std::vector<std::string> names = SystemNames(manifest, line);
    const std::size_t first_error = outcome.errors.size();
    try {
      LineEvaluation(line, settings, tables, outcome).Run(names);
    } catch (const RunError& e) {
      outcome.errors.push_back(e.Describe());
    }
    // A file may be named on many lines: the line tells which use failed.
    const std::string at = manifest.path + ":" + std::to_string(line.line) + ": ";
    for (std::size_t i = first_error; i < outcome.errors.size(); ++i) outcome.errors[i].insert(0, at);
  }
  return outcome;
}

}  // namespace casewright
