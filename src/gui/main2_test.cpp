// Drives the main window as a user would, on the offscreen platform: types
// paths, ticks boxes, clicks buttons, and checks the files written, the
// captions and the boxes shown.  Dialogs and message boxes are answered by
// ScriptedPrompts, so no test waits on a modal loop.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>

#include "core/cp1252.h"
#include "gui/Main2.h"
#include "gui/gui_prompts.h"
#include "gui/gui_start.h"
#include "pipeline/pipeline.h"
#include "testing/memory_tables.h"
#include "lexicon/sqlite_tables.h"
#include "testing/temp_dir.h"

using casewright::TMainForm2;
using casewright::testing::ReadFile;
using casewright::testing::TempDir;
using casewright::testing::WriteFile;

namespace {

// The object name of feature `number`'s check box: CheckBox1 to CheckBox8,
// FeatureBox9 to FeatureBox16 (CheckBox9 is "Formato Quinlan").
QString FeatureBoxName(int number) {
  return QString::fromLatin1(number <= casewright::kDefaultFeatureCount ? "CheckBox%1" : "FeatureBox%1").arg(number);
}

// Answers the dialogs from a script and records every box, with the state
// of the window at the moment the box came up.
class ScriptedPrompts : public casewright::GuiPrompts {
 public:
  struct Box {
    QString message;
    bool window_enabled;
    QString window_title;
    bool warning_icon = false;
  };

  QStringList open_answers;  // taken in order; empty answer = cancel
  QStringList save_answers;
  int open_calls = 0;
  int save_calls = 0;
  QStringList folders;  // where each dialog opened
  QStringList filters;  // the file types each typed save dialog offered
  QList<Box> errors;
  QList<Box> messages;

  QString OpenFileName(QWidget*, const QString& folder) override {
    ++open_calls;
    folders.append(folder);
    return open_answers.isEmpty() ? QString() : open_answers.takeFirst();
  }
  QString SaveFileName(QWidget*, const QString& folder) override {
    ++save_calls;
    folders.append(folder);
    return save_answers.isEmpty() ? QString() : save_answers.takeFirst();
  }
  QString SaveFileNameOfType(QWidget* parent, const QString& start, const QString& filter) override {
    filters.append(filter);
    return SaveFileName(parent, start);
  }
  void ShowError(QWidget* parent, const QString& message) override {
    errors.append(Record(parent, message));
  }
  void ShowMessage(QWidget* parent, const QString& message) override {
    messages.append(Record(parent, message));
  }
  void ShowWarning(QWidget* parent, const QString& message) override {
    messages.append(Record(parent, message));
    messages.back().warning_icon = true;
  }

 private:
  static Box Record(QWidget* parent, const QString& message) {
    QWidget* window = parent ? parent->window() : nullptr;
    const QWidget* form = window ? window->findChild<QWidget*>("Form") : nullptr;
    return {message, window && window->isEnabled() && (!form || form->isEnabled()),
            window ? window->windowTitle() : QString()};
  }
};

// Tables whose first lookup waits until the test opens the gate, so that a
// test can look at the window while a run is in progress.
class GatedTables : public casewright::LexicalTables {
 public:
  explicit GatedTables(const casewright::LexicalTables& inner) : inner_(inner) {}
  ~GatedTables() override { Open(); }

  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  std::string Canonicalize(const std::string& word) const override {
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
    return inner_.Canonicalize(word);
  }
  bool IsStopword(const std::string& key) const override { return inner_.IsStopword(key); }
  std::vector<std::optional<std::string>> ReadCueWords() const override {
    return inner_.ReadCueWords();
  }

 private:
  const casewright::LexicalTables& inner_;
  mutable std::mutex mutex_;
  mutable std::condition_variable opened_;
  bool open_ = false;
};

// Windows-1252 texts with LF, CR LF and CR line breaks, paragraphs, cue
// words and accented letters.
const char kTextA[] =
    "O gato comeu o peixe. O gato dormiu na casa!\n"
    "Portanto, a casa do gato \xe9 grande. O peixe n\xe3o voltou?\n"
    "\n"
    "Em conclus\xe3o, o gato \xe9 feliz.\n";
const char kTextB[] =
    "A cidade cresceu muito.\r\nAs ruas da cidade s\xe3o largas.\r\r"
    "Finalmente, a cidade dorme. Amanh\xe3 acorda.";
const char kClassesA[] = "1 0 1 0 1 ";
const char kClassesB[] = "0 1 1 0 ";

casewright::MemoryTables TestTables() {
  return casewright::MemoryTables({{"comeu", "comer"}, {"dormiu", "dormir"}, {"ruas", "rua"}},
                                  {"o", "a", "na", "do", "da", "em", "as"},
                                  {"portanto", "finalmente", std::nullopt, "conclus\xe3o"});
}

// Whether `text` fits inside the button's bevel and margins.  (A button's
// size hint has a floor of its own, wider than the small Search buttons.)
bool ButtonTextFits(const QPushButton& button, const QString& text) {
  const QStyle* style = button.style();
  const int room = button.width() - 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) -
                   2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
  return button.fontMetrics().horizontalAdvance(text) <= room;
}

template <typename T>
T* Find(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(name);
  if (!child) qFatal("no control %s", name);
  return child;
}

