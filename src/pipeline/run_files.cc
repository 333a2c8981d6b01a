#include "pipeline/run_files.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/file_path.h"
#include "core/run_error.h"

namespace casewright {

void AddTableFiles(std::vector<RunFile>& files, const LexicalTables& tables) {
  for (std::string& path : tables.StoredFiles()) files.push_back({std::move(path), "lexical table", false});
}

void RefuseSharedFiles(const std::vector<RunFile>& files, SharedInputs inputs) {
  std::vector<FileIdentity> identities;
  for (const RunFile& file : files) {
    identities.push_back(file.path.empty() ? FileIdentity() : IdentifyFile(file.path, file.written));
  }
  // Where inputs may be shared, only pairs with a written file are
  // compared, so that a corpus of many inputs and one output costs a pass,
  // not a comparison of every two inputs.  The pair reported is the one
  // whose later file comes first, as a walk over every pair finds it.
  std::vector<std::size_t> checked;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].written || inputs == SharedInputs::kRefused) checked.push_back(i);
  }
  std::optional<std::pair<std::size_t, std::size_t>> first;  // later, earlier
  for (std::size_t one : checked) {
    for (std::size_t other = 0; other < files.size(); ++other) {
      if (other == one || files[one].path.empty() || files[other].path.empty()) continue;  // no file named
      const std::pair pair = {std::max(one, other), std::min(one, other)};
      if ((!first || pair < *first) && SameFile(identities[one], identities[other])) first = pair;
    }
  }
  if (first) {
    const auto [later, earlier] = *first;
    throw RunError("The " + files[later].what + " is the same file as the " + files[earlier].what + " (" +
                       files[earlier].path + "); nothing was written",
                   files[later].path);
  }
}

}  // namespace casewright
