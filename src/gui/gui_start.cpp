#include "gui/gui_start.h"

#include <exception>

#include "core/run_error.h"
#include "lexicon/sqlite_tables.h"

namespace casewright {

std::unique_ptr<LexicalTables> OpenTablesOrReport(GuiPrompts& prompts) {
  try {
    return std::make_unique<SqliteTables>(ResolveTablesFolder());
  } catch (const std::exception& error) {
    prompts.ShowError(nullptr, QString::fromStdString(DescribeError(error)));
  }
  return nullptr;
}

}  // namespace casewright
