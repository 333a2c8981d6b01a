#include "app/gui_start.h"

#include <exception>

#include "app/run_error.h"
#include "lexicon/sqlite_tables.h"

namespace casewright {

std::unique_ptr<LexicalTables> OpenTablesOrReport(GuiPrompts& prompts) {
  try {
    return std::make_unique<SqliteTables>(ResolveTablesFolder());
  } catch (const RunError& error) {
    prompts.ShowError(nullptr, QString::fromStdString(error.Describe()));
  } catch (const std::exception& error) {
    prompts.ShowError(nullptr, QString::fromStdString(error.what()));
  }
  return nullptr;
}

}  // namespace casewright
