#include "gui/Main2.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/read_file.h"
#include "core/run_error.h"
#include "gui/crossval_dialog.h"
#include "gui/options_menu.h"
#include "gui/sentences_view.h"
#include "gui/summary_view.h"
#include "gui/window_batch.h"
#include "text/load_text.h"

namespace casewright {
namespace {

constexpr const char* kIdleCaption = "Casewright";
constexpr const char* kRunningCaption = "Wait...";
constexpr const char* kExecuteCaption = "Execute";
// The QSettings key of the folder of the last file chosen.
constexpr const char* kLastFolderKey = "lastFolder";
// The QSettings key of whether GroupBox2 (features 9 to 16) is unfolded.
constexpr const char* kMoreFeaturesKey = "moreFeaturesUnfolded";
// How often the window looks at the run's progress.
constexpr int kProgressIntervalMs = 250;
constexpr int kProgressSteps = 1000;
// The size the controls were placed for, the form's smallest.
constexpr QSize kFormSize(696, 504);
// How far GroupBox2, unfolded, pushes the bottom row down.
constexpr int kMoreFeaturesHeight = 219;
// The check boxes' pitch in both feature groups.
constexpr int kFeatureBoxPitch = 24;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int left, int top) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setObjectName(name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

QFrame* MakeBevel(QWidget* parent, const char* name, QRect geometry) {
  auto* bevel = new QFrame(parent);
  bevel->setObjectName(name);
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(geometry);
  return bevel;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(geometry);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  return box;
}

// The window has no standard streams: a field holding "-" names the file of
// that name, not standard input or output as on the command line.
std::string FilePath(const QString& field) {
  const std::string path = field.toStdString();
  return path == kStandardInput ? "./-" : path;
}

// The C4.5 names file beside `output`: the same name with the extension
// ".names", as C4.5 looks for it beside a ".data" file.
std::string NamesFileBeside(const std::string& output) {
  return std::filesystem::path(output).replace_extension(".names").string();
}

// The platform's shortcuts for `key`, else `fallback` (a platform may have
// none for an action, as Qt's offscreen platform has none for Quit).
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, QKeySequence fallback) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  return keys.isEmpty() ? QList<QKeySequence>{fallback} : keys;
}

// The file types the output dialog offers for `format`, the format's own
// first.
QString OutputFilter(CaseFormat format) {
  static const char* const kFilters[] = {"Cases (*.cases)", "C4.5 data (*.data)", "ARFF (*.arff)", "CSV (*.csv)"};
  return QString::fromUtf8(kFilters[static_cast<int>(format)]) + QStringLiteral(";;All files (*)");
}

// The output file's extension for `format`, as OutputFilter offers it.
QString OutputExtension(CaseFormat format) {
  const QString filter = OutputFilter(format);
  return filter.mid(filter.indexOf(QLatin1String("*.")) + 1).section(QLatin1Char(')'), 0, 0);
}

// "Done!", then where the cases went, then what the user should know.
QString DoneMessage(const RunSettings& settings, const RunOutcome& outcome) {
  QString message = QStringLiteral("Done!\n%1 cases written to %2")
                        .arg(outcome.sentences)
                        .arg(QString::fromStdString(settings.output_path));
  if (!settings.names_path.empty()) {
    message += QStringLiteral("\nC4.5 names file written to ") + QString::fromStdString(settings.names_path);
  }
  if (settings.classes_path.empty() && settings.extract.path.empty()) {
    message += QStringLiteral("\nNo classes file: every case's class is the missing value");
  }
  for (const auto* lines : {&outcome.notes, &outcome.warnings}) {
    for (const std::string& line : *lines) message += QLatin1Char('\n') + QString::fromStdString(line);
  }
  return message;
}

}  // namespace

QString LongTimeOfDay(const QLocale& locale, const QTime& time) {
  // Drops the time zone field 't' (outside quoted literals) and the blanks
  // it leaves behind.
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString kept;
  bool quoted = false;
  for (QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (c == u't' && !quoted) continue;
    kept.append(c);
  }
  return locale.toString(time, kept.simplified());
}