class Main2Test : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startState();
  void featuresAgreeWithTheCommandLine();
  void tabOrderFollowsTheForm();
  void moreFeaturesUnfoldBelowAndAreRemembered();
  void captionsFitTheirControls();
  void timeOfDayLeavesOutTheZone();
  void cancellingADialogChangesNothing();
  void searchFillsTheEditsAndLoadsTheMemo();
  void searchOnAnUnreadableTextClearsTheMemo();
  void runWritesWhatTheCoreWrites_data();
  void runWritesWhatTheCoreWrites();
  void sameBytesAsTheCommandLine_data();
  void sameBytesAsTheCommandLine();
  void quinlanBoxAndFormatMenuAgree();
  void dialogsOpenInTheFieldsFolder();
  void warningsFollowDone();
  void anEmptyClassesFieldRunsAnUnlabelledText();
  void twoRunsInARow();
  void executeReloadsTheTypedPath();
  void windowIsLockedWhileRunning();
  void cancelLeavesTheOldOutput();
  void menusReachTheButtonsSlots();
  void memoReloadsOnEditAndEncoding();
  void outputDialogOffersTheFormat();
  void batchFromTheMenu();
  void failedRunReturnsToIdle_data();
  void failedRunReturnsToIdle();
  void missingTextLeavesTheWindowIdle();
  void tablesAtStart();

 private:
  // Fills the edits (with the files written from the given bytes) and the
  // format switch.
  void Fill(const char* text, const char* classes, const std::string& output, bool quinlan) {
    Fill(*window_, text, classes, output, quinlan);
  }
  void Fill(TMainForm2& window, const char* text, const char* classes, const std::string& output, bool quinlan);
  // Clicks Execute and waits until the run has been reported.
  bool Execute();
  // What the core writes for the window's current settings, for comparison.
  std::string CoreOutput();
  void CheckIdle();

  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<casewright::MemoryTables> tables_;
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<TMainForm2> window_;
};

}  // namespace

void Main2Test::init() {
  dir_ = std::make_unique<TempDir>();
  // The last folder goes to a settings file of the test's own.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_->Path("settings")));
  tables_ = std::make_unique<casewright::MemoryTables>(TestTables());
  prompts_ = std::make_unique<ScriptedPrompts>();
  window_ = std::make_unique<TMainForm2>(*tables_, *prompts_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void Main2Test::cleanup() {
  window_.reset();
  prompts_.reset();
  tables_.reset();
  dir_.reset();
}

void Main2Test::Fill(TMainForm2& window, const char* text, const char* classes, const std::string& output,
                     bool quinlan) {
  static int serial = 0;
  ++serial;
  const std::string text_path = dir_->Path("text" + std::to_string(serial) + ".txt");
  const std::string classes_path = dir_->Path("classes" + std::to_string(serial) + ".txt");
  WriteFile(text_path, text);
  WriteFile(classes_path, classes);
  Find<QLineEdit>(window, "Edit1")->setText(QString::fromStdString(text_path));
  Find<QLineEdit>(window, "Edit2")->setText(QString::fromStdString(classes_path));
  Find<QLineEdit>(window, "Edit3")->setText(QString::fromStdString(output));
  Find<QCheckBox>(window, "CheckBox9")->setChecked(quinlan);
}

bool Main2Test::Execute() {
  QSignalSpy finished(window_.get(), &TMainForm2::ExecuteFinished);
  QTest::mouseClick(Find<QPushButton>(*window_, "Button4"), Qt::LeftButton);
  return finished.count() == 1 || finished.wait(30000);
}

std::string Main2Test::CoreOutput() {
  casewright::RunSettings settings;
  settings.text_path = Find<QLineEdit>(*window_, "Edit1")->text().toStdString();
  settings.classes_path = Find<QLineEdit>(*window_, "Edit2")->text().toStdString();
  settings.output_path = dir_->Path("core-output.txt");
  for (const casewright::FeatureInfo& info : casewright::kFeatures) {
    settings.features.Set(info.feature, window_->findChild<QCheckBox*>(FeatureBoxName(info.number))->isChecked());
  }
  if (Find<QCheckBox>(*window_, "CheckBox9")->isChecked()) settings.format = casewright::CaseFormat::kQuinlan;
  casewright::RunCases(settings, *tables_);
  return ReadFile(settings.output_path);
}

void Main2Test::CheckIdle() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("Casewright"));
  QCOMPARE(Find<QPushButton>(*window_, "Button4")->text(), QStringLiteral("Execute"));
  QVERIFY(window_->isEnabled());
  QVERIFY(Find<QWidget>(*window_, "Form")->isEnabled());
  QVERIFY(Find<QAction>(*window_, "ActionExecute")->isEnabled());
  QVERIFY(!Find<QAction>(*window_, "ActionCancel")->isEnabled());
  QVERIFY(!window_->running());
  auto* bar = Find<QProgressBar>(*window_, "ProgressBar1");
  QVERIFY(bar->value() < bar->minimum());  // reset: nothing drawn
}

void Main2Test::startState() {
  CheckIdle();
  QCOMPARE(window_->objectName(), QStringLiteral("MainForm2"));
  QCOMPARE(Find<QWidget>(*window_, "Form")->size(), QSize(696, 504));
  for (int k = 1; k <= 8; ++k) {
    auto* box = window_->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(k));
    QVERIFY(box);
    QVERIFY(box->isChecked());
    QCOMPARE(box->text(), QString::fromUtf8(casewright::kFeatures[k - 1].caption));
    QCOMPARE(box->parentWidget(), Find<QGroupBox>(*window_, "GroupBox1"));
  }
  QVERIFY(!Find<QCheckBox>(*window_, "CheckBox9")->isChecked());
  for (int k = 9; k <= 16; ++k) {
    auto* box = window_->findChild<QCheckBox*>(FeatureBoxName(k));
    QVERIFY(box && !box->isChecked());
    QCOMPARE(box->parentWidget(), Find<QGroupBox>(*window_, "GroupBox2"));
  }
  QVERIFY(!Find<QGroupBox>(*window_, "GroupBox2")->isVisible());
  for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
    QVERIFY(Find<QLineEdit>(*window_, name)->text().isEmpty());
  }
  auto* memo = Find<QPlainTextEdit>(*window_, "Memo1");
  QVERIFY(memo->isReadOnly());
  QVERIFY(memo->toPlainText().isEmpty());
  QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Bevel1",
                           "Bevel2", "Button1", "Button2", "Button3"}) {
    QVERIFY2(window_->findChild<QWidget*>(name), name);
  }
  // Options takes free room in the bottom row: it covers no other control.
  const QRect options = Find<QToolButton>(*window_, "ToolButton1")->geometry();
  auto* form = Find<QWidget>(*window_, "Form");
  QVERIFY(form->rect().contains(options));
  for (QWidget* child : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child->objectName() != "ToolButton1" && child->isVisible()) {
      QVERIFY2(!child->geometry().intersects(options), qPrintable(child->objectName()));
    }
  }
  // The progress bar sits in the free strip left of Execute.
  const QRect bar = Find<QProgressBar>(*window_, "ProgressBar1")->geometry();
  const QRect execute = Find<QPushButton>(*window_, "Button4")->geometry();
  QVERIFY(bar.left() >= 8 && bar.right() < execute.left());
  QVERIFY(bar.top() >= Find<QGroupBox>(*window_, "GroupBox1")->geometry().bottom());
}

