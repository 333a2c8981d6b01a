#include "gui/crossval_dialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "core/progress.h"
#include "core/run_error.h"
#include "experiment/corpus_cases.h"
#include "experiment/corpus_references.h"
#include "experiment/fold_file.h"
#include "gui/figures_panel.h"
#include "summary/bootstrap.h"
#include "summary/methods/registry.h"

namespace casewright {
namespace {

// The baselines offered: lead, random and every method but feature:N,
// which stands for eight.
std::vector<std::string> OfferedBaselines() {
  std::vector<std::string> names = {"lead", "random"};
  for (const MethodInfo& info : Methods()) {
    if (info.name != "feature:N") names.emplace_back(info.name);
  }
  return names;
}

// The mean rows CrossValidate ends its rows with, one per system.
std::vector<EvaluationRow> MeanRowsOf(const std::vector<EvaluationRow>& rows) {
  std::vector<std::string> systems;
  for (const EvaluationRow& row : rows) {
    if (std::find(systems.begin(), systems.end(), row.system) == systems.end()) systems.push_back(row.system);
  }
  return {rows.end() - static_cast<std::ptrdiff_t>(systems.size()), rows.end()};
}

}  // namespace

CrossvalOutcome CrossValidateManifest(const WindowCrossval& request, const LexicalTables& tables,
                                      std::function<void(std::size_t done, std::size_t total)> fold_done) {
  const std::vector<ManifestEntry> entries = ReadManifest(request.manifest, {.outputs_optional = true});
  if (request.folds < 2 || request.folds > entries.size()) {
    throw RunError("The folds must be from 2 to the number of texts (" + std::to_string(entries.size()) + ")",
                   request.manifest);
  }
  RefuseCorpusFiles(entries, request.manifest, tables, {});
  CorpusSettings corpus_settings;
  corpus_settings.features = request.features;
  corpus_settings.encoding = request.encoding;
  corpus_settings.jobs = std::max(1u, std::thread::hardware_concurrency());
  corpus_settings.with_tokens = true;
  const CorpusCases corpus = ComputeCorpusCases(entries, corpus_settings, tables, request.manifest);
  RequireReferences(entries, corpus, request.manifest);
  std::vector<std::string> names;
  for (const ManifestEntry& entry : entries) names.push_back(entry.text_name);

  CrossvalSettings settings;
  settings.features = request.features;
  settings.rate = request.rate;
  settings.bootstrap = kDefaultResamples;  // crossval's default intervals
  settings.training.threads = corpus_settings.jobs;
  settings.training.version = CASEWRIGHT_VERSION;
  settings.lead = settings.random = false;
  for (const std::string& name : request.baselines) {
    if (name == "lead") settings.lead = true;
    else if (name == "random") settings.random = true;
    else settings.methods.push_back(name);
  }
  settings.fold_done = std::move(fold_done);
  return CrossValidate(corpus, names, DrawFolds(entries.size(), request.folds, request.repeats, settings.seed),
                       settings);
}

CrossvalDialog::CrossvalDialog(const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features,
                               TextEncoding encoding, QWidget* parent)
    : QDialog(parent), tables_(tables), prompts_(prompts), features_(features), encoding_(encoding) {
  setObjectName("CrossvalDialog");
  setWindowTitle(QStringLiteral("Cross-validate"));
  resize(1000, 640);
  const WindowCrossval defaults;

  manifest_ = new QLineEdit(this);
  manifest_->setObjectName("CrossvalManifest");
  manifest_->setToolTip(QStringLiteral("A manifest as casewright-cli crossval reads it: text<TAB>classes a line"));
  auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
  browse->setObjectName("CrossvalBrowse");
  auto* manifest_row = new QHBoxLayout;
  manifest_row->addWidget(manifest_, 1);
  manifest_row->addWidget(browse);
  folds_ = new QSpinBox(this);
  folds_->setObjectName("CrossvalFolds");
  folds_->setRange(2, 10000);
  folds_->setValue(static_cast<int>(defaults.folds));
  folds_->setToolTip(QStringLiteral("Folds of texts, never of the sentences of one text"));
  rate_ = new QDoubleSpinBox(this);
  rate_->setObjectName("CrossvalRate");
  rate_->setRange(0.01, 1);
  rate_->setSingleStep(0.05);
  rate_->setValue(defaults.rate);
  rate_->setToolTip(QStringLiteral("The share of each text's sentences a summary takes"));
  repeats_ = new QSpinBox(this);
  repeats_->setObjectName("CrossvalRepeats");
  repeats_->setRange(1, static_cast<int>(kMaxRepeats));
  repeats_->setValue(static_cast<int>(defaults.repeats));
  repeats_->setToolTip(QStringLiteral("Draws of folds; with more than one, the mean rows give the deviation"));
  auto* baselines = new QGroupBox(QStringLiteral("Baselines"), this);
  auto* grid = new QGridLayout(baselines);
  int column = 0;
  for (const std::string& name : OfferedBaselines()) {
    auto* box = new QCheckBox(QString::fromStdString(name), baselines);
    box->setObjectName(QStringLiteral("Baseline_") + QString::fromStdString(name));
    box->setChecked(std::find(defaults.baselines.begin(), defaults.baselines.end(), name) != defaults.baselines.end());
    grid->addWidget(box, column / 5, column % 5);
    baselines_.emplace_back(name, box);
    ++column;
  }
  for (QWidget* spin : std::initializer_list<QWidget*>{folds_, rate_, repeats_}) spin->setMaximumWidth(120);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Manifest"), manifest_row);
  form->addRow(QStringLiteral("Folds"), folds_);
  form->addRow(QStringLiteral("Rate"), rate_);
  form->addRow(QStringLiteral("Repeats"), repeats_);

  progress_ = new QProgressBar(this);
  progress_->setObjectName("CrossvalProgress");
  progress_->setValue(0);
  status_ = new QLabel(this);
  status_->setObjectName("CrossvalStatus");
  run_button_ = new QPushButton(QStringLiteral("Run"), this);
  run_button_->setObjectName("CrossvalRun");
  run_button_->setDefault(true);
  cancel_button_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_button_->setObjectName("CrossvalCancel");
  cancel_button_->setEnabled(false);
  auto* close_button = new QPushButton(QStringLiteral("Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(progress_, 1);
  buttons->addWidget(run_button_);
  buttons->addWidget(cancel_button_);
  buttons->addWidget(close_button);
  figures_ = new FiguresPanel(prompts, this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(baselines);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(figures_, 1);

  connect(browse, &QPushButton::clicked, this, &CrossvalDialog::ChooseManifest);
  connect(run_button_, &QPushButton::clicked, this, &CrossvalDialog::Start);
  connect(cancel_button_, &QPushButton::clicked, this, &CrossvalDialog::Cancel);
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
}

CrossvalDialog::~CrossvalDialog() {
  cancel_requested_ = true;
  if (worker_.joinable()) worker_.join();
}

void CrossvalDialog::ChooseManifest() {
  const QString chosen = prompts_.OpenFileName(this, QFileInfo(manifest_->text()).absolutePath());
  if (!chosen.isEmpty()) manifest_->setText(chosen);
}

WindowCrossval CrossvalDialog::Request() const {
  WindowCrossval request;
  request.manifest = manifest_->text().toStdString();
  request.folds = static_cast<std::size_t>(folds_->value());
  request.repeats = static_cast<std::size_t>(repeats_->value());
  request.rate = rate_->value();
  request.baselines.clear();
  for (const auto& [name, box] : baselines_) {
    if (box->isChecked()) request.baselines.push_back(name);
  }
  request.features = features_;
  request.encoding = encoding_;
  return request;
}

void CrossvalDialog::Start() {
  if (running()) return;
  const WindowCrossval request = Request();
  if (request.manifest.empty()) {
    prompts_.ShowError(this, QStringLiteral("Choose the manifest of the texts to cross-validate"));
    return;
  }
  if (request.features == FeatureSet::None()) {
    prompts_.ShowError(this, QStringLiteral("Tick at least one feature in the window: a model needs one"));
    return;
  }
  cancel_requested_ = false;
  SetRunning(true);
  figures_->SetRows({});
  status_->setText(QStringLiteral("Reading the texts..."));
  worker_ = std::thread([this, request] {
    std::vector<EvaluationRow> means;
    QString error;
    bool cancelled = false;
    try {
      // Queued to the dialog's thread: one call a fold, never a repaint
      // from the worker.
      const CrossvalOutcome outcome = CrossValidateManifest(request, tables_, [this](std::size_t done, std::size_t total) {
        QMetaObject::invokeMethod(this, [this, done, total] { ShowFold(done, total); }, Qt::QueuedConnection);
        if (cancel_requested_) throw RunCancelled();
      });
      means = MeanRowsOf(outcome.rows);
    } catch (const RunCancelled&) {
      cancelled = true;
    } catch (const std::exception& failure) {
      error = QString::fromStdString(DescribeError(failure));
    }
    QMetaObject::invokeMethod(
        this, [this, means = std::move(means), error, cancelled] { Finish(means, error, cancelled); },
        Qt::QueuedConnection);
  });
}

void CrossvalDialog::Cancel() {
  cancel_requested_ = true;
  status_->setText(QStringLiteral("Cancelling after this fold..."));
}

void CrossvalDialog::ShowFold(std::size_t done, std::size_t total) {
  progress_->setRange(0, static_cast<int>(total));
  progress_->setValue(static_cast<int>(done));
  status_->setText(QStringLiteral("Fold %1 of %2 done").arg(done).arg(total));
}

void CrossvalDialog::Finish(std::vector<EvaluationRow> means, const QString& error, bool cancelled) {
  if (worker_.joinable()) worker_.join();
  SetRunning(false);
  if (cancelled) {
    status_->setText(QStringLiteral("Cancelled"));
  } else if (!error.isEmpty()) {
    status_->setText(QString());
    prompts_.ShowError(this, error);
  } else {
    status_->setText(QStringLiteral("The mean of each system over the texts of %1")
                         .arg(QFileInfo(manifest_->text()).fileName()));
    figures_->SetInputs({{manifest_->text().toStdString(), "manifest", false}});
    figures_->SetRows(std::move(means));
  }
  emit Finished();
}

void CrossvalDialog::SetRunning(bool running) {
  run_button_->setEnabled(!running);
  cancel_button_->setEnabled(running);
  if (running) progress_->setValue(0);
}

void OpenCrossvalDialog(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features,
                        TextEncoding encoding) {
  auto* dialog = new CrossvalDialog(tables, prompts, features, encoding, parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
}

}  // namespace casewright