TMainForm2::TMainForm2(const LexicalTables& tables, GuiPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), tables_(tables), prompts_(prompts) {
  setObjectName("MainForm2");
  setWindowTitle(kIdleCaption);
  form_ = new QWidget(this);
  form_->setObjectName("Form");
  setCentralWidget(form_);

  // The platform's sans serif at 11 pixels, the height of an 8 point font at
  // 96 pixels per inch, since the controls are placed in pixels.  The menu
  // and status bars keep the platform's font.
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  form_->setFont(font);

  BuildControls();
  FitCaptions();
  UnfoldMoreFeatures(QSettings().value(kMoreFeaturesKey, false).toBool());
  form_->installEventFilter(this);
  BuildMenus();
  resize(minimumSizeHint());
  if (const QScreen* screen = QApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }

  progress_timer_ = new QTimer(this);
  progress_timer_->setInterval(kProgressIntervalMs);
  connect(progress_timer_, &QTimer::timeout, this, &TMainForm2::ShowProgress);
  connect(text_search_button_, &QPushButton::clicked, this, &TMainForm2::ChooseTextFile);
  connect(classes_search_button_, &QPushButton::clicked, this, &TMainForm2::ChooseClassesFile);
  connect(output_search_button_, &QPushButton::clicked, this, &TMainForm2::ChooseOutputFile);
  connect(execute_button_, &QPushButton::clicked, this, &TMainForm2::Execute);
  connect(cancel_button_, &QPushButton::clicked, this, &TMainForm2::Cancel);
  connect(text_path_edit_, &QLineEdit::editingFinished, this, [this] {
    if (text_path_edit_->isModified()) ReloadMemo();
  });
  connect(options_menu_, &OptionsMenu::EncodingChanged, this, &TMainForm2::ReloadMemo);
  // "Formato Quinlan" and the format in Options are one setting.
  connect(quinlan_box_, &QCheckBox::toggled, this, [this](bool quinlan) {
    if (quinlan) {
      options_menu_->SetFormat(CaseFormat::kQuinlan);
    } else if (options_menu_->format() == CaseFormat::kQuinlan) {
      options_menu_->SetFormat(CaseFormat::kPlain);
    }
  });
  connect(options_menu_, &OptionsMenu::FormatChanged, this,
          [this](CaseFormat format) { quinlan_box_->setChecked(format == CaseFormat::kQuinlan); });
  connect(options_menu_, &OptionsMenu::SentencesRequested, this, [this] {
    OpenSentencesView(this, tables_, prompts_, FilePath(text_path_edit_->text()), options_menu_->reading(),
                      FilePath(classes_path_edit_->text()), classes_path_edit_, ReadSettings().features);
  });
  connect(options_menu_, &OptionsMenu::SummaryRequested, this, [this] {
    OpenSummaryView(this, tables_, prompts_, FilePath(text_path_edit_->text()), options_menu_->reading(),
                    ReadSettings().features);
  });

  FormCreate();
}

TMainForm2::~TMainForm2() {
  cancel_requested_ = true;
  if (worker_.joinable()) worker_.join();
}