void Main2Test::tabOrderFollowsTheForm() {
  const QStringList expected = {"Edit1",     "Button1",   "Edit2",     "Button2",   "Edit3",
                                "Button3",   "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
                                "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8", "MoreFeaturesButton",
                                "FeatureBox9", "FeatureBox10", "FeatureBox11", "FeatureBox12", "FeatureBox13",
                                "FeatureBox14", "FeatureBox15", "FeatureBox16", "Button4",
                                "Memo1",     "CheckBox9", "ToolButton1"};
  QStringList order;
  QWidget* w = Find<QLineEdit>(*window_, "Edit1");
  do {
    if (w->focusPolicy() & Qt::TabFocus) order.append(w->objectName());
    w = w->nextInFocusChain();
  } while (w != Find<QLineEdit>(*window_, "Edit1"));
  QCOMPARE(order, expected);
}

void Main2Test::moreFeaturesUnfoldBelowAndAreRemembered() {
  auto* group = Find<QGroupBox>(*window_, "GroupBox2");
  auto* form = Find<QWidget>(*window_, "Form");
  QTest::mouseClick(Find<QToolButton>(*window_, "MoreFeaturesButton"), Qt::LeftButton);
  QVERIFY(group->isVisible());
  QCOMPARE(form->minimumSize(), QSize(696, 504 + 219));
  QTRY_VERIFY(form->height() >= 504 + 219);
  QVERIFY(Find<QProgressBar>(*window_, "ProgressBar1")->geometry().top() > group->geometry().bottom());
  // A new window opens as the last one was left.
  window_ = std::make_unique<TMainForm2>(*tables_, *prompts_);
  QVERIFY(Find<QGroupBox>(*window_, "GroupBox2")->isVisibleTo(Find<QWidget>(*window_, "Form")));
  QVERIFY(Find<QToolButton>(*window_, "MoreFeaturesButton")->isChecked());
  Find<QToolButton>(*window_, "MoreFeaturesButton")->click();
  QVERIFY(!Find<QGroupBox>(*window_, "GroupBox2")->isVisibleTo(Find<QWidget>(*window_, "Form")));
  QCOMPARE(Find<QWidget>(*window_, "Form")->minimumSize(), QSize(696, 504));
}

void Main2Test::captionsFitTheirControls() {
  // Labels stay inside the frame they describe (or the window).
  const int bevel_right = Find<QWidget>(*window_, "Bevel1")->geometry().right();
  for (const char* name : {"Label1", "Label2", "Label3"}) {
    auto* label = Find<QLabel>(*window_, name);
    QVERIFY2(label->x() + label->sizeHint().width() <= bevel_right, name);
  }
  // Check boxes and buttons show their whole caption.
  for (QCheckBox* box : window_->findChildren<QCheckBox*>()) {
    QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->objectName()));
  }
  for (QPushButton* button : window_->findChildren<QPushButton*>()) {
    QVERIFY2(ButtonTextFits(*button, button->text()), qPrintable(button->objectName()));
  }
  // The group box title (with its blanks) fits between the frame's ends.
  auto* group = Find<QGroupBox>(*window_, "GroupBox1");
  QVERIFY(group->minimumSizeHint().width() <= group->width());
  // So does the share shown on Execute during a run.
  QVERIFY(ButtonTextFits(*Find<QPushButton>(*window_, "Button4"), QStringLiteral("100%")));
}

void Main2Test::timeOfDayLeavesOutTheZone() {
  const QTime time(14, 3, 27);
  QCOMPARE(casewright::LongTimeOfDay(QLocale(QLocale::German, QLocale::Germany), time),
           QStringLiteral("14:03:27"));
  const QString us = casewright::LongTimeOfDay(QLocale(QLocale::English, QLocale::UnitedStates), time);
  QVERIFY2(us.startsWith(QStringLiteral("2:03:27")) && us.endsWith(QStringLiteral("PM")),
           qPrintable(us));
  for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Portuguese, QLocale::Brazil),
                                QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::French, QLocale::Canada)}) {
    const QString shown = casewright::LongTimeOfDay(locale, time);
    QVERIFY2(shown.contains(QStringLiteral("27")), qPrintable(shown));
    QVERIFY2(shown == shown.trimmed(), qPrintable(shown));
    QVERIFY2(!shown.contains(QStringLiteral("UTC")), qPrintable(shown));
  }
}

void Main2Test::cancellingADialogChangesNothing() {
  const std::string text_path = dir_->Path("shown.txt");
  WriteFile(text_path, kTextA);
  prompts_->open_answers = {QString::fromStdString(text_path)};
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);
  Find<QLineEdit>(*window_, "Edit2")->setText("classes");
  Find<QLineEdit>(*window_, "Edit3")->setText("output");
  const QString memo = Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText();
  QVERIFY(!memo.isEmpty());

  for (const char* name : {"Button1", "Button2", "Button3"}) {
    QTest::mouseClick(Find<QPushButton>(*window_, name), Qt::LeftButton);
  }
  QCOMPARE(prompts_->open_calls, 3);
  QCOMPARE(prompts_->save_calls, 1);
  QCOMPARE(Find<QLineEdit>(*window_, "Edit1")->text(), QString::fromStdString(text_path));
  QCOMPARE(Find<QLineEdit>(*window_, "Edit2")->text(), QStringLiteral("classes"));
  QCOMPARE(Find<QLineEdit>(*window_, "Edit3")->text(), QStringLiteral("output"));
  QCOMPARE(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText(), memo);
  QVERIFY(prompts_->errors.isEmpty());
}

