// For the window's tests: prompts that answer each file dialog with the
// next path given (none left: cancelled) and keep the errors shown.
#ifndef CASEWRIGHT_GUI_ANSWERING_PROMPTS_H_
#define CASEWRIGHT_GUI_ANSWERING_PROMPTS_H_

#include <QStringList>

#include "gui/gui_prompts.h"

namespace casewright {

class AnsweringPrompts : public GuiPrompts {
 public:
  QStringList answers;
  QStringList errors;

  QString OpenFileName(QWidget*, const QString&) override { return Next(); }
  QString SaveFileName(QWidget*, const QString&) override { return Next(); }
  void ShowError(QWidget*, const QString& message) override { errors.append(message); }
  void ShowMessage(QWidget*, const QString&) override {}
  void ShowWarning(QWidget*, const QString&) override {}

 private:
  QString Next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_ANSWERING_PROMPTS_H_
