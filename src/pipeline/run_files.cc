#include "pipeline/run_files.h"

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
  for (std::size_t later = 1; later < files.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (files[earlier].path.empty() || files[later].path.empty()) continue;  // no file named
      const bool both_read = !files[earlier].written && !files[later].written;
      if (both_read && inputs == SharedInputs::kAllowed) continue;
      if (SameFile(identities[earlier], identities[later])) {
        throw RunError("The " + files[later].what + " is the same file as the " + files[earlier].what + " (" +
                           files[earlier].path + "); nothing was written",
                       files[later].path);
      }
    }
  }
}

}  // namespace casewright
