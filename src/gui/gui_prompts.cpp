#include "gui/gui_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace casewright {

QString GuiPrompts::SaveFileNameOfType(QWidget* parent, const QString& start, const QString&) {
  return SaveFileName(parent, start);
}

QString QtPrompts::OpenFileName(QWidget* parent, const QString& folder) {
  return QFileDialog::getOpenFileName(parent, QString(), folder);
}

QString QtPrompts::SaveFileName(QWidget* parent, const QString& folder) {
  return QFileDialog::getSaveFileName(parent, QString(), folder);
}

QString QtPrompts::SaveFileNameOfType(QWidget* parent, const QString& start, const QString& filter) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(filter);
  const QRegularExpressionMatch extension = QRegularExpression(QStringLiteral(R"(\(\*\.(\w+))")).match(filter);
  if (extension.hasMatch()) dialog.setDefaultSuffix(extension.captured(1));
  const QFileInfo file(start);
  if (start.isEmpty() || file.isDir()) {
    dialog.setDirectory(start);
  } else {
    dialog.setDirectory(file.absolutePath());
    dialog.selectFile(file.fileName());
  }
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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
