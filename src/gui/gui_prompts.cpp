#include "gui/gui_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace casewright {

QString QtPrompts::OpenFileName(QWidget* parent) { return QFileDialog::getOpenFileName(parent); }

QString QtPrompts::SaveFileName(QWidget* parent) { return QFileDialog::getSaveFileName(parent); }

void QtPrompts::ShowError(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, QApplication::applicationName(), message);
}

void QtPrompts::ShowMessage(QWidget* parent, const QString& message) {
  QMessageBox::information(parent, QApplication::applicationName(), message);
}

}  // namespace casewright
