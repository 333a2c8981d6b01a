// Program start: opening the lexical tables before the window is created.
#ifndef CASEWRIGHT_GUI_GUI_START_H_
#define CASEWRIGHT_GUI_GUI_START_H_

#include <memory>

#include "gui/gui_prompts.h"
#include "core/lexical_tables.h"

namespace casewright {

// Opens the tables the alias names (CASEWRIGHT_ORBELIN or the default
// tables).  When they cannot be opened, shows the store's message in an
// error box and returns null: the window must not be created then.
std::unique_ptr<LexicalTables> OpenTablesOrReport(GuiPrompts& prompts);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_GUI_START_H_
