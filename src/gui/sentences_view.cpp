#include "gui/sentences_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "core/run_error.h"
#include "gui/sentence_table_model.h"
#include "pipeline/extract_run.h"
#include "text/classes_file.h"
#include "text/extract_classes.h"

namespace casewright {
namespace {

// A file name the window's fields hold, for the view's messages.
void Append(std::vector<QString>& to, const std::vector<std::string>& messages, const QString& prefix = {}) {
  for (const std::string& message : messages) to.push_back(prefix + QString::fromStdString(message));
}

// Why the row a classes file's mark falls on is highlighted.
QString WhyMarked(const SentenceClasses& classes, std::size_t row) {
  switch (MarkAt(classes, row + 1)) {
    case ClassMark::kRunOut:
      return QStringLiteral("The classes file has no class for this sentence or any later one.");
    case ClassMark::kEmpty:
      return QStringLiteral("The classes file gives this sentence an empty class.");
    case ClassMark::kMerged:
      return QStringLiteral("This sentence's class runs its digits together across a line break.");
    case ClassMark::kNone:
      break;
  }
  return QStringLiteral("The classes file has %1 more classes than the text has sentences.")
      .arg(classes.extra_classes);
}

// Shows a wait cursor while it lives: segmenting a long text takes a moment.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

SentencesView::SentencesView(const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features, QWidget* parent)
    : QDialog(parent),
      tables_(tables),
      prompts_(prompts),
      features_(features),
      model_(new SentenceTableModel(this)),
      sorted_(new QSortFilterProxyModel(this)) {
  setObjectName("SentencesView");
  setWindowTitle(QStringLiteral("Sentences"));
  resize(760, 520);

  summary_ = new QLabel(this);
  summary_->setObjectName("SentencesSummary");
  summary_->setWordWrap(true);
  table_ = new QTableView(this);
  table_->setObjectName("SentencesTable");
  sorted_->setSourceModel(model_);
  sorted_->setSortRole(Qt::UserRole);
  table_->setModel(sorted_);
  table_->horizontalHeader()->setSortIndicator(SentenceTableModel::kNumber, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setWordWrap(false);
  messages_ = new QPlainTextEdit(this);
  messages_->setObjectName("SentencesMessages");
  messages_->setReadOnly(true);
  messages_->setMaximumHeight(110);
  messages_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  extract_button_ = new QPushButton(QStringLiteral("Reference extract..."), this);
  extract_button_->setObjectName("ExtractButton");
  min_overlap_ = new QDoubleSpinBox(this);
  min_overlap_->setObjectName("MinOverlap");
  min_overlap_->setRange(0, 1);
  min_overlap_->setSingleStep(0.05);
  min_overlap_->setSpecialValueText(QStringLiteral("same words"));
  min_overlap_->setToolTip(
      QStringLiteral("Where no sentence's words stand in the extract exactly, a sentence also gets 1 when it "
                     "holds at least this share of its words there, in order"));
  extract_lines_ = new QCheckBox(QStringLiteral("One sentence a line"), this);
  extract_lines_->setObjectName("ExtractLines");
  extract_lines_->setToolTip(QStringLiteral("Number the extract's sentences by its lines, whatever their punctuation"));
  raw_box_ = new QCheckBox(QStringLiteral("Raw values"), this);
  raw_box_->setObjectName("RawValuesBox");
  raw_box_->setToolTip(QStringLiteral("Show the values the codes are made from, as --raw writes them"));
  save_button_ = new QPushButton(QStringLiteral("Save classes..."), this);
  save_button_->setObjectName("SaveClassesButton");
  save_button_->setEnabled(false);
  auto* close_button = new QPushButton(QStringLiteral("Close"), this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(extract_button_);
  buttons->addWidget(new QLabel(QStringLiteral("Minimum overlap"), this));
  buttons->addWidget(min_overlap_);
  buttons->addWidget(extract_lines_);
  buttons->addWidget(save_button_);
  buttons->addWidget(raw_box_);
  buttons->addStretch();
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addWidget(messages_);
  layout->addLayout(buttons);

  connect(extract_button_, &QPushButton::clicked, this, &SentencesView::ChooseExtract);
  connect(min_overlap_, &QDoubleSpinBox::valueChanged, this, &SentencesView::MatchExtract);
  connect(extract_lines_, &QCheckBox::toggled, this, &SentencesView::MatchExtract);
  connect(save_button_, &QPushButton::clicked, this, &SentencesView::SaveClasses);
  connect(raw_box_, &QCheckBox::toggled, this, &SentencesView::ShowFeatures);
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
}

SentencesView::~SentencesView() = default;

bool SentencesView::Load(const std::string& text_path, const TextReading& reading, const std::string& classes_path) {
  WaitCursor wait;
  try {
    text_ = std::make_unique<SegmentedText>(text_path, reading.encoding, tables_, TextBreaks(reading.segmented));
  } catch (const std::exception& error) {
    prompts_.ShowError(parentWidget(), QString::fromStdString(DescribeError(error)));
    return false;
  }
  text_path_ = text_path;
  std::vector<SentenceTableModel::Sentence> sentences;
  sentences.reserve(text_->size());
  for (std::size_t i = 0; i < text_->size(); ++i) {
    const QString flags = QString(text_->BeginsParagraph(i) ? u'[' : u' ') + (text_->EndsParagraph(i) ? u']' : u' ');
    sentences.push_back({flags, QString::fromStdString(text_->Original(i))});
  }
  model_->SetSentences(std::move(sentences));
  reading_ = reading;
  ShowFeatures();
  summary_->setText(QStringLiteral("%1 sentences in %2, numbered as a run pairs them with classes. In red, where "
                                   "the classes file stops fitting the sentences; in yellow, the first sentence "
                                   "where the classes file and the reference extract disagree.")
                        .arg(text_->size())
                        .arg(FileNameOf(text_path)));
  Append(text_messages_, text_->warnings());
  if (const std::string note = text_->TailNote(); !note.empty()) text_messages_.push_back(QString::fromStdString(note));
  if (!classes_path.empty()) ShowFileClasses(classes_path);
  ShowMessages();
  return true;
}

SentenceColumns SentencesView::ScoresAndCodes() {
  SentenceColumns columns = FeatureCodes(text_path_, reading_, features_, tables_);
  const std::string model = QSettings().value(kModelKey).toString().toStdString();
  if (model.empty()) return columns;
  try {
    const std::vector<double> scores = ModelScores(model, text_path_, reading_, tables_);
    columns.names.prepend(QStringLiteral("score"));
    for (std::size_t i = 0; i < columns.rows.size() && i < scores.size(); ++i) {
      columns.rows[i].prepend(ScoreText(scores[i]));
    }
  } catch (const std::exception& error) {
    text_messages_.push_back(QStringLiteral("No scores: ") + QString::fromStdString(DescribeError(error)));
  }
  return columns;
}

void SentencesView::ShowFeatures() {
  WaitCursor wait;
  try {
    if (!codes_) codes_ = ScoresAndCodes();
    if (raw_box_->isChecked() && !raw_) raw_ = RawValues(text_path_, reading_, features_, tables_);
  } catch (const std::exception& error) {
    text_messages_.push_back(QString::fromStdString(DescribeError(error)));
    ShowMessages();
  }
  model_->SetFeatureColumns(codes_.value_or(SentenceColumns{}),
                            raw_box_->isChecked() ? raw_.value_or(SentenceColumns{}) : SentenceColumns{});
  table_->resizeColumnsToContents();
  // The sentence column is wide; the feature columns after it stay in reach.
  if (model_->columnCount() > SentenceTableModel::kColumnCount) {
    table_->setColumnWidth(SentenceTableModel::kSentence, std::min(table_->columnWidth(SentenceTableModel::kSentence), 380));
  }
}

void SentencesView::ShowFileClasses(const std::string& path) {
  file_messages_.clear();
  try {
    ClassesFile file(path);
    const SentenceClasses classes = ReadSentenceClasses(file, text_->size());
    std::optional<std::size_t> mark;
    if (const std::size_t first = FirstMarked(classes); first > 0) {
      mark = first - 1;
    } else if (classes.extra_classes > 0 && text_->size() > 0) {
      mark = text_->size() - 1;  // the classes left over come after the last sentence
    }
    model_->SetFileClasses(classes.classes, mark, mark ? WhyMarked(classes, *mark) : QString());
    Append(file_messages_, classes.warnings, FileNameOf(path) + QStringLiteral(": "));
  } catch (const std::exception& error) {
    file_messages_.push_back(QString::fromStdString(DescribeError(error)));
  }
  ShowMismatches();
}

void SentencesView::ChooseExtract() {
  const QString chosen = prompts_.OpenFileName(this, QFileInfo(QString::fromStdString(text_path_)).absolutePath());
  if (chosen.isEmpty()) return;
  extract_path_ = chosen.toStdString();
  MatchExtract();
}

void SentencesView::MatchExtract() {
  if (extract_path_.empty()) return;
  WaitCursor wait;
  extract_messages_.clear();
  extract_classes_.clear();
  bool savable = false;
  try {
    ExtractSettings settings;
    settings.path = extract_path_;
    settings.min_overlap = min_overlap_->value();
    settings.lines = extract_lines_->isChecked();
    ExtractClasses found = ClassesFromExtract(text_->run(), settings);
    extract_classes_ = std::move(found.classes);
    extract_messages_.push_back(QStringLiteral("%1 gives class 1 to %2 of the %3 sentences.")
                                    .arg(FileNameOf(extract_path_))
                                    .arg(found.chosen)
                                    .arg(extract_classes_.size()));
    for (const auto* messages : {&found.unmatched, &found.repeated, &found.warnings, &found.notes}) {
      Append(extract_messages_, *messages);
    }
    // The command line's rule: words of the extract that match no sentence
    // keep its classes from being saved.
    savable = JudgeExtract(found, settings, false).errors.empty();
    if (!savable) {
      extract_messages_.push_back(QStringLiteral("Save classes... stays off while words of the extract match no "
                                                 "sentence, as casewright-cli classes refuses them without "
                                                 "--allow-unmatched."));
    }
  } catch (const std::exception& error) {
    extract_messages_.push_back(QString::fromStdString(DescribeError(error)));
  }
  model_->SetExtractClasses(extract_classes_);
  save_button_->setEnabled(savable && !extract_classes_.empty());
  ShowMismatches();
  ShowMessages();
}

void SentencesView::SaveClasses() {
  const QString chosen = prompts_.SaveFileName(this, QFileInfo(QString::fromStdString(text_path_)).absolutePath());
  if (chosen.isEmpty()) return;
  const std::string path = chosen.toStdString();
  try {
    RefuseClassesFileShared(text_path_, extract_path_, path, &tables_);
    WriteClassesFile(path, extract_classes_);
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
    return;
  }
  ShowFileClasses(path);
  ShowMessages();
  emit ClassesSaved(chosen);
}

void SentencesView::ShowMismatches() {
  std::optional<std::size_t> first = model_->mark();
  if (const auto disagreement = model_->FirstDisagreement(); disagreement && (!first || *disagreement < *first)) {
    first = disagreement;
  }
  if (!first) return;
  // Made current but not selected, so that its colour shows.
  const QModelIndex index =
      sorted_->mapFromSource(model_->index(static_cast<int>(*first), SentenceTableModel::kSentence));
  table_->clearSelection();
  table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  table_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void SentencesView::ShowMessages() {
  QStringList lines;
  for (const auto* messages : {&text_messages_, &file_messages_, &extract_messages_}) {
    for (const QString& message : *messages) lines.append(message);
  }
  messages_->setPlainText(lines.join(QLatin1Char('\n')));
}

void OpenSentencesView(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts,
                       const std::string& text_path, const TextReading& reading, const std::string& classes_path,
                       QLineEdit* classes_edit, FeatureSet features) {
  auto* view = new SentencesView(tables, prompts, features, parent);
  view->setAttribute(Qt::WA_DeleteOnClose);
  if (!view->Load(text_path, reading, classes_path)) {
    delete view;
    return;
  }
  QObject::connect(view, &SentencesView::ClassesSaved, classes_edit, &QLineEdit::setText);
  view->show();
}

}  // namespace casewright