void TMainForm2::BuildControls() {
  input_heading_ = MakeLabel(form_, "Label4", "Input", 8, 8);
  input_frame_ = MakeBevel(form_, "Bevel1", {8, 24, 361, 105});
  text_label_ = MakeLabel(form_, "Label1", "File with the text for generating the training data", 16, 32);
  text_path_edit_ = MakeEdit(form_, "Edit1", {16, 48, 281, 21});
  text_search_button_ = MakeButton(form_, "Button1", "Search", {304, 46, 57, 25});
  classes_label_ = MakeLabel(form_, "Label2", "File with the classes for the sentences from the text above", 16,
                     80);
  classes_path_edit_ = MakeEdit(form_, "Edit2", {16, 96, 281, 21});
  classes_search_button_ = MakeButton(form_, "Button2", "Search", {304, 94, 57, 25});

  output_heading_ = MakeLabel(form_, "Label5", "Output", 8, 144);
  output_frame_ = MakeBevel(form_, "Bevel2", {8, 160, 361, 57});
  output_label_ = MakeLabel(form_, "Label3", "File for the generated training cases", 16, 168);
  output_path_edit_ = MakeEdit(form_, "Edit3", {16, 184, 281, 21});
  output_search_button_ = MakeButton(form_, "Button3", "Search", {304, 182, 57, 25});

  features_group_ = new QGroupBox(
      QStringLiteral(" Features to extract from sentences for building the training data "), form_);
  features_group_->setObjectName("GroupBox1");
  features_group_->setGeometry(8, 240, 361, 217);
  more_features_button_ = new QToolButton(form_);
  more_features_button_->setObjectName("MoreFeaturesButton");
  more_features_button_->setText(QStringLiteral("Features 9 to 16"));
  more_features_button_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  more_features_button_->setAutoRaise(true);
  more_features_button_->setCheckable(true);
  more_features_button_->setGeometry(8, 458, 160, 17);
  more_features_group_ = new QGroupBox(QStringLiteral(" Features from the literature, off unless ticked "), form_);
  more_features_group_->setObjectName("GroupBox2");
  more_features_group_->setGeometry(8, 478, 361, 217);
  for (const FeatureInfo& info : kFeatures) {
    const int k = info.number - 1;
    const bool more = info.number > kDefaultFeatureCount;
    const int row = more ? k - kDefaultFeatureCount : k;
    feature_boxes_[k] = MakeCheckBox(more ? more_features_group_ : features_group_,
                                     QString::fromLatin1(more ? "FeatureBox%1" : "CheckBox%1").arg(info.number),
                                     QString::fromUtf8(info.caption), {8, 24 + kFeatureBoxPitch * row, 345, 17});
  }
  connect(more_features_button_, &QToolButton::toggled, this, &TMainForm2::UnfoldMoreFeatures);

  // The progress bar takes the free space left of the Execute button.
  progress_bar_ = new QProgressBar(form_);
  progress_bar_->setObjectName("ProgressBar1");
  progress_bar_->setRange(0, kProgressSteps);
  progress_bar_->setTextVisible(false);
  progress_bar_->reset();
  execute_button_ = MakeButton(form_, "Button4", kExecuteCaption, {});

  text_heading_ = MakeLabel(form_, "Label6", "Text", 384, 8);
  text_memo_ = new QPlainTextEdit(form_);
  text_memo_->setObjectName("Memo1");
  text_memo_->setReadOnly(true);
  text_memo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_filler_ = new MemoFiller(text_memo_);
  quinlan_box_ = MakeCheckBox(form_, "CheckBox9", QStringLiteral("Formato Quinlan"), {392, 476, 105, 17});
  // Options sits at the right end of the bottom row, under the memo's edge.
  options_menu_ = new OptionsMenu(form_);
  options_menu_->setObjectName("ToolButton1");

  // Tab order: the three files with their Search buttons, the features, then
  // Execute, the memo and the output format.
  std::vector<QWidget*> order = {text_path_edit_,   text_search_button_,   classes_path_edit_,
                                 classes_search_button_, output_path_edit_, output_search_button_};
  order.insert(order.end(), feature_boxes_.begin(), feature_boxes_.begin() + kDefaultFeatureCount);
  order.push_back(more_features_button_);
  order.insert(order.end(), feature_boxes_.begin() + kDefaultFeatureCount, feature_boxes_.end());
  order.insert(order.end(), {execute_button_, text_memo_, quinlan_box_, options_menu_});
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  for (QWidget* w : {static_cast<QWidget*>(features_group_), static_cast<QWidget*>(more_features_group_),
                     static_cast<QWidget*>(progress_bar_)}) {
    w->setFocusPolicy(Qt::NoFocus);
  }
  more_features_button_->setArrowType(Qt::RightArrow);
  more_features_group_->hide();
  LayOutForm();
}

void TMainForm2::UnfoldMoreFeatures(bool unfolded) {
  more_features_button_->setArrowType(unfolded ? Qt::DownArrow : Qt::RightArrow);
  more_features_group_->setVisible(unfolded);
  form_->setMinimumSize(kFormSize + QSize(0, unfolded ? kMoreFeaturesHeight : 0));
  if (more_features_button_->isChecked() != unfolded) more_features_button_->setChecked(unfolded);
  QSettings().setValue(kMoreFeaturesKey, unfolded);
  LayOutForm();
}

