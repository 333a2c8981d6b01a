// The dialogs and message boxes of the window, behind an interface so that a
// test can answer them without a modal loop.
#ifndef CASEWRIGHT_GUI_GUI_PROMPTS_H_
#define CASEWRIGHT_GUI_GUI_PROMPTS_H_

#include <QString>

class QWidget;

namespace casewright {

class GuiPrompts {
 public:
  virtual ~GuiPrompts() = default;

  // The file-open dialog (for the text, the classes file and a reference
  // extract), opened in `folder` (empty: the working folder).  Returns the
  // chosen path, or an empty string when the user cancels.
  virtual QString OpenFileName(QWidget* parent, const QString& folder) = 0;
  // The file-save dialog (for the output file and a classes file made from
  // an extract); empty when the user cancels.
  virtual QString SaveFileName(QWidget* parent, const QString& folder) = 0;
  // The file-save dialog for a file of a known kind (the output file):
  // opened on `start`, a folder or a suggested file, offering the file
  // types of `filter` ("Label (*.ext)" entries separated by ";;"), the first
  // one's extension added to a name typed without one.  By default, the
  // plain save dialog opened on `start`.
  virtual QString SaveFileNameOfType(QWidget* parent, const QString& start, const QString& filter);
  // A modal error box.
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
  // A modal plain message box with an OK button.
  virtual void ShowMessage(QWidget* parent, const QString& message) = 0;
  // The same with a warning icon.
  virtual void ShowWarning(QWidget* parent, const QString& message) = 0;
};

// The real dialogs: Qt's file dialogs with no title, and Qt's message boxes
// titled with the application name.
class QtPrompts : public GuiPrompts {
 public:
  QString OpenFileName(QWidget* parent, const QString& folder) override;
  QString SaveFileName(QWidget* parent, const QString& folder) override;
  QString SaveFileNameOfType(QWidget* parent, const QString& start, const QString& filter) override;
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowMessage(QWidget* parent, const QString& message) override;
  void ShowWarning(QWidget* parent, const QString& message) override;
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_GUI_PROMPTS_H_