void Main2Test::searchFillsTheEditsAndLoadsTheMemo() {
  const std::string text_path = dir_->Path("texto \xc3\xa9.txt");  // a UTF-8 file name
  WriteFile(text_path, "Linha um \xe9 boa.\nLinha dois.\rLinha tr\xeas.\r\n");
  prompts_->open_answers = {QString::fromStdString(text_path), "classes.txt"};
  prompts_->save_answers = {"cases.data"};
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>(*window_, "Button2"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>(*window_, "Button3"), Qt::LeftButton);

  QCOMPARE(Find<QLineEdit>(*window_, "Edit1")->text(), QString::fromStdString(text_path));
  QCOMPARE(Find<QLineEdit>(*window_, "Edit2")->text(), QStringLiteral("classes.txt"));
  QCOMPARE(Find<QLineEdit>(*window_, "Edit3")->text(), QStringLiteral("cases.data"));
  QCOMPARE(prompts_->save_calls, 1);  // the output file comes from the save dialog
  // Decoded from Windows-1252, one line per break whatever its kind.
  QCOMPARE(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText(),
           QString::fromUtf8("Linha um \xc3\xa9 boa.\nLinha dois.\nLinha tr\xc3\xaas.\n"));
  QVERIFY(prompts_->errors.isEmpty());
}

void Main2Test::searchOnAnUnreadableTextClearsTheMemo() {
  const std::string text_path = dir_->Path("shown.txt");
  WriteFile(text_path, kTextA);
  const QString missing = QString::fromStdString(dir_->Path("missing.txt"));
  prompts_->open_answers = {QString::fromStdString(text_path), missing};
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);

  QCOMPARE(prompts_->errors.size(), 1);
  QVERIFY2(prompts_->errors[0].message.contains("Cannot open file"),
           qPrintable(prompts_->errors[0].message));
  QVERIFY(prompts_->errors[0].message.contains(missing));
  QCOMPARE(Find<QLineEdit>(*window_, "Edit1")->text(), missing);
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().isEmpty());
  CheckIdle();
}

void Main2Test::runWritesWhatTheCoreWrites_data() {
  QTest::addColumn<bool>("quinlan");
  QTest::addColumn<int>("features");  // bit k: feature k + 1 ticked
  QTest::newRow("plain, all features") << false << 0xff;
  QTest::newRow("Quinlan, all features") << true << 0xff;
  QTest::newRow("plain, no feature") << false << 0;
  QTest::newRow("Quinlan, no feature") << true << 0;
  QTest::newRow("Quinlan, paragraph location and gist only") << true << 0b10100;
}

void Main2Test::runWritesWhatTheCoreWrites() {
  QFETCH(bool, quinlan);
  QFETCH(int, features);
  const std::string output = dir_->Path("cases.data");
  Fill(kTextA, kClassesA, output, quinlan);
  for (int k = 0; k < 8; ++k) {
    window_->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(k + 1))
        ->setChecked(features & (1 << k));
  }
  QVERIFY(Execute());

  QVERIFY2(prompts_->errors.isEmpty(),
           qPrintable(prompts_->errors.isEmpty() ? "" : prompts_->errors[0].message));
  QCOMPARE(prompts_->messages.size(), 1);
  QCOMPARE(prompts_->messages[0].message,
           QStringLiteral("Done!\n5 cases written to %1").arg(QString::fromStdString(output)));
  QVERIFY(!prompts_->messages[0].warning_icon);
  // "Done!" comes up once the window is idle again.
  QVERIFY(prompts_->messages[0].window_enabled);
  QCOMPARE(prompts_->messages[0].window_title, QStringLiteral("Casewright"));
  CheckIdle();

  const std::string written = ReadFile(output);
  QCOMPARE(written, CoreOutput());
  // Five sentences, one CR LF line each; with no feature a line is the class.
  QCOMPARE(std::count(written.begin(), written.end(), '\n'), 5);
  if (features == 0) {
    QCOMPARE(written, std::string(quinlan ? "1.\r\n0.\r\n1.\r\n0.\r\n1.\r\n"
                                          : "1\r\n0\r\n1\r\n0\r\n1\r\n"));
  }
  // The memo shows the text the run analysed.
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().startsWith("O gato comeu"));
}

void Main2Test::sameBytesAsTheCommandLine_data() {
  QTest::addColumn<QList<int>>("features");
  QTest::addColumn<QString>("format");  // as the command line names it
  QTest::addColumn<QString>("encoding");
  QTest::addColumn<bool>("names");
  const QList<int> all = {1, 2, 3, 4, 5, 6, 7, 8};
  QTest::newRow("plain, all features") << all << "plain" << "windows-1252" << false;
  QTest::newRow("Quinlan, features 1-3 and 8, names file") << QList<int>{1, 2, 3, 8} << "quinlan" << "windows-1252"
                                                           << true;
  QTest::newRow("ARFF, UTF-8 text") << all << "arff" << "utf-8" << false;
  QTest::newRow("CSV, encoding detected") << QList<int>{2, 4, 5, 6} << "csv" << "auto" << false;
}