void TMainForm2::LayOutForm() {
  const int dx = std::max(0, form_->width() - kFormSize.width());
  const int dy = std::max(0, form_->height() - kFormSize.height());
  text_memo_->setGeometry(384, 24, 305 + dx, 433 + dy);
  progress_bar_->setGeometry(8, 476 + dy, 292, 17);
  execute_button_->setGeometry(310, 472 + dy, 75, 25);
  quinlan_box_->move(392, 476 + dy);
  options_menu_->setGeometry(614 + dx, 472 + dy, 75, 25);
}

bool TMainForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::Resize) LayOutForm();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm2::BuildMenus() {
  auto add = [this](QMenu* menu, const char* name, const char* caption, const QList<QKeySequence>& keys,
                    auto slot) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  idle_actions_ = {
      add(file, "ActionOpenText", "&Open text...", StandardKeys(QKeySequence::Open, Qt::CTRL | Qt::Key_O),
          &TMainForm2::ChooseTextFile),
      add(file, "ActionOpenClasses", "Open &classes...", {}, &TMainForm2::ChooseClassesFile),
      add(file, "ActionChooseOutput", "Choose o&utput...", StandardKeys(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S),
          &TMainForm2::ChooseOutputFile),
  };
  file->addSeparator();
  idle_actions_.push_back(add(file, "ActionRunBatch", "Run &batch...", {}, &TMainForm2::RunBatchFromManifest));
  file->addSeparator();
  add(file, "ActionQuit", "&Quit", StandardKeys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q), &QWidget::close);

  QMenu* run = menuBar()->addMenu(QStringLiteral("&Run"));
  idle_actions_.push_back(
      add(run, "ActionExecute", "&Execute", {Qt::Key_F5, Qt::CTRL | Qt::Key_R}, &TMainForm2::Execute));
  cancel_action_ = add(run, "ActionCancel", "&Cancel", {Qt::Key_Escape}, &TMainForm2::Cancel);
  cancel_action_->setEnabled(false);
  run->addSeparator();
  idle_actions_.push_back(add(run, "ActionCrossValidate", "Cross-&validate...", {}, [this] {
    OpenCrossvalDialog(this, tables_, prompts_, ReadSettings().features, options_menu_->encoding());
  }));

  menuBar()->addMenu(options_menu_->menu());
  idle_actions_.push_back(options_menu_->menu()->menuAction());

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  add(help, "ActionManual", "&Manual", StandardKeys(QKeySequence::HelpContents, Qt::Key_F1), &TMainForm2::ShowManual);
  add(help, "ActionAbout", "&About Casewright", {}, &TMainForm2::ShowAbout);

  // Cancel also sits in the status bar while a run can be cancelled.
  cancel_button_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_button_->setObjectName("CancelButton");
  cancel_button_->setFocusPolicy(Qt::NoFocus);  // Escape reaches it from anywhere
  cancel_button_->hide();
  statusBar()->addPermanentWidget(cancel_button_);
}

bool TMainForm2::CaptionsFit() const {
  for (const QGroupBox* group : {features_group_, more_features_group_}) {
    if (group->minimumSizeHint().width() > group->width()) return false;
  }
  for (const QLabel* label : {text_label_, classes_label_, output_label_}) {
    if (label->x() + label->sizeHint().width() > input_frame_->geometry().right()) return false;
  }
  return true;
}

void TMainForm2::FitCaptions() {
  // The controls keep their pixel positions whatever font the platform
  // offers, so a font wider than the one the layout was drawn for is
  // narrowed until the longest captions fit their frames.
  QFont narrowed = form_->font();
  for (int stretch = 95; stretch >= QFont::Condensed && !CaptionsFit(); stretch -= 5) {
    narrowed.setStretch(stretch);
    form_->setFont(narrowed);
  }
  for (QLabel* label : form_->findChildren<QLabel*>()) label->adjustSize();
  // "Formato Quinlan" has room to grow to the right, up to Options.
  quinlan_box_->resize(std::clamp(quinlan_box_->sizeHint().width(), quinlan_box_->width(),
                               options_menu_->x() - 4 - quinlan_box_->x()),
                    quinlan_box_->height());
}

