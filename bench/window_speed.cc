// casewright-window-speed: how the window copes with long texts.
//
// Drives the real window (on the platform Qt picks: offscreen when there is
// no display) with the default tables, and reports:
//   - the time from choosing a 10 MB text with Search to the whole text
//     being in the memo, and the longest the window went without handling
//     events meanwhile;
//   - for a run on a 50 MB text, from Execute to the "Done!" box, the same
//     longest pause: while it stays short, the window repaints and can be
//     moved.
//
//   QT_QPA_PLATFORM=offscreen casewright-window-speed
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

#include "bundled_text.h"
#include "gui/Main2.h"
#include "gui/gui_prompts.h"
#include "gui/memo_filler.h"
#include "lexicon/sqlite_tables.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;

// Answers every dialog with one file and every box with OK.
class AnsweringPrompts : public GuiPrompts {
 public:
  QString answer;
  QString OpenFileName(QWidget*, const QString&) override { return answer; }
  QString SaveFileName(QWidget*, const QString&) override { return answer; }
  void ShowError(QWidget*, const QString& message) override { std::cerr << message.toStdString() << "\n"; }
  void ShowMessage(QWidget*, const QString&) override {}
  void ShowWarning(QWidget*, const QString&) override {}
};

// The longest gap between two turns of the event loop while it is watched.
class StallMeter {
 public:
  StallMeter() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, clock_.restart());
    });
  }
  void Start() {
    longest_ = 0;
    clock_.start();
    timer_.start();
  }
  qint64 StopMs() {
    timer_.stop();
    return std::max(longest_, clock_.elapsed());
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 longest_ = 0;
};

template <typename T>
T* Find(QWidget& window, const char* name) {
  return window.findChild<T*>(name);
}

}  // namespace
}  // namespace casewright

int main(int argc, char** argv) {
  namespace cw = casewright;
  QApplication app(argc, argv);
  cw::fs::path dir = cw::fs::temp_directory_path() / ("casewright-window-" + std::to_string(::getpid()));
  cw::fs::create_directories(dir);
  const std::string text10 = (dir / "text10.txt").string();
  const std::string text50 = (dir / "text50.txt").string();
  const std::string source = cw::bench::BundledTexts();
  std::ofstream(text10, std::ios::binary) << cw::bench::TextOfSize(source, 10000000);
  std::ofstream(text50, std::ios::binary) << cw::bench::TextOfSize(source, 50000000);
  std::ofstream(dir / "classes") << "1 0 1";

  cw::SqliteTables tables(cw::ResolveTablesFolder());
  cw::AnsweringPrompts prompts;
  cw::TMainForm2 window(tables, prompts);
  window.show();
  QApplication::processEvents();
  cw::StallMeter stalls;

  // Choosing a 10 MB text.
  auto* filler = window.findChild<cw::MemoFiller*>();
  QSignalSpy filled(filler, &cw::MemoFiller::Filled);
  prompts.answer = QString::fromStdString(text10);
  QElapsedTimer clock;
  stalls.Start();
  clock.start();
  cw::Find<QPushButton>(window, "Button1")->click();
  if (filled.isEmpty() && !filled.wait(60000)) return 1;
  const qint64 load_ms = clock.elapsed();
  const qint64 load_stall_ms = stalls.StopMs();

  // A run on a 50 MB text.
  cw::Find<QLineEdit>(window, "Edit1")->setText(QString::fromStdString(text50));
  cw::Find<QLineEdit>(window, "Edit2")->setText(QString::fromStdString((dir / "classes").string()));
  cw::Find<QLineEdit>(window, "Edit3")->setText(QString::fromStdString((dir / "cases").string()));
  QSignalSpy finished(&window, &cw::TMainForm2::ExecuteFinished);
  stalls.Start();
  clock.start();
  cw::Find<QPushButton>(window, "Button4")->click();
  if (finished.isEmpty() && !finished.wait(600000)) return 1;
  const qint64 run_ms = clock.elapsed();
  const qint64 run_stall_ms = stalls.StopMs();

  std::printf("| Window, %s platform | Time | Longest pause |\n|---|---:|---:|\n",
              QApplication::platformName().toUtf8().constData());
  std::printf("| Choosing a 10 MB text until it is all in the memo | %.2f s | %lld ms |\n", load_ms / 1e3,
              static_cast<long long>(load_stall_ms));
  std::printf("| A run on a 50 MB text, Execute to \"Done!\" | %.2f s | %lld ms |\n", run_ms / 1e3,
              static_cast<long long>(run_stall_ms));
  cw::fs::remove_all(dir);
  return 0;
}