void Main2Test::sameBytesAsTheCommandLine() {
  QFETCH(QList<int>, features);
  QFETCH(QString, format);
  QFETCH(QString, encoding);
  QFETCH(bool, names);
  // The bundled example through the tables the build makes, in the window
  // and in the command-line program; in UTF-8 where the encoding says so.
  const std::string folder = casewright::ResolveTablesFolder();
  const casewright::SqliteTables tables(folder);
  TMainForm2 window(tables, *prompts_);
  QString text = CASEWRIGHT_EXAMPLES "/example.txt";
  if (encoding != "windows-1252") {
    const std::string utf8 = dir_->Path("example-utf8.txt");
    WriteFile(utf8, casewright::Cp1252ToUtf8(ReadFile(text.toStdString())));
    text = QString::fromStdString(utf8);
  }
  const QString classes = CASEWRIGHT_EXAMPLES "/example.classes";
  const QString from_window = QString::fromStdString(dir_->Path("window.data"));
  const QString from_cli = QString::fromStdString(dir_->Path("cli.data"));
  Find<QLineEdit>(window, "Edit1")->setText(text);
  Find<QLineEdit>(window, "Edit2")->setText(classes);
  Find<QLineEdit>(window, "Edit3")->setText(from_window);
  QStringList numbers;
  for (int k = 1; k <= 8; ++k) {
    window.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(k))->setChecked(features.contains(k));
    if (features.contains(k)) numbers << QString::number(k);
  }
  // Quinlan through its check box, the other choices through Options.
  if (format == "quinlan") {
    Find<QCheckBox>(window, "CheckBox9")->setChecked(true);
  } else {
    format[0] = format[0].toUpper();
    Find<QAction>(window, qPrintable("Format" + format))->trigger();
  }
  const char* encodings[] = {"EncodingWindows1252", "EncodingUtf8", "EncodingAuto"};
  Find<QAction>(window, encodings[encoding == "utf-8" ? 1 : encoding == "auto" ? 2 : 0])->trigger();
  if (names) Find<QAction>(window, "NamesFile")->trigger();
  QSignalSpy finished(&window, &TMainForm2::ExecuteFinished);
  QTest::mouseClick(Find<QPushButton>(window, "Button4"), Qt::LeftButton);
  QVERIFY(finished.count() == 1 || finished.wait(60000));
  QVERIFY(prompts_->errors.isEmpty());

  QStringList arguments = {"--text",     text,     "--classes", classes,  "--output", from_cli,
                           "--features", numbers.join(','), "--format",  format.toLower(), "--encoding", encoding,
                           "--tables",   QString::fromStdString(folder)};
  if (names) arguments << "--names" << QString::fromStdString(dir_->Path("cli.names"));
  QProcess cli;
  cli.start(CASEWRIGHT_CLI, arguments);
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitCode(), 0);
  const std::string written = ReadFile(from_window.toStdString());
  QVERIFY(!written.empty());
  QCOMPARE(written, ReadFile(from_cli.toStdString()));
  if (names) {
    // Beside the output, named as C4.5 looks for it.
    QCOMPARE(ReadFile(dir_->Path("window.names")), ReadFile(dir_->Path("cli.names")));
    QVERIFY(prompts_->messages.back().message.contains(QString::fromStdString(dir_->Path("window.names"))));
  }
}

void Main2Test::quinlanBoxAndFormatMenuAgree() {
  auto* quinlan = Find<QCheckBox>(*window_, "CheckBox9");
  auto* names = Find<QAction>(*window_, "NamesFile");
  QVERIFY(Find<QAction>(*window_, "FormatPlain")->isChecked());
  QVERIFY(Find<QAction>(*window_, "EncodingWindows1252")->isChecked());
  QVERIFY(!names->isEnabled());  // a names file goes with C4.5 cases only
  quinlan->setChecked(true);
  QVERIFY(Find<QAction>(*window_, "FormatQuinlan")->isChecked());
  QVERIFY(names->isEnabled());
  Find<QAction>(*window_, "FormatArff")->trigger();
  QVERIFY(!quinlan->isChecked());
  QVERIFY(!names->isEnabled());
  Find<QAction>(*window_, "FormatQuinlan")->trigger();
  QVERIFY(quinlan->isChecked());
  quinlan->setChecked(false);
  QVERIFY(Find<QAction>(*window_, "FormatPlain")->isChecked());
}

void Main2Test::dialogsOpenInTheFieldsFolder() {
  std::filesystem::create_directories(dir_->Path("texts"));
  std::filesystem::create_directories(dir_->Path("cases"));
  const QString texts = QString::fromStdString(dir_->Path("texts"));
  const QString cases = QString::fromStdString(dir_->Path("cases"));
  // Nothing typed and nothing chosen yet: the working folder.
  QTest::mouseClick(Find<QPushButton>(*window_, "Button2"), Qt::LeftButton);
  QCOMPARE(prompts_->folders.takeLast(), QString());
  // The folder of the path in the field, even before the file exists.
  // (The output dialog opens on the field's file itself.)
  Find<QLineEdit>(*window_, "Edit3")->setText(cases + "/new.data");
  QTest::mouseClick(Find<QPushButton>(*window_, "Button3"), Qt::LeftButton);
  QCOMPARE(prompts_->folders.takeLast(), cases + "/new.data");
  // Else the folder of the last file chosen, kept for the next start.
  prompts_->open_answers = {texts + "/a.classes"};
  QTest::mouseClick(Find<QPushButton>(*window_, "Button2"), Qt::LeftButton);
  window_.reset();
  window_ = std::make_unique<TMainForm2>(*tables_, *prompts_);
  QVERIFY(Find<QLineEdit>(*window_, "Edit2")->text().isEmpty());  // fields start empty all the same
  Find<QLineEdit>(*window_, "Edit1")->setText(QString::fromStdString(dir_->Path("gone/t.txt")));
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);
  QCOMPARE(prompts_->folders.takeLast(), texts);
}

// The window's check boxes and the command line's feature list both come// The window's check boxes and the command line's feature list both come
// from the feature table, numbered as the case writer orders the codes.
void Main2Test::featuresAgreeWithTheCommandLine() {
  QProcess cli;
  cli.start(CASEWRIGHT_CLI, {"--help"});
  QVERIFY(cli.waitForFinished(60000));
  const QString help = QString::fromUtf8(cli.readAllStandardOutput());
  for (const casewright::FeatureInfo& info : casewright::kFeatures) {
    const QString caption = QString::fromUtf8(info.caption);
    const QByteArray name = FeatureBoxName(info.number).toUtf8();
    QCOMPARE(Find<QCheckBox>(*window_, name.constData())->text(), caption);
    QVERIFY2(help.contains(QStringLiteral("  %1  %2\n").arg(info.number).arg(caption)), qPrintable(caption));
  }
}

void Main2Test::warningsFollowDone() {
  const std::string output = dir_->Path("cases.data");
  Fill(kTextA, "1 0 ", output, false);  // fewer classes than sentences
  QVERIFY(Execute());
  QCOMPARE(prompts_->messages.size(), 1);
  QVERIFY(prompts_->messages[0].warning_icon);
  QStringList lines = prompts_->messages[0].message.split('\n');
  QVERIFY(lines.size() >= 3);
  QCOMPARE(lines.takeFirst(), QStringLiteral("Done!"));
  QCOMPARE(lines.takeFirst(), QStringLiteral("5 cases written to %1").arg(QString::fromStdString(output)));

  casewright::RunSettings settings;
  settings.text_path = Find<QLineEdit>(*window_, "Edit1")->text().toStdString();
  settings.classes_path = Find<QLineEdit>(*window_, "Edit2")->text().toStdString();
  settings.output_path = dir_->Path("core.data");
  const casewright::RunOutcome outcome = casewright::RunCases(settings, *tables_);
  QCOMPARE(lines.size(), static_cast<qsizetype>(outcome.warnings.size()));
  for (std::size_t i = 0; i < outcome.warnings.size(); ++i) {
    QCOMPARE(lines[i], QString::fromStdString(outcome.warnings[i]));
  }
}

