// casewright-cli join SHARD... --combined FILE [--names FILE]
#include <memory>

#include "batch/shard_join.h"
#include "cli/commands.h"

namespace casewright::cli {
namespace {

struct JoinOptions {
  std::vector<std::string> shards;
  std::string combined;
  std::string names;
};

int Join(const JoinOptions& options) {
  const JoinReport report = JoinShards(options.shards, options.combined, options.names);
  const bool to_stderr = WritesStandardOutput({options.combined, options.names});
  int status = Report("Joined " + std::to_string(options.shards.size()) + " shards: " +
                          std::to_string(report.entries) + " texts, " + std::to_string(report.cases) + " cases to " +
                          options.combined,
                      to_stderr);
  if (!options.names.empty()) status |= Report("Wrote their C4.5 names file to " + options.names, to_stderr);
  return status;
}

}  // namespace

Command AddJoinCommand(CLI::App& app) {
  auto options = std::make_shared<JoinOptions>();
  CLI::App* join = app.add_subcommand(
      "join", "Join the combined files of a manifest's shards into the combined file of the whole manifest");
  join->add_option("shards", options->shards, "The shards' combined files, each with its index FILE.index")
      ->required()
      ->type_name("SHARD");
  join->add_option("--combined", options->combined, "The file to write")->required()->type_name("FILE");
  join->add_option("--names", options->names, "Also write the C4.5 names file of the cases to this file")
      ->type_name("FILE");
  join->footer("Example:\n  casewright-cli join shard-0.arff shard-1.arff --combined corpus.arff");
  return {join, [options] { return Join(*options); }};
}

}  // namespace casewright::cli
