// `evaluate --plot` through casewright-cli as users run it, with no display:
// the chart as a well-formed SVG, as a PNG of the asked size, and any other
// extension refused before anything is written.
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QXmlStreamReader>
#include <filesystem>

#include "testing/temp_dir.h"

using casewright::testing::ReadFile;
using casewright::testing::TempDir;
using casewright::testing::WriteFile;

class PlotTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    for (const char* name : {"example.txt", "example.classes"}) {
      std::filesystem::copy_file(std::filesystem::path(CASEWRIGHT_EXAMPLES) / name, dir_->Path(name));
    }
    WriteFile(dir_->Path("m.tsv"), "example.txt\tclasses:example.classes\tclasses:example.classes\n");
  }

  void writesAnSvgAndAPngOfTheAskedSize() {
    QVERIFY(Evaluate({"--plot", "chart.svg"}) == 0);
    QXmlStreamReader svg(QByteArray::fromStdString(ReadFile(dir_->Path("chart.svg"))));
    QStringList texts;
    while (!svg.atEnd()) {
      if (svg.readNext() == QXmlStreamReader::Characters) texts.append(svg.text().toString().trimmed());
    }
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    // The legend names the systems as the figures do.
    QVERIFY2(texts.contains("system1") && texts.contains("lead"), qPrintable(texts.join('|')));

    QVERIFY(Evaluate({"--plot", "chart.PNG", "--plot-size", "640x400"}) == 0);
    const QImage png = QImage::fromData(QByteArray::fromStdString(ReadFile(dir_->Path("chart.PNG"))), "PNG");
    QCOMPARE(png.size(), QSize(640, 400));
  }

  void refusesAnotherExtensionOrSizeWritingNothing() {
    QCOMPARE(Evaluate({"--plot", "chart.pdf", "--output", "figures.txt"}), 2);
    QVERIFY2(stderr_.contains("chart.pdf: --plot writes a chart as .svg or .png"), qPrintable(stderr_));
    QCOMPARE(Evaluate({"--plot", "chart.svg", "--plot-size", "99x400", "--output", "figures.txt"}), 2);
    QVERIFY2(stderr_.contains("--plot-size 99x400: give WIDTHxHEIGHT in pixels, each from 100 to 10000"),
             qPrintable(stderr_));
    QVERIFY(!std::filesystem::exists(dir_->Path("figures.txt")));
    QVERIFY(!std::filesystem::exists(dir_->Path("chart.svg")));
  }

 private:
  // Runs evaluate on the manifest in the test's folder with `options`,
  // without a display; returns its exit status.
  int Evaluate(const QStringList& options) {
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    cli.setProcessEnvironment(environment);
    cli.setWorkingDirectory(QString::fromStdString(dir_->Path("")));
    cli.start(CASEWRIGHT_CLI, QStringList{"evaluate", "m.tsv", "--bootstrap", "100"} + options);
    cli.waitForFinished(60000);
    stderr_ = QString::fromUtf8(cli.readAllStandardError());
    return cli.exitCode();
  }

  std::unique_ptr<TempDir> dir_;
  QString stderr_;
};

QTEST_GUILESS_MAIN(PlotTest)
#include "plot_test.moc"
