#include "app/Main2.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <utility>

#include "app/run_error.h"
#include "lexicon/cp1252.h"
#include "text/load_text.h"

namespace casewright {
namespace {

constexpr const char* kIdleCaption = "Casewright";
constexpr const char* kRunningCaption = "Wait...";
constexpr const char* kExecuteCaption = "Execute";
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

QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const char* caption, QRect geometry) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  box->setObjectName(name);
  box->setGeometry(geometry);
  return box;
}

// The memo shows the text with Qt's line breaks; the run reads the bytes.
QString TextForDisplay(const std::string& text) {
  QString shown = QString::fromUtf8(Cp1252ToUtf8(text));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
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
  connect(Button1, &QPushButton::clicked, this, &TMainForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TMainForm2::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TMainForm2::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TMainForm2::Button4Click);

  FormCreate();
}

TMainForm2::~TMainForm2() {
  if (worker_.joinable()) worker_.join();
}

void TMainForm2::BuildControls() {
  Label4 = MakeLabel(this, "Label4", "Input", 8, 8);
  Bevel1 = MakeBevel(this, "Bevel1", {8, 24, 361, 105});
  Label1 = MakeLabel(this, "Label1", "File with the text for generating the training data", 16, 32);
  Edit1 = MakeEdit(this, "Edit1", {16, 48, 281, 21});
  Button1 = MakeButton(this, "Button1", "Search", {304, 46, 57, 25});
  Label2 = MakeLabel(this, "Label2", "File with the classes for the sentences from the text above", 16,
                     80);
  Edit2 = MakeEdit(this, "Edit2", {16, 96, 281, 21});
  Button2 = MakeButton(this, "Button2", "Search", {304, 94, 57, 25});

  Label5 = MakeLabel(this, "Label5", "Output", 8, 144);
  Bevel2 = MakeBevel(this, "Bevel2", {8, 160, 361, 57});
  Label3 = MakeLabel(this, "Label3", "File for the generated training cases", 16, 168);
  Edit3 = MakeEdit(this, "Edit3", {16, 184, 281, 21});
  Button3 = MakeButton(this, "Button3", "Search", {304, 182, 57, 25});

  GroupBox1 = new QGroupBox(
      QStringLiteral(" Features to extract from sentences for building the training data "), this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(8, 240, 361, 217);
  for (int k = 0; k < kFeatureCount; ++k) {
    feature_boxes_[k] = MakeCheckBox(GroupBox1, QStringLiteral("CheckBox%1").arg(k + 1),
                                     kFeatureCaptions[k], {8, 24 + 24 * k, 345, 17});
  }

  // The progress bar takes the free space left of the Execute button.
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setGeometry(8, 476, 292, 17);
  ProgressBar1->setRange(0, kProgressSteps);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->reset();
  Button4 = MakeButton(this, "Button4", kExecuteCaption, {310, 472, 75, 25});

  Label6 = MakeLabel(this, "Label6", "Text", 384, 8);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(384, 24, 305, 433);
  Memo1->setReadOnly(true);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  CheckBox9 = MakeCheckBox(this, "CheckBox9", "Formato Quinlan", {392, 476, 105, 17});

  // Tab order: the three files with their Search buttons, the features, then
  // Execute, the memo and the output format.
  QWidget* order[] = {Edit1,   Button1, Edit2, Button2, Edit3, Button3, feature_boxes_[0],
                      feature_boxes_[1], feature_boxes_[2], feature_boxes_[3], feature_boxes_[4],
                      feature_boxes_[5], feature_boxes_[6], feature_boxes_[7], Button4, Memo1,
                      CheckBox9};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  for (QWidget* w : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(ProgressBar1)}) {
    w->setFocusPolicy(Qt::NoFocus);
  }
}