void Main2Test::anEmptyClassesFieldRunsAnUnlabelledText() {
  const std::string output = dir_->Path("cases.data");
  Fill(kTextA, "", output, true);
  Find<QLineEdit>(*window_, "Edit2")->clear();
  QVERIFY(Execute());
  QCOMPARE(prompts_->messages.size(), 1);
  QVERIFY(!prompts_->messages[0].warning_icon);
  QVERIFY(prompts_->messages[0].message.endsWith("\nNo classes file: every case's class is the missing value"));
  QCOMPARE(ReadFile(output), CoreOutput());
  QVERIFY(ReadFile(output).ends_with(", ?.\r\n"));
}

void Main2Test::twoRunsInARow() {
  const std::string first = dir_->Path("first.data");
  const std::string second = dir_->Path("second.data");
  Fill(kTextA, kClassesA, first, false);
  QVERIFY(Execute());
  const std::string first_expected = CoreOutput();
  Fill(kTextB, kClassesB, second, true);
  QVERIFY(Execute());

  QCOMPARE(prompts_->messages.size(), 2);
  QVERIFY(prompts_->errors.isEmpty());
  QCOMPARE(ReadFile(first), first_expected);
  // The second run depends on its own inputs only.
  QCOMPARE(ReadFile(second), CoreOutput());
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().startsWith("A cidade"));
  CheckIdle();
}

void Main2Test::executeReloadsTheTypedPath() {
  const std::string chosen = dir_->Path("chosen.txt");
  WriteFile(chosen, kTextA);
  prompts_->open_answers = {QString::fromStdString(chosen)};
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().startsWith("O gato"));

  // A path typed after choosing is the one the run reads.
  const std::string output = dir_->Path("cases.data");
  Fill(kTextB, kClassesB, output, false);
  QVERIFY(Execute());
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().startsWith("A cidade"));
  QCOMPARE(ReadFile(output), CoreOutput());
}

void Main2Test::windowIsLockedWhileRunning() {
  GatedTables gated(*tables_);
  TMainForm2 window(gated, *prompts_);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  Fill(window, kTextA, kClassesA, dir_->Path("out.data"), false);

  QSignalSpy finished(&window, &TMainForm2::ExecuteFinished);
  auto* execute = Find<QPushButton>(window, "Button4");
  QTest::mouseClick(execute, Qt::LeftButton);
  QVERIFY(window.running());
  QVERIFY(!Find<QWidget>(window, "Form")->isEnabled());
  QCOMPARE(window.windowTitle(), QStringLiteral("Wait..."));
  // The button shows the share done, the status bar the time of the last step.
  QCOMPARE(execute->text(), QStringLiteral("0%"));
  const QTime now = QTime::currentTime();
  const QString status = window.statusBar()->currentMessage();
  QVERIFY2(status == "Last step at " + casewright::LongTimeOfDay(QLocale(), now) ||
               status == "Last step at " + casewright::LongTimeOfDay(QLocale(), now.addSecs(-1)),
           qPrintable(status));
  // No second run, no edits, no closing while the run lasts, from the form
  // or the menus.
  QTest::mouseClick(execute, Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>(window, "Button1"), Qt::LeftButton);
  for (const char* name : {"ActionOpenText", "ActionRunBatch", "ActionExecute"}) {
    QVERIFY2(!Find<QAction>(window, name)->isEnabled(), name);
  }
  QCOMPARE(prompts_->open_calls, 0);
  QVERIFY(!window.close());
  QVERIFY(window.isVisible());
  QVERIFY(prompts_->messages.isEmpty());

  gated.Open();
  QVERIFY(finished.wait(30000));
  QCOMPARE(finished.count(), 1);
  QCOMPARE(prompts_->messages.size(), 1);
  QVERIFY(window.isEnabled());
  QCOMPARE(window.windowTitle(), QStringLiteral("Casewright"));
  QCOMPARE(execute->text(), QStringLiteral("Execute"));
  QVERIFY(Find<QProgressBar>(window, "ProgressBar1")->value() < 0);
}

void Main2Test::cancelLeavesTheOldOutput() {
  GatedTables gated(*tables_);
  TMainForm2 window(gated, *prompts_);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const std::string output = dir_->Path("out.data");
  WriteFile(output, "previous cases");
  Fill(window, kTextA, kClassesA, output, false);

  QSignalSpy finished(&window, &TMainForm2::ExecuteFinished);
  QTest::mouseClick(Find<QPushButton>(window, "Button4"), Qt::LeftButton);
  auto* cancel = Find<QPushButton>(window, "CancelButton");
  QVERIFY(cancel->isVisible());
  QVERIFY(Find<QAction>(window, "ActionCancel")->isEnabled());
  QTest::mouseClick(cancel, Qt::LeftButton);
  QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Cancelling..."));
  gated.Open();
  QVERIFY(finished.wait(30000));

  QCOMPARE(ReadFile(output), std::string("previous cases"));
  QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Cancelled; no file was changed"));
  QVERIFY(prompts_->messages.isEmpty() && prompts_->errors.isEmpty());
  QVERIFY(!cancel->isVisible());
  QVERIFY(Find<QWidget>(window, "Form")->isEnabled());
  for (const auto& entry : std::filesystem::directory_iterator(dir_->root())) {
    QVERIFY2(!entry.path().filename().string().starts_with(".casewright-"), entry.path().c_str());
  }
  // The next run is not cancelled.
  QSignalSpy again(&window, &TMainForm2::ExecuteFinished);
  Find<QAction>(window, "ActionExecute")->trigger();
  QVERIFY(again.count() == 1 || again.wait(30000));
  QCOMPARE(prompts_->messages.size(), 1);
  QVERIFY(ReadFile(output) != "previous cases");
}

