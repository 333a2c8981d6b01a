#include "gui/Main2.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/read_file.h"
#include "core/run_error.h"
#include "gui/options_menu.h"
#include "gui/sentences_view.h"
#include "gui/summary_view.h"
#include "text/load_text.h"

namespace casewright {
namespace {

constexpr const char* kIdleCaption = "Casewright";
constexpr const char* kRunningCaption = "Wait...";
constexpr const char* kExecuteCaption = "Execute";
// The QSettings key of the folder of the last file chosen.
constexpr const char* kLastFolderKey = "lastFolder";
// How often the window looks at the run's progress.
constexpr int kProgressIntervalMs = 250;
constexpr int kProgressSteps = 1000;

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

// "Done!", then where the cases went, then what the user should know.
QString DoneMessage(const RunSettings& settings, const RunOutcome& outcome) {
  QString message = QStringLiteral("Done!\n%1 cases written to %2")
                        .arg(outcome.sentences)
                        .arg(QString::fromStdString(settings.output_path));
  if (!settings.names_path.empty()) {
    message += QStringLiteral("\nC4.5 names file written to ") + QString::fromStdString(settings.names_path);
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
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      tables_(tables),
      prompts_(prompts) {
  setObjectName("MainForm2");
  setWindowTitle(kIdleCaption);

  // The platform's sans serif at 11 pixels, the height of an 8 point font at
  // 96 pixels per inch, since the controls are placed in pixels.
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  setFont(font);

  BuildControls();
  FitCaptions();
  setFixedSize(696, 504);
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
    OpenSentencesView(this, tables_, prompts_, FilePath(text_path_edit_->text()), options_menu_->encoding(),
                      FilePath(classes_path_edit_->text()), classes_path_edit_);
  });
  connect(options_menu_, &OptionsMenu::SummaryRequested, this, [this] {
    OpenSummaryView(this, tables_, prompts_, FilePath(text_path_edit_->text()), options_menu_->encoding());
  });

  FormCreate();
}

TMainForm2::~TMainForm2() {
  if (worker_.joinable()) worker_.join();
}

void TMainForm2::BuildControls() {
  input_heading_ = MakeLabel(this, "Label4", "Input", 8, 8);
  input_frame_ = MakeBevel(this, "Bevel1", {8, 24, 361, 105});
  text_label_ = MakeLabel(this, "Label1", "File with the text for generating the training data", 16, 32);
  text_path_edit_ = MakeEdit(this, "Edit1", {16, 48, 281, 21});
  text_search_button_ = MakeButton(this, "Button1", "Search", {304, 46, 57, 25});
  classes_label_ = MakeLabel(this, "Label2", "File with the classes for the sentences from the text above", 16,
                     80);
  classes_path_edit_ = MakeEdit(this, "Edit2", {16, 96, 281, 21});
  classes_search_button_ = MakeButton(this, "Button2", "Search", {304, 94, 57, 25});

  output_heading_ = MakeLabel(this, "Label5", "Output", 8, 144);
  output_frame_ = MakeBevel(this, "Bevel2", {8, 160, 361, 57});
  output_label_ = MakeLabel(this, "Label3", "File for the generated training cases", 16, 168);
  output_path_edit_ = MakeEdit(this, "Edit3", {16, 184, 281, 21});
  output_search_button_ = MakeButton(this, "Button3", "Search", {304, 182, 57, 25});

  features_group_ = new QGroupBox(
      QStringLiteral(" Features to extract from sentences for building the training data "), this);
  features_group_->setObjectName("GroupBox1");
  features_group_->setGeometry(8, 240, 361, 217);
  for (const FeatureInfo& info : kFeatures) {
    const int k = info.number - 1;
    feature_boxes_[k] = MakeCheckBox(features_group_, QStringLiteral("CheckBox%1").arg(info.number),
                                     QString::fromUtf8(info.caption), {8, 24 + 24 * k, 345, 17});
  }

  // The progress bar takes the free space left of the Execute button.
  progress_bar_ = new QProgressBar(this);
  progress_bar_->setObjectName("ProgressBar1");
  progress_bar_->setGeometry(8, 476, 292, 17);
  progress_bar_->setRange(0, kProgressSteps);
  progress_bar_->setTextVisible(false);
  progress_bar_->reset();
  execute_button_ = MakeButton(this, "Button4", kExecuteCaption, {310, 472, 75, 25});

  text_heading_ = MakeLabel(this, "Label6", "Text", 384, 8);
  text_memo_ = new QPlainTextEdit(this);
  text_memo_->setObjectName("Memo1");
  text_memo_->setGeometry(384, 24, 305, 433);
  text_memo_->setReadOnly(true);
  text_memo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_filler_ = new MemoFiller(text_memo_);
  quinlan_box_ = MakeCheckBox(this, "CheckBox9", QStringLiteral("Formato Quinlan"), {392, 476, 105, 17});
  // Options sits at the right end of the bottom row, under the memo's edge.
  options_menu_ = new OptionsMenu(this);
  options_menu_->setObjectName("ToolButton1");
  options_menu_->setGeometry(614, 472, 75, 25);

  // Tab order: the three files with their Search buttons, the features, then
  // Execute, the memo and the output format.
  std::vector<QWidget*> order = {text_path_edit_,   text_search_button_,   classes_path_edit_,
                                 classes_search_button_, output_path_edit_, output_search_button_};
  order.insert(order.end(), feature_boxes_.begin(), feature_boxes_.end());
  order.insert(order.end(), {execute_button_, text_memo_, quinlan_box_, options_menu_});
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  for (QWidget* w : {static_cast<QWidget*>(features_group_), static_cast<QWidget*>(progress_bar_)}) {
    w->setFocusPolicy(Qt::NoFocus);
  }
}

bool TMainForm2::CaptionsFit() const {
  if (features_group_->minimumSizeHint().width() > features_group_->width()) return false;
  for (const QLabel* label : {text_label_, classes_label_, output_label_}) {
    if (label->x() + label->sizeHint().width() > input_frame_->geometry().right()) return false;
  }
  return true;
}

void TMainForm2::FitCaptions() {
  // The controls keep their pixel positions whatever font the platform
  // offers, so a font wider than the one the layout was drawn for is
  // narrowed until the longest captions fit their frames.
  QFont narrowed = font();
  for (int stretch = 95; stretch >= QFont::Condensed && !CaptionsFit(); stretch -= 5) {
    narrowed.setStretch(stretch);
    setFont(narrowed);
  }
  for (QLabel* label : findChildren<QLabel*>()) label->adjustSize();
  // "Formato Quinlan" has room to grow to the right, up to Options.
  quinlan_box_->resize(std::clamp(quinlan_box_->sizeHint().width(), quinlan_box_->width(),
                               options_menu_->x() - 4 - quinlan_box_->x()),
                    quinlan_box_->height());
}

void TMainForm2::FormCreate() {
  for (QCheckBox* box : feature_boxes_) box->setChecked(true);
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

void TMainForm2::ChooseOutputFile() {
  const QString path = prompts_.SaveFileName(this, DialogFolder(output_path_edit_->text()));
  if (path.isEmpty()) return;
  RememberFolder(path);
  output_path_edit_->setText(path);
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

std::optional<TMainForm2::LoadedText> TMainForm2::LoadIntoMemo(const QString& path) {
  memo_filler_->Clear();
  try {
    DecodedText decoded = LoadTextAs(FilePath(path), options_menu_->encoding());
    LoadedText text{std::make_shared<const std::string>(std::move(decoded.bytes)), std::move(decoded.warnings),
                    std::move(decoded.notes)};
    memo_filler_->Show(text.bytes);
    return text;
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
  }
  return std::nullopt;
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
    RunResult result{settings, std::nullopt, {}};
    auto on_tick = [this](const ProgressTick& tick) {
      tick_time_ms_.store(QTime::currentTime().msecsSinceStartOfDay(), std::memory_order_relaxed);
      tick_permille_.store(static_cast<int>(tick.Fraction() * kProgressSteps),
                           std::memory_order_relaxed);
    };
    try {
      result.outcome = RunCasesOnText(settings, *text.bytes, tables_, on_tick);
      result.outcome->warnings.insert(result.outcome->warnings.begin(), text.warnings.begin(),
                                      text.warnings.end());
      result.outcome->notes.insert(result.outcome->notes.begin(), text.notes.begin(), text.notes.end());
    } catch (const std::exception& error) {
      result.error = QString::fromStdString(DescribeError(error));
    }
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)] { FinishRun(result); }, Qt::QueuedConnection);
  });
}

void TMainForm2::EnterRunning() {
  running_ = true;
  setWindowTitle(kRunningCaption);
  tick_time_ms_.store(QTime::currentTime().msecsSinceStartOfDay());
  tick_permille_.store(0);
  ShowProgress();
  setEnabled(false);
  progress_timer_->start();
}

void TMainForm2::ShowProgress() {
  const int ms = tick_time_ms_.load(std::memory_order_relaxed);
  if (ms >= 0) {
    execute_button_->setText(LongTimeOfDay(QLocale(), QTime::fromMSecsSinceStartOfDay(ms)));
  }
  progress_bar_->setValue(tick_permille_.load(std::memory_order_relaxed));
}

void TMainForm2::FinishRun(const RunResult& result) {
  worker_.join();
  ReturnToIdle();
  if (result.outcome && result.outcome->warnings.empty()) {
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
  setEnabled(true);
  running_ = false;
}

void TMainForm2::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace casewright
