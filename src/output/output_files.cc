#include "output/output_files.h"

namespace casewright {

OutputFile& OutputFiles::Open(const std::string& path) {
  files_.push_back(std::make_unique<OutputFile>(path));
  return *files_.back();
}

void OutputFiles::CommitAll() {
  for (const auto& file : files_) file->Finish();
  for (const auto& file : files_) file->Commit();
}

}  // namespace casewright