// The menu bar and its shortcuts reach what the buttons do.
void Main2Test::menusReachTheButtonsSlots() {
  const std::string output = dir_->Path("cases.data");
  Fill(kTextA, kClassesA, output, false);
  const QString text = Find<QLineEdit>(*window_, "Edit1")->text();
  const QString classes = Find<QLineEdit>(*window_, "Edit2")->text();
  prompts_->open_answers = {text, classes};
  prompts_->save_answers = {QString::fromStdString(output)};
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(prompts_->open_calls, 1);
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().startsWith("O gato"));
  Find<QAction>(*window_, "ActionOpenClasses")->trigger();
  Find<QAction>(*window_, "ActionChooseOutput")->trigger();
  QCOMPARE(prompts_->open_calls, 2);
  QCOMPARE(prompts_->save_calls, 1);
  QCOMPARE(Find<QLineEdit>(*window_, "Edit2")->text(), classes);

  QSignalSpy finished(window_.get(), &TMainForm2::ExecuteFinished);
  QTest::keyClick(window_.get(), Qt::Key_F5);
  QVERIFY(finished.count() == 1 || finished.wait(30000));
  QCOMPARE(prompts_->messages.size(), 1);
  QCOMPARE(ReadFile(output), CoreOutput());

  window_->SetTablesFolder("/tables/here");
  Find<QAction>(*window_, "ActionAbout")->trigger();
  QVERIFY(prompts_->messages.back().message.contains("Casewright " CASEWRIGHT_VERSION));
  QVERIFY(prompts_->messages.back().message.contains("/tables/here"));
  QVERIFY(Find<QAction>(*window_, "ActionQuit")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
  Find<QAction>(*window_, "ActionQuit")->trigger();
  QVERIFY(!window_->isVisible());
}

void Main2Test::memoReloadsOnEditAndEncoding() {
  const std::string text = dir_->Path("utf8.txt");
  WriteFile(text, "Cora\xc3\xa7\xc3\xa3o.\n");  // UTF-8
  auto* edit = Find<QLineEdit>(*window_, "Edit1");
  auto* memo = Find<QPlainTextEdit>(*window_, "Memo1");
  edit->setFocus();
  QTest::keyClicks(edit, QString::fromStdString(text));
  QVERIFY(memo->toPlainText().isEmpty());  // not while typing
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(memo->toPlainText(), QString::fromUtf8("Cora\xc3\x83\xc2\xa7\xc3\x83\xc2\xa3o.\n"));  // as Windows-1252
  Find<QAction>(*window_, "EncodingUtf8")->trigger();
  QCOMPARE(memo->toPlainText(), QString::fromUtf8("Cora\xc3\xa7\xc3\xa3o.\n"));

  // A path that names no file clears the memo and says why, without a box.
  QTest::keyClicks(edit, "x");
  QTest::keyClick(edit, Qt::Key_Return);
  QVERIFY(memo->toPlainText().isEmpty());
  QVERIFY2(window_->statusBar()->currentMessage().contains("Cannot open file"),
           qPrintable(window_->statusBar()->currentMessage()));
  QVERIFY(prompts_->errors.isEmpty());
}

void Main2Test::outputDialogOffersTheFormat() {
  Find<QLineEdit>(*window_, "Edit1")->setText(QString::fromStdString(dir_->Path("texto.final.txt")));
  const QString folder = QString::fromStdString(dir_->root().string());
  const std::pair<const char*, const char*> formats[] = {
      {"FormatPlain", "texto.final.cases"}, {"FormatQuinlan", "texto.final.data"},
      {"FormatArff", "texto.final.arff"}, {"FormatCsv", "texto.final.csv"}};
  for (const auto& [action, name] : formats) {
    Find<QAction>(*window_, action)->trigger();
    QTest::mouseClick(Find<QPushButton>(*window_, "Button3"), Qt::LeftButton);
    QCOMPARE(prompts_->folders.takeLast(), folder + "/" + name);
    const QString extension = QString::fromUtf8(name).section('.', -1);
    QVERIFY2(prompts_->filters.last().section(";;", 0, 0).endsWith("(*." + extension + ")"),
             qPrintable(prompts_->filters.last()));
  }
}

void Main2Test::batchFromTheMenu() {
  WriteFile(dir_->Path("a.txt"), kTextA);
  WriteFile(dir_->Path("a.classes"), kClassesA);
  WriteFile(dir_->Path("b.txt"), kTextB);
  WriteFile(dir_->Path("b.classes"), kClassesB);
  WriteFile(dir_->Path("good.tsv"), "a.txt\ta.classes\ta.out\nb.txt\tb.classes\tb.out\n");
  WriteFile(dir_->Path("bad.tsv"), "# one missing\na.txt\ta.classes\ta2.out\nb.txt\tnone.classes\tb2.out\n");
  const QString combined = QString::fromStdString(dir_->Path("all.cases"));
  auto batch = [&](const char* manifest) {
    prompts_->open_answers = {QString::fromStdString(dir_->Path(manifest))};
    prompts_->save_answers = {combined};
    QSignalSpy finished(window_.get(), &TMainForm2::ExecuteFinished);
    Find<QAction>(*window_, "ActionRunBatch")->trigger();
    QVERIFY(finished.count() == 1 || finished.wait(30000));
    CheckIdle();
  };
  batch("good.tsv");
  QCOMPARE(prompts_->folders.last(), QString::fromStdString(dir_->Path("good.cases")));
  QCOMPARE(prompts_->messages.size(), 1);
  QCOMPARE(prompts_->messages[0].message, "Batch: 2 succeeded, 0 failed, of 2 texts; 9 cases\nEvery case written to " + combined);
  QCOMPARE(ReadFile(combined.toStdString()), ReadFile(dir_->Path("a.out")) + ReadFile(dir_->Path("b.out")));

  std::filesystem::remove(combined.toStdString());
  batch("bad.tsv");
  QCOMPARE(prompts_->messages.size(), 2);
  QVERIFY(prompts_->messages[1].warning_icon);
  const QStringList lines = prompts_->messages[1].message.split('\n');
  QCOMPARE(lines[0], QStringLiteral("Batch: 1 succeeded, 1 failed, of 2 texts; 5 cases"));
  QCOMPARE(lines[1], QStringLiteral("The combined file was not written, since a text failed."));
  QCOMPARE(lines[3], QStringLiteral("Failed:"));
  QVERIFY2(lines[4].startsWith(QString::fromStdString(dir_->Path("bad.tsv")) + ":3: "), qPrintable(lines[4]));
  QVERIFY(!std::filesystem::exists(combined.toStdString()));

  // Cancel stops a batch, which leaves the combined file unwritten.
  std::string many;
  for (int i = 0; i < 500; ++i) many += "a.txt\ta.classes\tmany" + std::to_string(i) + ".out\n";
  WriteFile(dir_->Path("many.tsv"), many);
  prompts_->open_answers = {QString::fromStdString(dir_->Path("many.tsv"))};
  prompts_->save_answers = {combined};
  QSignalSpy finished(window_.get(), &TMainForm2::ExecuteFinished);
  Find<QAction>(*window_, "ActionRunBatch")->trigger();
  Find<QAction>(*window_, "ActionCancel")->trigger();
  QVERIFY(finished.count() == 1 || finished.wait(30000));
  CheckIdle();
  QVERIFY2(prompts_->messages[2].message.startsWith("Batch cancelled: "), qPrintable(prompts_->messages[2].message));
  QVERIFY(prompts_->messages[2].message.contains(
      "\nThe combined file was not written, since the batch was cancelled."));
  QVERIFY(!std::filesystem::exists(combined.toStdString()));
  QVERIFY(!std::filesystem::exists(dir_->Path("many499.out")));
}

