#include "pipeline/run_files.h"

#include "core/file_path.h"
#include "core/run_error.h"

namespace casewright {

void RefuseSharedFiles(const std::vector<RunFile>& files) {
  std::vector<FileIdentity> identities;
  for (const RunFile& file : files) identities.push_back(IdentifyFile(file.path, file.written));
  for (std::size_t later = 1; later < files.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (!files[later].written && !files[earlier].written) continue;
      if (SameFile(identities[earlier], identities[later])) {
        throw RunError(std::string("The ") + files[later].what + " is the same file as the " +
                           files[earlier].what + "; nothing was written",
                       files[later].path);
      }
    }
  }
}

}  // namespace casewright