void TMainForm2::FormCreate() {
  for (int k = 0; k < kFeatureCount; ++k) feature_boxes_[k]->setChecked(k < kDefaultFeatureCount);
  quinlan_box_->setChecked(false);
}

void TMainForm2::ChooseTextFile() {
  const QString path = prompts_.OpenFileName(this, DialogFolder(text_path_edit_->text()));
  if (path.isEmpty()) return;
  RememberFolder(path);
  text_path_edit_->setText(path);
  LoadIntoMemo(path);
}

void TMainForm2::ChooseClassesFile() {
  const QString path = prompts_.OpenFileName(this, DialogFolder(classes_path_edit_->text()));
  if (path.isEmpty()) return;
  RememberFolder(path);
  classes_path_edit_->setText(path);
}

void TMainForm2::OpenText(const QString& path) {
  text_path_edit_->setText(path);
  LoadIntoMemo(path);
}

void TMainForm2::ChooseOutputFile() {
  const CaseFormat format = options_menu_->format();
  const QString path = prompts_.SaveFileNameOfType(this, SuggestedOutput(format), OutputFilter(format));
  if (path.isEmpty()) return;
  RememberFolder(path);
  output_path_edit_->setText(path);
}

QString TMainForm2::SuggestedOutput(CaseFormat format) const {
  const QFileInfo field(output_path_edit_->text());
  if (!field.filePath().isEmpty() && field.absoluteDir().exists()) return field.absoluteFilePath();
  const QString text = text_path_edit_->text();
  QString folder = DialogFolder(field.filePath());
  if (text.isEmpty()) return folder;
  if (folder.isEmpty()) folder = QFileInfo(text).absolutePath();
  return QDir(folder).filePath(QFileInfo(text).completeBaseName() + OutputExtension(format));
}

QString TMainForm2::DialogFolder(const QString& path) const {
  if (!path.isEmpty()) {
    const QFileInfo file(path);
    if (file.absoluteDir().exists()) return file.absolutePath();
  }
  const QString last = QSettings().value(kLastFolderKey).toString();
  return QDir(last).exists() ? last : QString();
}

void TMainForm2::RememberFolder(const QString& chosen) {
  QSettings().setValue(kLastFolderKey, QFileInfo(chosen).absolutePath());
}

std::optional<TMainForm2::LoadedText> TMainForm2::LoadIntoMemo(const QString& path, ErrorsIn errors) {
  memo_filler_->Clear();
  try {
    DecodedText decoded = LoadTextAs(FilePath(path), options_menu_->encoding());
    LoadedText text{std::make_shared<const std::string>(std::move(decoded.bytes)), std::move(decoded.warnings),
                    std::move(decoded.notes)};
    memo_filler_->Show(text.bytes);
    return text;
  } catch (const std::exception& error) {
    const QString message = QString::fromStdString(DescribeError(error));
    if (errors == ErrorsIn::kBox) {
      prompts_.ShowError(this, message);
    } else {
      statusBar()->showMessage(message);
    }
  }
  return std::nullopt;
}

void TMainForm2::ReloadMemo() {
  text_path_edit_->setModified(false);
  statusBar()->clearMessage();
  const QString path = text_path_edit_->text();
  if (path.isEmpty()) {
    memo_filler_->Clear();
  } else {
    LoadIntoMemo(path, ErrorsIn::kStatusBar);
  }
}

RunSettings TMainForm2::ReadSettings() const {
  RunSettings settings;
  settings.text_path = FilePath(text_path_edit_->text());
  settings.classes_path = FilePath(classes_path_edit_->text());
  settings.output_path = FilePath(output_path_edit_->text());
  for (const FeatureInfo& info : kFeatures) {
    settings.features.Set(info.feature, feature_boxes_[info.number - 1]->isChecked());
  }
  settings.format = options_menu_->format();
  settings.encoding = options_menu_->encoding();
  settings.segmented = options_menu_->segmented();
  if (options_menu_->names_file() && !settings.output_path.empty()) {
    settings.names_path = NamesFileBeside(settings.output_path);
  }
  return settings;
}