bool TMainForm2::CaptionsFit() const {
  if (GroupBox1->minimumSizeHint().width() > GroupBox1->width()) return false;
  for (const QLabel* label : {Label1, Label2, Label3}) {
    if (label->x() + label->sizeHint().width() > Bevel1->geometry().right()) return false;
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
  // "Formato Quinlan" has room to grow to the right, up to the memo's edge.
  CheckBox9->resize(std::clamp(CheckBox9->sizeHint().width(), CheckBox9->width(),
                               Memo1->geometry().right() - CheckBox9->x()),
                    CheckBox9->height());
}

void TMainForm2::FormCreate() {
  for (QCheckBox* box : feature_boxes_) box->setChecked(true);
  CheckBox9->setChecked(false);
}

void TMainForm2::Button1Click() {
  const QString path = prompts_.OpenFileName(this);
  if (path.isEmpty()) return;
  Edit1->setText(path);
  LoadIntoMemo(path);
}

void TMainForm2::Button2Click() {
  const QString path = prompts_.OpenFileName(this);
  if (!path.isEmpty()) Edit2->setText(path);
}

void TMainForm2::Button3Click() {
  const QString path = prompts_.SaveFileName(this);
  if (!path.isEmpty()) Edit3->setText(path);
}

std::optional<std::string> TMainForm2::LoadIntoMemo(const QString& path) {
  Memo1->clear();
  try {
    std::string text = LoadText(path.toStdString());
    Memo1->setPlainText(TextForDisplay(text));
    return text;
  } catch (const RunError& error) {
    prompts_.ShowError(this, QString::fromStdString(error.Describe()));
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(error.what()));
  }
  return std::nullopt;
}

RunSettings TMainForm2::ReadSettings() const {
  RunSettings settings;
  settings.text_path = Edit1->text().toStdString();
  settings.classes_path = Edit2->text().toStdString();
  settings.output_path = Edit3->text().toStdString();
  for (int k = 0; k < kFeatureCount; ++k) settings.features[k] = feature_boxes_[k]->isChecked();
  settings.quinlan = CheckBox9->isChecked();
  return settings;
}

void TMainForm2::Button4Click() {
  if (running_) return;
  // The text is loaded here, before anything changes, so that a text that
  // cannot be read leaves the window idle with the memo cleared.
  std::optional<std::string> text = LoadIntoMemo(Edit1->text());
  if (!text) {
    emit ExecuteFinished();
    return;
  }
  EnterRunning();

  worker_ = std::thread([this, settings = ReadSettings(), text = std::move(*text)] {
    RunResult result;
    auto on_tick = [this](const ProgressTick& tick) {
      tick_time_ms_.store(QTime::currentTime().msecsSinceStartOfDay(), std::memory_order_relaxed);
      tick_permille_.store(static_cast<int>(tick.Fraction() * kProgressSteps),
                           std::memory_order_relaxed);
    };
    try {
      result.outcome = RunCasesOnText(settings, text, tables_, on_tick);
    } catch (const RunError& error) {
      result.error = QString::fromStdString(error.Describe());
    } catch (const std::exception& error) {
      result.error = QString::fromStdString(error.what());
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
    Button4->setText(LongTimeOfDay(QLocale(), QTime::fromMSecsSinceStartOfDay(ms)));
  }
  ProgressBar1->setValue(tick_permille_.load(std::memory_order_relaxed));
}

void TMainForm2::FinishRun(const RunResult& result) {
  worker_.join();
  ReturnToIdle();
  if (result.outcome) {
    QString message = QStringLiteral("Done!");
    for (const std::string& warning : result.outcome->warnings) {
      message += QLatin1Char('\n') + QString::fromStdString(warning);
    }
    prompts_.ShowMessage(this, message);
  } else {
    prompts_.ShowError(this, result.error);
  }
  emit ExecuteFinished();
}

void TMainForm2::ReturnToIdle() {
  progress_timer_->stop();
  tick_time_ms_.store(-1);
  ProgressBar1->reset();
  setWindowTitle(kIdleCaption);
  Button4->setText(kExecuteCaption);
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
