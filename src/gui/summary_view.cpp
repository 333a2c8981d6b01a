#include "gui/summary_view.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <exception>
#include <sstream>

#include "core/run_error.h"
#include "experiment/corpus_cases.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"
#include "pipeline/summary_run.h"
#include "summary/evaluation_table.h"
#include "summary/score_file.h"
#include "text/extract_classes.h"

namespace casewright {
namespace {

// The QSettings key of the model that scores texts in the view.
constexpr const char* kModelKey = "summaryModel";

QString Named(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

QPlainTextEdit* ReadOnlyText(const char* name, QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  return edit;
}

}  // namespace

SummaryView::SummaryView(const LexicalTables& tables, GuiPrompts& prompts, QWidget* parent)
    : QDialog(parent), tables_(tables), prompts_(prompts) {
  setObjectName("SummaryView");
  setWindowTitle(QStringLiteral("Summary"));
  resize(760, 520);

  about_ = new QLabel(this);
  about_->setObjectName("SummaryAbout");
  about_->setWordWrap(true);
  sentences_ = ReadOnlyText("SummarySentences", this);
  figures_ = ReadOnlyText("SummaryFigures", this);
  figures_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  figures_->setMaximumHeight(110);

  auto* scores_button = new QPushButton(QStringLiteral("Scores..."), this);
  scores_button->setObjectName("ScoresButton");
  auto* model_button = new QPushButton(QStringLiteral("Model..."), this);
  model_button->setObjectName("ModelButton");
  model_button->setToolTip(QStringLiteral("Score the sentences with a model trained by casewright-cli train"));
  rate_ = new QDoubleSpinBox(this);
  rate_->setObjectName("SummaryRate");
  rate_->setRange(0.01, 1);  // a rate is above 0 and at most 1
  rate_->setSingleStep(0.05);
  rate_->setValue(0.2);
  rate_->setToolTip(QStringLiteral("The share of the sentences to choose (rounded, halves up, at least 1)"));
  auto* reference_button = new QPushButton(QStringLiteral("Reference extract..."), this);
  reference_button->setObjectName("SummaryReferenceButton");
  save_button_ = new QPushButton(QStringLiteral("Save extract..."), this);
  save_button_->setObjectName("SaveExtractButton");
  save_button_->setEnabled(false);
  auto* close_button = new QPushButton(QStringLiteral("Close"), this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(scores_button);
  buttons->addWidget(model_button);
  buttons->addWidget(new QLabel(QStringLiteral("Rate"), this));
  buttons->addWidget(rate_);
  buttons->addWidget(reference_button);
  buttons->addWidget(save_button_);
  buttons->addStretch();
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(about_);
  layout->addWidget(sentences_, 1);
  layout->addWidget(figures_);
  layout->addLayout(buttons);

  connect(scores_button, &QPushButton::clicked, this, &SummaryView::ChooseScores);
  connect(model_button, &QPushButton::clicked, this, &SummaryView::ChooseModel);
  connect(rate_, &QDoubleSpinBox::valueChanged, this, &SummaryView::ShowChoice);
  connect(reference_button, &QPushButton::clicked, this, &SummaryView::ChooseReference);
  connect(save_button_, &QPushButton::clicked, this, &SummaryView::SaveExtract);
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
}

SummaryView::~SummaryView() = default;

bool SummaryView::Load(const std::string& text_path, TextEncoding encoding) {
  try {
    text_ = std::make_unique<SegmentedText>(text_path, encoding, tables_);
    if (text_->size() == 0) throw RunError("The text has no sentence to choose from", text_path);
  } catch (const std::exception& error) {
    prompts_.ShowError(parentWidget(), QString::fromStdString(DescribeError(error)));
    return false;
  }
  text_path_ = text_path;
  encoding_ = encoding;
  TokenVocabulary vocabulary;
  tokens_ = TokensOfSentences(text_->run(), text_->bytes(), {}, vocabulary);
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
  const SentenceModel model = SentenceModel::Load(path);
  RunSettings run;
  run.text_path = text_path_;
  run.encoding = encoding_;
  run.features = model.features();
  scores_ = model.Probabilities(RowsOf(ComputeCases(run, tables_), model.features()));
  scores_path_ = path;
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
    QStringList notes = {QStringLiteral("Reference %1: %2 sentences.").arg(Named(chosen.toStdString())).arg(found.chosen)};
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
  chosen_ = scored ? ChooseByScores(scores_, {rate_->value(), 0}) : std::vector<std::size_t>{};
  save_button_->setEnabled(scored);
  about_->setText(scored ? QStringLiteral("%1 of the %2 sentences of %3, by the scores in %4.")
                               .arg(chosen_.size())
                               .arg(text_->size())
                               .arg(Named(text_path_))
                               .arg(Named(scores_path_))
                         : QStringLiteral("%1 sentences in %2. Load the scores a classifier gave them, or a model.")
                               .arg(text_->size())
                               .arg(Named(text_path_)));
  QStringList lines;
  for (std::size_t index : chosen_) {
    lines.append(QStringLiteral("%1  %2  %3")
                     .arg(index + 1)
                     .arg(scores_[index], 0, 'f', 3)
                     .arg(QString::fromStdString(text_->Original(index))));
  }
  sentences_->setPlainText(lines.join(QLatin1Char('\n')));
  if (!reference_ || !scored) {
    figures_->setPlainText(reference_ ? reference_note_ : QString());
    return;
  }
  const std::vector<std::size_t> lead = ChooseLead(chosen_.size());
  const std::string name = Named(text_path_).toStdString();
  const std::vector<EvaluationRow> rows = {
      RowOf(name, "choice", text_->size(), chosen_.size(), *reference_, FiguresOf(tokens_, chosen_, *reference_)),
      RowOf(name, "lead", text_->size(), lead.size(), *reference_, FiguresOf(tokens_, lead, *reference_))};
  std::ostringstream table;
  WriteEvaluation(rows, EvaluationFormat::kTable, table);
  figures_->setPlainText(QString::fromStdString(table.str()) + reference_note_);
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
                     TextEncoding encoding) {
  auto* view = new SummaryView(tables, prompts, parent);
  view->setAttribute(Qt::WA_DeleteOnClose);
  if (!view->Load(text_path, encoding)) {
    delete view;
    return;
  }
  view->show();
}

}  // namespace casewright
