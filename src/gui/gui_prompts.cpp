#include "gui/gui_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace casewright {

QString QtPrompts::OpenFileName(QWidget* parent, const QString& folder) {
  return QFileDialog::getOpenFileName(parent, QString(), folder);
}

QString QtPrompts::SaveFileName(QWidget* parent, const QString& folder) {
  return QFileDialog::getSaveFileName(parent, QString(), folder);
}

void QtPrompts::ShowError(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, QApplication::applicationName(), message);
}

void QtPrompts::ShowMessage(QWidget* parent, const QString& message) {
  QMessageBox::information(parent, QApplication::applicationName(), message);
}

void QtPrompts::ShowWarning(QWidget* parent, const QString& message) {
  QMessageBox::warning(parent, QApplication::applicationName(), message);
}

}  // namespace casewright