void TMainForm2::Execute() {
  if (running_) return;
  // The text is loaded here, before anything changes, so that a text that
  // cannot be read leaves the window idle with the memo cleared.
  std::optional<LoadedText> text = LoadIntoMemo(text_path_edit_->text());
  if (!text) {
    emit ExecuteFinished();
    return;
  }
  EnterRunning();

  worker_ = std::thread([this, settings = ReadSettings(), text = std::move(*text)] {
    RunResult result{settings, std::nullopt, {}, false};
    auto on_tick = [this](const ProgressTick& tick) {
      tick_time_ms_.store(QTime::currentTime().msecsSinceStartOfDay(), std::memory_order_relaxed);
      tick_permille_.store(static_cast<int>(tick.Fraction() * kProgressSteps),
                           std::memory_order_relaxed);
    };
    try {
      result.outcome =
          RunCasesOnText(settings, *text.bytes, tables_, CancellableProgress(cancel_requested_, on_tick));
      result.outcome->warnings.insert(result.outcome->warnings.begin(), text.warnings.begin(),
                                      text.warnings.end());
      result.outcome->notes.insert(result.outcome->notes.begin(), text.notes.begin(), text.notes.end());
    } catch (const std::exception& error) {
      result.cancelled = dynamic_cast<const RunCancelled*>(&error) != nullptr;
      result.error = QString::fromStdString(DescribeError(error));
    }
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)] { FinishRun(result); }, Qt::QueuedConnection);
  });
}

void TMainForm2::Cancel() {
  if (!running_) return;
  cancel_requested_ = true;
  ShowProgress();
}

void TMainForm2::EnterRunning() {
  running_ = true;
  setWindowTitle(kRunningCaption);
  cancel_requested_ = false;
  tick_time_ms_.store(QTime::currentTime().msecsSinceStartOfDay());
  tick_permille_.store(0);
  form_->setEnabled(false);
  for (QAction* action : idle_actions_) action->setEnabled(false);
  cancel_action_->setEnabled(true);
  cancel_button_->setVisible(true);
  ShowProgress();
  progress_timer_->start();
}

void TMainForm2::ShowProgress() {
  int permille = 0;
  QString status;
  if (batch_) {
    const std::size_t entries = batch_->entries();
    permille = entries == 0 ? 0 : static_cast<int>(batch_->done() * kProgressSteps / entries);
    status = QStringLiteral("%1 of %2 texts done").arg(batch_->done()).arg(entries);
    if (batch_->failed() > 0) status += QStringLiteral(", %1 failed").arg(batch_->failed());
  } else {
    permille = tick_permille_.load(std::memory_order_relaxed);
    const int ms = tick_time_ms_.load(std::memory_order_relaxed);
    if (ms >= 0) {
      status = QStringLiteral("Last step at ") + LongTimeOfDay(QLocale(), QTime::fromMSecsSinceStartOfDay(ms));
    }
  }
  if (cancel_requested_) status = QStringLiteral("Cancelling...");
  execute_button_->setText(QStringLiteral("%1%").arg(permille / (kProgressSteps / 100)));
  progress_bar_->setValue(permille);
  statusBar()->showMessage(status);
}

void TMainForm2::FinishRun(const RunResult& result) {
  worker_.join();
  ReturnToIdle();
  if (result.cancelled) {
    statusBar()->showMessage(result.error);
  } else if (result.outcome && result.outcome->warnings.empty()) {
    prompts_.ShowMessage(this, DoneMessage(result.settings, *result.outcome));
  } else if (result.outcome) {
    prompts_.ShowWarning(this, DoneMessage(result.settings, *result.outcome));
  } else {
    prompts_.ShowError(this, result.error);
  }
  emit ExecuteFinished();
}

