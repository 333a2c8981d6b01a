// The window program: answers --help and --version on the command line,
// opens the lexical tables, then shows the main window, with the text named
// as its argument if any, until the user closes it.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "core/temporary_file.h"
#include "gui/Main2.h"
#include "gui/gui_prompts.h"
#include "gui/gui_start.h"
#include "lexicon/sqlite_tables.h"

namespace {

void DescribeCommandLine(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("The Casewright window: training cases for extractive summaries from a Portuguese text.\n"
                     "casewright-cli does the same from the command line; man casewright tells more."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("text"), QStringLiteral("A text file to open."),
                               QStringLiteral("[text]"));
}

// Whether the arguments ask for help or the version, which are answered
// without a display.
bool AsksForHelpOrVersion(int argc, char* argv[]) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
      if (std::strcmp(argv[i], option) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationVersion(QStringLiteral(CASEWRIGHT_VERSION));
  QCommandLineParser parser;
  DescribeCommandLine(parser);
  if (AsksForHelpOrVersion(argc, argv)) {
    // A plain application, which needs no display, answers and exits.
    QCoreApplication answer(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("casewright"));
    parser.process(answer);
  }

  casewright::RemoveTemporaryFilesOnSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Casewright");
  QApplication::setOrganizationName("Casewright");  // where QSettings keeps the last folder
  QApplication::setDesktopFileName(QStringLiteral(CASEWRIGHT_APP_ID));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(CASEWRIGHT_APP_ID)));  // the installed icon
  parser.process(app);
  const QStringList texts = parser.positionalArguments();
  if (texts.size() > 1) {
    std::fprintf(stderr, "casewright: one text file at most, not %lld\n", static_cast<long long>(texts.size()));
    return 1;
  }

  casewright::QtPrompts prompts;
  std::unique_ptr<casewright::LexicalTables> tables = casewright::OpenTablesOrReport(prompts);
  if (!tables) return 1;

  casewright::TMainForm2 MainForm2(*tables, prompts);
  MainForm2.SetTablesFolder(QString::fromStdString(casewright::ResolveTablesFolder()));
  MainForm2.show();
  if (!texts.isEmpty()) MainForm2.OpenText(texts.front());
  return app.exec();
}
