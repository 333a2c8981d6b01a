#include "gui/options_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>

namespace casewright {
namespace {

// Adds a checkable action named `name` that stands for `value` to `group`
// and `menu`.
template <typename T>
void AddChoice(QMenu* menu, QActionGroup* group, const char* name, const char* caption, T value) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(name);
  action->setCheckable(true);
  action->setData(static_cast<int>(value));
  group->addAction(action);
}

// The QSettings key of the "Text already segmented" item.
constexpr char kSegmentedKey[] = "options/segmented";

template <typename T>
T Chosen(const QActionGroup* group) {
  return static_cast<T>(group->checkedAction()->data().toInt());
}

}  // namespace

OptionsMenu::OptionsMenu(QWidget* parent) : QToolButton(parent) {
  setText(QStringLiteral("Options"));
  setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(QStringLiteral("&Options"), this);
  menu->setObjectName("PopupMenu1");
  setMenu(menu);

  QMenu* encodings = menu->addMenu(QStringLiteral("Text &encoding"));
  encodings_ = new QActionGroup(this);
  AddChoice(encodings, encodings_, "EncodingWindows1252", "Windows-1252", TextEncoding::kWindows1252);
  AddChoice(encodings, encodings_, "EncodingUtf8", "UTF-8", TextEncoding::kUtf8);
  AddChoice(encodings, encodings_, "EncodingAuto", "Detect (UTF-8 or Windows-1252)", TextEncoding::kAuto);
  encodings_->actions().front()->setChecked(true);

  QMenu* formats = menu->addMenu(QStringLiteral("Output &format"));
  formats_ = new QActionGroup(this);
  AddChoice(formats, formats_, "FormatPlain", "Plain", CaseFormat::kPlain);
  AddChoice(formats, formats_, "FormatQuinlan", "Quinlan (C4.5)", CaseFormat::kQuinlan);
  AddChoice(formats, formats_, "FormatArff", "ARFF (Weka)", CaseFormat::kArff);
  AddChoice(formats, formats_, "FormatCsv", "CSV (pandas, scikit-learn)", CaseFormat::kCsv);
  formats_->actions().front()->setChecked(true);

  names_file_ = menu->addAction(QStringLiteral("C4.5 &names file beside the output"));
  names_file_->setObjectName("NamesFile");
  names_file_->setCheckable(true);
  names_file_->setEnabled(false);
  segmented_ = menu->addAction(QStringLiteral("Text already segmented (one sentence a &line)"));
  segmented_->setObjectName("SegmentedText");
  segmented_->setCheckable(true);
  segmented_->setChecked(QSettings().value(kSegmentedKey, false).toBool());
  connect(segmented_, &QAction::toggled, this, [](bool on) { QSettings().setValue(kSegmentedKey, on); });
  menu->addSeparator();
  QAction* sentences = menu->addAction(QStringLiteral("&Sentences..."));
  sentences->setObjectName("ShowSentences");
  connect(sentences, &QAction::triggered, this, &OptionsMenu::SentencesRequested);
  QAction* summary = menu->addAction(QStringLiteral("Summary..."));
  summary->setObjectName("ShowSummary");
  connect(summary, &QAction::triggered, this, &OptionsMenu::SummaryRequested);

  connect(encodings_, &QActionGroup::triggered, this, [this] { emit EncodingChanged(encoding()); });
  connect(formats_, &QActionGroup::triggered, this, [this] {
    names_file_->setEnabled(format() == CaseFormat::kQuinlan);
    emit FormatChanged(format());
  });
}

TextEncoding OptionsMenu::encoding() const { return Chosen<TextEncoding>(encodings_); }

CaseFormat OptionsMenu::format() const { return Chosen<CaseFormat>(formats_); }

bool OptionsMenu::names_file() const { return names_file_->isEnabled() && names_file_->isChecked(); }

bool OptionsMenu::segmented() const { return segmented_->isChecked(); }

void OptionsMenu::SetFormat(CaseFormat format) {
  for (QAction* action : formats_->actions()) {
    if (action->data().toInt() == static_cast<int>(format)) action->setChecked(true);
  }
  names_file_->setEnabled(format == CaseFormat::kQuinlan);
}

}  // namespace casewright