void Main2Test::failedRunReturnsToIdle_data() {
  QTest::addColumn<QString>("failure");
  QTest::newRow("missing classes file") << "classes";
  QTest::newRow("output folder missing") << "output folder";
  QTest::newRow("output folder is a file") << "file";
  QTest::newRow("output folder read-only") << "read-only";
}

void Main2Test::failedRunReturnsToIdle() {
  QFETCH(QString, failure);
  std::string output = dir_->Path("cases.data");
  std::string concerned;
  if (failure == "output folder") {
    output = dir_->Path("no-such-folder/cases.data");
    concerned = output;
  } else if (failure == "file") {
    WriteFile(dir_->Path("plain"), "not a folder");
    output = dir_->Path("plain/cases.data");
    concerned = output;
  } else if (failure == "read-only") {
    std::filesystem::create_directory(dir_->Path("locked"));
    std::filesystem::permissions(dir_->Path("locked"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    output = dir_->Path("locked/cases.data");
    concerned = output;
    if (::access(dir_->Path("locked").c_str(), W_OK) == 0) QSKIP("running as root");
  }
  Fill(kTextA, kClassesA, output, false);
  if (failure == "classes") {
    concerned = dir_->Path("missing-classes.txt");
    Find<QLineEdit>(*window_, "Edit2")->setText(QString::fromStdString(concerned));
  }
  QVERIFY(Execute());

  QVERIFY(prompts_->messages.isEmpty());  // no "Done!"
  QCOMPARE(prompts_->errors.size(), 1);
  QVERIFY2(prompts_->errors[0].message.contains(QString::fromStdString(concerned)),
           qPrintable(prompts_->errors[0].message));
  CheckIdle();
  std::error_code ignored;
  QVERIFY(!std::filesystem::exists(output, ignored));

  // The window is usable again: a corrected run succeeds.
  Fill(kTextA, kClassesA, dir_->Path("after.data"), false);
  QVERIFY(Execute());
  QCOMPARE(prompts_->messages.size(), 1);
  QCOMPARE(ReadFile(dir_->Path("after.data")), CoreOutput());
}

void Main2Test::missingTextLeavesTheWindowIdle() {
  const std::string output = dir_->Path("cases.data");
  Fill(kTextA, kClassesA, output, false);
  prompts_->open_answers = {Find<QLineEdit>(*window_, "Edit1")->text()};
  QTest::mouseClick(Find<QPushButton>(*window_, "Button1"), Qt::LeftButton);
  QVERIFY(!Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().isEmpty());

  const QString missing = QString::fromStdString(dir_->Path("missing.txt"));
  Find<QLineEdit>(*window_, "Edit1")->setText(missing);
  QVERIFY(Execute());
  QCOMPARE(prompts_->errors.size(), 1);
  QVERIFY(prompts_->errors[0].message.contains("Cannot open file"));
  QVERIFY(prompts_->errors[0].message.contains(missing));
  // The error comes before the window changes anything but the memo.
  QVERIFY(prompts_->errors[0].window_enabled);
  QCOMPARE(prompts_->errors[0].window_title, QStringLiteral("Casewright"));
  QVERIFY(Find<QPlainTextEdit>(*window_, "Memo1")->toPlainText().isEmpty());
  QVERIFY(prompts_->messages.isEmpty());
  QVERIFY(!std::filesystem::exists(output));
  CheckIdle();
}

void Main2Test::tablesAtStart() {
  ScriptedPrompts prompts;
  const QByteArray saved = qgetenv("CASEWRIGHT_ORBELIN");
  qputenv("CASEWRIGHT_ORBELIN", QByteArray::fromStdString(dir_->root().string()));
  const std::unique_ptr<casewright::LexicalTables> missing =
      casewright::OpenTablesOrReport(prompts);
  if (saved.isNull()) {
    qunsetenv("CASEWRIGHT_ORBELIN");
  } else {
    qputenv("CASEWRIGHT_ORBELIN", saved);
  }
  QVERIFY(!missing);
  QCOMPARE(prompts.errors.size(), 1);
  QVERIFY2(prompts.errors[0].message.contains(QString::fromStdString(dir_->root().string())),
           qPrintable(prompts.errors[0].message));

  // The tables the build makes open without a word.
  const std::unique_ptr<casewright::LexicalTables> tables =
      casewright::OpenTablesOrReport(prompts);
  QVERIFY(tables);
  QCOMPARE(prompts.errors.size(), 1);
}

QTEST_MAIN(Main2Test)
#include "main2_test.moc"
