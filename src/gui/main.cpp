// The window program: opens the lexical tables, then shows the main window
// until the user closes it.
#include <QApplication>

#include "core/temporary_file.h"
#include "gui/Main2.h"
#include "gui/gui_prompts.h"
#include "gui/gui_start.h"

int main(int argc, char* argv[]) {
  casewright::RemoveTemporaryFilesOnSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Casewright");
  QApplication::setOrganizationName("Casewright");  // where QSettings keeps the last folder

  casewright::QtPrompts prompts;
  std::unique_ptr<casewright::LexicalTables> tables = casewright::OpenTablesOrReport(prompts);
  if (!tables) return 1;

  casewright::TMainForm2 MainForm2(*tables, prompts);
  MainForm2.show();
  return app.exec();
}