void TMainForm2::ReturnToIdle() {
  progress_timer_->stop();
  tick_time_ms_.store(-1);
  progress_bar_->reset();
  setWindowTitle(kIdleCaption);
  execute_button_->setText(kExecuteCaption);
  statusBar()->clearMessage();
  cancel_button_->hide();
  cancel_action_->setEnabled(false);
  for (QAction* action : idle_actions_) action->setEnabled(true);
  form_->setEnabled(true);
  running_ = false;
}

void TMainForm2::RunBatchFromManifest() {
  if (running_) return;
  const QString manifest = prompts_.OpenFileName(this, DialogFolder(QString()));
  if (manifest.isEmpty()) return;
  RememberFolder(manifest);
  const CaseFormat format = options_menu_->format();
  const QFileInfo file(manifest);
  const QString suggested = file.dir().absoluteFilePath(file.completeBaseName() + OutputExtension(format));
  const QString combined = prompts_.SaveFileNameOfType(this, suggested, OutputFilter(format));
  if (combined.isEmpty()) return;
  RememberFolder(combined);
  StartBatch(manifest, combined);
}

void TMainForm2::StartBatch(const QString& manifest, const QString& combined) {
  std::vector<ManifestEntry> entries;
  try {
    entries = ReadManifest(FilePath(manifest));
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
    emit ExecuteFinished();
    return;
  }
  const RunSettings run = ReadSettings();
  BatchSettings settings;
  settings.features = run.features;
  settings.format = run.format;
  settings.encoding = run.encoding;
  settings.segmented = run.segmented;
  settings.jobs = std::max(1u, std::thread::hardware_concurrency());
  settings.combined_path = FilePath(combined);
  settings.relation = RelationOf(FilePath(manifest));
  if (options_menu_->names_file()) settings.names_path = NamesFileBeside(settings.combined_path);
  settings.manifest_entries = entries.size();
  settings.stop = &cancel_requested_;
  batch_ = std::make_unique<WindowBatchObserver>(manifest.toStdString(), entries.size());
  EnterRunning();

  worker_ = std::thread([this, entries = std::move(entries), settings] {
    std::optional<BatchReport> report;
    QString error;
    try {
      report = RunBatch(entries, settings, tables_, *batch_);
    } catch (const std::exception& e) {
      error = QString::fromStdString(DescribeError(e));
    }
    QMetaObject::invokeMethod(
        this, [this, settings, report, error] { FinishBatch(settings, report, error); }, Qt::QueuedConnection);
  });
}

void TMainForm2::FinishBatch(const BatchSettings& settings, const std::optional<BatchReport>& report,
                             const QString& error) {
  worker_.join();
  const std::vector<std::string> failures = batch_->Failures();
  batch_.reset();
  ReturnToIdle();
  if (!report) {
    prompts_.ShowError(this, error);
  } else if (failures.empty()) {
    prompts_.ShowMessage(this, BatchSummary(settings, *report, failures));
  } else {
    prompts_.ShowWarning(this, BatchSummary(settings, *report, failures));
  }
  emit ExecuteFinished();
}

void TMainForm2::ShowManual() {
  // The README, installed with the program (share/doc/casewright beside
  // the folder of the executable).
  const QString readme =
      QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../share/doc/casewright/README.md");
  if (!QFileInfo::exists(readme) || !QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::cleanPath(readme)))) {
    prompts_.ShowError(this, QStringLiteral("Cannot open the manual %1; `man casewright` describes the window")
                                 .arg(QDir::cleanPath(readme)));
  }
}

void TMainForm2::ShowAbout() {
  prompts_.ShowMessage(this, QStringLiteral("Casewright %1\n"
                                            "Training cases for extractive summaries from Portuguese texts\n"
                                            "Lexical tables: %2")
                                 .arg(QStringLiteral(CASEWRIGHT_VERSION),
                                      tables_folder_.isEmpty() ? QStringLiteral("(given by the caller)")
                                                               : tables_folder_));
}

void TMainForm2::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    statusBar()->showMessage(batch_ ? QStringLiteral("A batch is in progress: cancel it or wait for its end")
                                    : QStringLiteral("A run is in progress: cancel it or wait for its end"));
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace casewright
