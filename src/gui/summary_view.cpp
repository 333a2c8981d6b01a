#include "gui/summary_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QColor>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "core/run_error.h"
#include "gui/figures_panel.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"
#include "pipeline/summary_run.h"
#include "summary/evaluation_table.h"
#include "summary/methods/registry.h"
#include "summary/mmr.h"
#include "summary/score_file.h"
#include "text/extract_classes.h"

namespace casewright {
namespace {

// The colour of each mark: light tints of the Okabe-Ito palette, whose
// hues readers with any common colour-vision deficiency tell apart; the
// sign tells them apart as well, in print and for everyone else.
QColor ColourOf(SentenceMark mark) {
  switch (mark) {
    case SentenceMark::kChosen:
      return QColor(250, 244, 160);  // yellow
    case SentenceMark::kChosenInReference:
      return QColor(150, 220, 200);  // bluish green
    case SentenceMark::kChosenNotInReference:
      return QColor(240, 185, 150);  // vermillion
    case SentenceMark::kMissed:
      return QColor(185, 222, 245);  // sky blue
    case SentenceMark::kNone:
      break;
  }
  return {};
}

QString LegendEntry(SentenceMark mark, const QString& meaning) {
  return QStringLiteral("<span style=\"background-color:%1\">&nbsp;%2&nbsp;</span> %3")
      .arg(ColourOf(mark).name(), SignOf(mark), meaning);
}

QString Legend(bool with_reference) {
  if (!with_reference) return LegendEntry(SentenceMark::kChosen, QStringLiteral("chosen"));
  return QStringList{LegendEntry(SentenceMark::kChosenInReference, QStringLiteral("chosen, in the reference")),
                     LegendEntry(SentenceMark::kChosenNotInReference, QStringLiteral("chosen, not in the reference")),
                     LegendEntry(SentenceMark::kMissed, QStringLiteral("in the reference, missed"))}
      .join(QStringLiteral("&nbsp;&nbsp;&nbsp;"));
}

// The methods a text alone can be summarised by, as `summarize --method`
// takes them: feature:N as each feature, and none that needs a reference.
QStringList MethodsWithoutReference() {
  QStringList names;
  for (const MethodInfo& info : Methods()) {
    const std::string name(info.name);
    if (name == "feature:N") {
      for (int n = 1; n <= kFeatureCount; ++n) names.append(QStringLiteral("feature:%1").arg(n));
    } else if (MakeMethod(name)->Needs() != MethodNeeds::kReference) {
      names.append(QString::fromStdString(name));
    }
  }
  return names;
}

QTableWidgetItem* Cell(const QString& text, SentenceMark mark, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  if (mark != SentenceMark::kNone) item->setBackground(ColourOf(mark));
  return item;
}

}  // namespace

SentenceMark MarkOf(bool chosen, std::optional<bool> in_reference) {
  if (!in_reference) return chosen ? SentenceMark::kChosen : SentenceMark::kNone;
  if (chosen) return *in_reference ? SentenceMark::kChosenInReference : SentenceMark::kChosenNotInReference;
  return *in_reference ? SentenceMark::kMissed : SentenceMark::kNone;
}

QString SignOf(SentenceMark mark) {
  switch (mark) {
    case SentenceMark::kChosen:
      return QStringLiteral("\u25CF");  // black circle
    case SentenceMark::kChosenInReference:
      return QStringLiteral("\u2713");  // check mark
    case SentenceMark::kChosenNotInReference:
      return QStringLiteral("\u2717");  // ballot x
    case SentenceMark::kMissed:
      return QStringLiteral("\u25CB");  // white circle
    case SentenceMark::kNone:
      break;
  }
  return {};
}

SummaryView::SummaryView(const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features, QWidget* parent)
    : QDialog(parent), tables_(tables), prompts_(prompts), features_(features) {
  setObjectName("SummaryView");
  setWindowTitle(QStringLiteral("Summary"));
  resize(900, 640);

  about_ = new QLabel(this);
  about_->setObjectName("SummaryAbout");
  about_->setWordWrap(true);
  legend_ = new QLabel(this);
  legend_->setObjectName("SummaryLegend");
  legend_->setTextFormat(Qt::RichText);
  sentences_ = new QTableWidget(0, 4, this);
  sentences_->setObjectName("SummarySentences");
  sentences_->setHorizontalHeaderLabels({QString(), QStringLiteral("No."), QStringLiteral("Score"),
                                         QStringLiteral("Sentence")});
  sentences_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sentences_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sentences_->setSelectionMode(QAbstractItemView::SingleSelection);
  sentences_->setWordWrap(false);
  sentences_->verticalHeader()->hide();
  sentences_->verticalHeader()->setDefaultSectionSize(sentences_->fontMetrics().height() + 6);
  sentences_->horizontalHeader()->setStretchLastSection(true);
  details_ = new QLabel(this);
  details_->setObjectName("SummaryDetails");
  details_->setWordWrap(true);
  details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  details_->setMinimumHeight(4 * details_->fontMetrics().lineSpacing());  // number and score, codes, raw values
  reference_label_ = new QLabel(this);
  reference_label_->setObjectName("SummaryReference");
  reference_label_->setWordWrap(true);
  figures_ = new FiguresPanel(prompts, this);

  auto* scores_button = new QPushButton(QStringLiteral("Scores..."), this);
  scores_button->setObjectName("ScoresButton");
  auto* model_button = new QPushButton(QStringLiteral("Model..."), this);
  model_button->setObjectName("ModelButton");
  model_button->setToolTip(QStringLiteral("Score the sentences with a model trained by casewright-cli train"));
  method_ = new QComboBox(this);
  method_->setObjectName("SummaryMethod");
  method_->addItem(QStringLiteral("Scores or model"));
  method_->addItems(MethodsWithoutReference());
  method_->setToolTip(QStringLiteral("Where the scores come from: a scores file or a model, or a summariser"));
  rate_ = new QDoubleSpinBox(this);
  rate_->setObjectName("SummaryRate");
  rate_->setRange(0.01, 1);  // a rate is above 0 and at most 1
  rate_->setSingleStep(0.05);
  rate_->setValue(0.2);
  rate_->setToolTip(QStringLiteral("The share of the sentences to choose (rounded, halves up, at least 1)"));
  selection_ = new QComboBox(this);
  selection_->setObjectName("SummarySelection");
  selection_->addItems({QStringLiteral("top"), QStringLiteral("mmr")});
  selection_->setToolTip(QStringLiteral("top: the best scores; mmr: maximal marginal relevance, which passes over "
                                        "sentences like those already chosen"));
  lambda_ = new QDoubleSpinBox(this);
  lambda_->setObjectName("SummaryLambda");
  lambda_->setRange(0, 1);
  lambda_->setSingleStep(0.1);
  lambda_->setValue(kDefaultMmrLambda);
  lambda_->setEnabled(false);
  lambda_->setToolTip(QStringLiteral("MMR's weight of the score against the likeness to the chosen sentences"));
  auto* reference_button = new QPushButton(QStringLiteral("Reference extract..."), this);
  reference_button->setObjectName("SummaryReferenceButton");
  save_button_ = new QPushButton(QStringLiteral("Save extract..."), this);
  save_button_->setObjectName("SaveExtractButton");
  save_button_->setEnabled(false);
  auto* close_button = new QPushButton(QStringLiteral("Close"), this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QLabel(QStringLiteral("Method"), this));
  buttons->addWidget(method_);
  buttons->addWidget(scores_button);
  buttons->addWidget(model_button);
  buttons->addWidget(new QLabel(QStringLiteral("Rate"), this));
  buttons->addWidget(rate_);
  buttons->addWidget(selection_);
  buttons->addWidget(lambda_);
  buttons->addWidget(reference_button);
  buttons->addWidget(save_button_);
  buttons->addStretch();
  buttons->addWidget(close_button);
  auto* text = new QWidget(this);
  auto* text_layout = new QVBoxLayout(text);
  text_layout->setContentsMargins(0, 0, 0, 0);
  text_layout->addWidget(legend_);
  text_layout->addWidget(sentences_, 1);
  text_layout->addWidget(details_);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(text);
  split->addWidget(figures_);
  split->setSizes({300, 300});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(about_);
  layout->addWidget(split, 1);
  layout->addWidget(reference_label_);
  layout->addLayout(buttons);

  connect(scores_button, &QPushButton::clicked, this, &SummaryView::ChooseScores);
  connect(model_button, &QPushButton::clicked, this, &SummaryView::ChooseModel);
  connect(method_, &QComboBox::currentIndexChanged, this, &SummaryView::ChooseMethod);
  connect(rate_, &QDoubleSpinBox::valueChanged, this, &SummaryView::ShowChoice);
  connect(selection_, &QComboBox::currentIndexChanged, this, [this] {
    lambda_->setEnabled(selection_->currentIndex() == 1);
    ShowChoice();
  });
  connect(lambda_, &QDoubleSpinBox::valueChanged, this, &SummaryView::ShowChoice);
  connect(reference_button, &QPushButton::clicked, this, &SummaryView::ChooseReference);
  connect(save_button_, &QPushButton::clicked, this, &SummaryView::SaveExtract);
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
  connect(sentences_, &QTableWidget::currentCellChanged, this, [this](int row) { ShowSentence(row); });
}

SummaryView::~SummaryView() = default;

bool SummaryView::Load(const std::string& text_path, const TextReading& reading) {
  try {
    text_ = std::make_unique<SegmentedText>(text_path, reading.encoding, tables_, TextBreaks(reading.segmented));
    if (text_->size() == 0) throw RunError("The text has no sentence to choose from", text_path);
  } catch (const std::exception& error) {
    prompts_.ShowError(parentWidget(), QString::fromStdString(DescribeError(error)));
    return false;
  }
  text_path_ = text_path;
  reading_ = reading;
  TokenVocabulary vocabulary;
  tokens_ = TokensOfSentences(text_->run(), text_->bytes(), {}, vocabulary, &stopwords_);
  const std::string model = QSettings().value(kModelKey).toString().toStdString();
  try {
    if (!model.empty()) ScoreWithModel(model);
  } catch (const std::exception&) {
    scores_.clear();  // a remembered model that is gone is no error of this text's
  }
  ShowChoice();
  return true;
}

void SummaryView::ScoreWithModel(const std::string& path) {
  scores_ = ModelScores(path, text_path_, reading_, tables_);
  scores_path_ = path;
  scored_by_model_ = true;
  ResetMethod();
}

void SummaryView::ResetMethod() {
  method_name_.clear();
  const QSignalBlocker quiet(method_);
  method_->setCurrentIndex(0);
}

void SummaryView::ChooseMethod() {
  scores_.clear();
  scores_path_.clear();
  scored_by_model_ = false;
  method_name_ = method_->currentIndex() == 0 ? std::string() : method_->currentText().toStdString();
  if (!method_name_.empty()) {
    try {
      scores_ = MethodScoresOf(*MakeMethod(method_name_), *text_, tables_);
    } catch (const std::exception& error) {
      prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
      ResetMethod();
    }
  }
  ShowChoice();
}

void SummaryView::ChooseModel() {
  const QString chosen = prompts_.OpenFileName(this, QFileInfo(QString::fromStdString(text_path_)).absolutePath());
  if (chosen.isEmpty()) return;
  try {
    ScoreWithModel(chosen.toStdString());
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
    return;
  }
  QSettings().setValue(kModelKey, chosen);
  ShowChoice();
}

void SummaryView::ChooseScores() {
  const QString chosen = prompts_.OpenFileName(this, QFileInfo(QString::fromStdString(text_path_)).absolutePath());
  if (chosen.isEmpty()) return;
  try {
    scores_ = ReadScores(chosen.toStdString(), text_path_, text_->size());
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
    return;
  }
  scores_path_ = chosen.toStdString();
  scored_by_model_ = false;
  ResetMethod();
  ShowChoice();
}

void SummaryView::ChooseReference() {
  const QString chosen = prompts_.OpenFileName(this, QFileInfo(QString::fromStdString(text_path_)).absolutePath());
  if (chosen.isEmpty()) return;
  try {
    const ExtractClasses found =
        ClassesFromExtract(text_->run(), ExtractSettings{chosen.toStdString(), TextEncoding::kAuto});
    std::vector<bool> flags(found.classes.size());
    for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = found.classes[i] == "1";
    reference_ = ExtractReference(tokens_, std::move(flags));
    reference_path_ = chosen.toStdString();
    QStringList notes = {QStringLiteral("Reference %1: %2 sentences.").arg(FileNameOf(chosen.toStdString())).arg(found.chosen)};
    for (const std::string& message : found.unmatched) notes.append(QString::fromStdString(message));
    reference_note_ = notes.join(QLatin1Char('\n'));
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
    return;
  }
  ShowChoice();
}

void SummaryView::ShowChoice() {
  const bool scored = !scores_.empty();
  const Selection selection{selection_->currentIndex() == 1, lambda_->value()};
  chosen_ = scored ? ChooseBySelection(scores_, {tokens_, stopwords_}, {rate_->value(), 0}, selection)
                   : std::vector<std::size_t>{};
  const QString source = method_name_.empty() ? QStringLiteral("the scores in %1").arg(FileNameOf(scores_path_))
                                              : QString::fromStdString(method_name_);
  save_button_->setEnabled(scored);
  about_->setText(scored ? QStringLiteral("%1 of the %2 sentences of %3, by %4.")
                               .arg(chosen_.size())
                               .arg(text_->size())
                               .arg(FileNameOf(text_path_))
                               .arg(source)
                         : QStringLiteral("%1 sentences in %2. Load the scores a classifier gave them, or a model, "
                                          "or choose a method.")
                               .arg(text_->size())
                               .arg(FileNameOf(text_path_)));
  legend_->setText(Legend(reference_.has_value()));
  reference_label_->setText(reference_ ? reference_note_ : QString());
  ShowSentences();
  ShowFigures();
}

void SummaryView::ShowSentences() {
  std::vector<bool> chosen(text_->size());
  for (std::size_t index : chosen_) chosen[index] = true;
  const int current = sentences_->currentRow();
  sentences_->setRowCount(static_cast<int>(text_->size()));
  for (std::size_t i = 0; i < text_->size(); ++i) {
    const auto in_reference =
        reference_ ? std::optional<bool>((*reference_->sentences)[i]) : std::optional<bool>();
    const SentenceMark mark = MarkOf(chosen[i], in_reference);
    const int row = static_cast<int>(i);
    sentences_->setItem(row, kMark, Cell(SignOf(mark), mark, Qt::AlignCenter));
    sentences_->setItem(row, kNumber, Cell(QString::number(i + 1), mark, Qt::AlignRight));
    sentences_->setItem(row, kScore, Cell(scores_.empty() ? QString() : ScoreText(scores_[i]), mark, Qt::AlignRight));
    sentences_->setItem(row, kSentence, Cell(QString::fromStdString(text_->Original(i)), mark, Qt::AlignLeft));
  }
  sentences_->resizeColumnsToContents();
  ShowSentence(current);
}

void SummaryView::ShowFigures() {
  if (!reference_ || scores_.empty()) {
    figures_->SetRows({});
    return;
  }
  const std::vector<std::size_t> lead = ChooseLead(chosen_.size());
  const std::string name = FileNameOf(text_path_).toStdString();
  const std::string system = !method_name_.empty() ? method_name_ : scored_by_model_ ? "model" : "system1";
  figures_->SetRows(
      {RowOf(name, system, text_->size(), chosen_.size(), *reference_, FiguresOf(tokens_, chosen_, *reference_)),
       RowOf(name, "lead", text_->size(), lead.size(), *reference_, FiguresOf(tokens_, lead, *reference_))});
  figures_->SetInputs({{text_path_, "text file", false},
                       {scores_path_, scored_by_model_ ? "model" : "scores file", false},
                       {reference_path_, "reference", false}});
}

void SummaryView::ShowSentence(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= text_->size()) {
    details_->setText(QStringLiteral("Click a sentence to see its score, codes and raw values."));
    return;
  }
  const auto index = static_cast<std::size_t>(row);
  QStringList lines = {QStringLiteral("Sentence %1").arg(row + 1) +
                       (scores_.empty() ? QString() : QStringLiteral(", score ") + ScoreText(scores_[index]))};
  try {
    if (!codes_) codes_ = FeatureCodes(text_path_, reading_, features_, tables_);
    if (!raw_) raw_ = RawValues(text_path_, reading_, features_, tables_);
    if (index < codes_->rows.size()) lines.append(QStringLiteral("Codes: ") + DescribeRow(*codes_, index));
    if (index < raw_->rows.size()) lines.append(QStringLiteral("Raw values: ") + DescribeRow(*raw_, index));
  } catch (const std::exception& error) {
    lines.append(QString::fromStdString(DescribeError(error)));
  }
  details_->setText(lines.join(QLatin1Char('\n')));
}

void SummaryView::SaveExtract() {
  const QString chosen = prompts_.SaveFileName(this, QFileInfo(QString::fromStdString(text_path_)).absolutePath());
  if (chosen.isEmpty()) return;
  const std::string path = chosen.toStdString();
  try {
    RefuseSharedFiles({{text_path_, "text file", false}, {scores_path_, "scores file", false}, {path, "extract", true}});
    OutputFiles files;
    files.Open(path).Write(ExtractFileText(*text_, chosen_));
    files.CommitAll();
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
  }
}

void OpenSummaryView(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts, const std::string& text_path,
                     const TextReading& reading, FeatureSet features) {
  auto* view = new SummaryView(tables, prompts, features, parent);
  view->setAttribute(Qt::WA_DeleteOnClose);
  if (!view->Load(text_path, reading)) {
    delete view;
    return;
  }
  view->show();
}

}  // namespace casewright
