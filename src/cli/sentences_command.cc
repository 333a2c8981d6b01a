// casewright-cli sentences --text T [--classes C] [--format text|tsv]
#include <iostream>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "cli/sentence_listing.h"
#include "lexicon/sqlite_tables.h"
#include "pipeline/run_files.h"
#include "text/classes_file.h"
#include "text/segmented_text.h"

namespace casewright::cli {
namespace {

struct SentencesOptions {
  std::string text_path;
  std::string classes_path;
  std::string listing_format = "text";
  RunOptions run;
};

int ListSentences(const SentencesOptions& options) {
  if (options.text_path == "-" && options.classes_path == "-") {
    throw UsageError("--text and --classes cannot both be standard input (-)");
  }
  const Choices choices = Choose(options.run);
  RefuseSharedFiles({{options.text_path, "text file", false}, {options.classes_path, "classes file", false}},
                    SharedInputs::kRefused);
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  SegmentedText text(options.text_path, choices.encoding, tables, TextBreaks(options.run.segmented));
  PrintMessages(text.warnings(), text.notes());
  std::optional<SentenceClasses> classes;
  if (!options.classes_path.empty()) {
    ClassesFile file(options.classes_path);
    classes = ReadSentenceClasses(file, text.size());
  }
  const auto format = options.listing_format == "tsv" ? ListingFormat::kTsv : ListingFormat::kText;
  WriteSentenceListing(text, classes ? &*classes : nullptr, format, std::cout);
  if (!(std::cout << std::flush)) {
    std::cerr << "casewright-cli: standard output: cannot write the listing\n";
    return kFailed;
  }
  if (const std::string note = text.TailNote(); !note.empty()) PrintMessages({}, {note});
  if (!classes) return 0;
  if (options.run.strict_classes) {
    PrintErrors(classes->warnings, options.classes_path);
    return classes->warnings.empty() ? 0 : kFailed;
  }
  PrintMessages(classes->warnings, {});
  return 0;
}

}  // namespace

Command AddSentencesCommand(CLI::App& app) {
  auto options = std::make_shared<SentencesOptions>();
  CLI::App* sentences = app.add_subcommand(
      "sentences", "List the sentences of a text as a run finds them, with the class each gets from a classes file");
  sentences->add_option("--text", options->text_path, "The text (- for standard input)")
      ->required()
      ->type_name("FILE");
  sentences->add_option("--classes", options->classes_path,
                        "Also show the class each sentence gets from this classes file, and mark where the "
                        "classes run out, where one is empty or runs its digits together, and classes left over")
      ->type_name("FILE");
  sentences->add_option("--format", options->listing_format,
                        "text (number, paragraph begin [ and end ], class, sentence) or tsv (a header row, then "
                        "number, begins_paragraph, ends_paragraph, word_count, class and mark with --classes, "
                        "text, and the tokens evaluate compares: keys, words and stems)")
      ->check(CLI::IsMember({"text", "tsv"}))
      ->default_str("text");
  AddEncodingOption(*sentences, options->run);
  AddSegmentedFlag(*sentences, options->run, "The text holds");
  AddStrictClassesFlag(*sentences, options->run,
                       "With --classes: exit with status 1 when the classes do not fit the sentences");
  sentences->footer(
      "Example:\n  casewright-cli sentences --text texto.txt --classes texto.classes\n"
      "Each sentence is shown as it stands in the file, in UTF-8, with its line breaks as blanks.");
  return {sentences, [options] { return ListSentences(*options); }};
}

}  // namespace casewright::cli
