// The window's Options button: a small menu with the run settings that
// have no control of their own on the form, so that the form's controls
// keep their places.
//
//   Text encoding   Windows-1252 | UTF-8 | Detect
//   Output format   Plain | Quinlan (C4.5) | ARFF (Weka) | CSV
//   C4.5 names file beside the output      (with the Quinlan format only)
//   Text already segmented                 one sentence a line (--segmented),
//                                          remembered from one session to the next
//   ----
//   Sentences...    the text's sentences beside their classes (sentences_view.h)
//   Summary...      the extract a classifier's scores give (summary_view.h)
//
// Every choice starts as the command line's default.  The same menu is the
// window's Options menu in the menu bar.
#ifndef CASEWRIGHT_GUI_OPTIONS_MENU_H_
#define CASEWRIGHT_GUI_OPTIONS_MENU_H_

#include <QToolButton>

#include "gui/sentence_features.h"
#include "output/case_layout.h"
#include "text/text_encoding.h"

class QAction;
class QActionGroup;

namespace casewright {

class OptionsMenu : public QToolButton {
  Q_OBJECT

 public:
  explicit OptionsMenu(QWidget* parent);

  TextEncoding encoding() const;
  CaseFormat format() const;
  // Whether the run also writes the C4.5 names file beside its output.
  bool names_file() const;
  // Whether the texts hold one sentence a line, paragraphs separated by a
  // blank line (RunSettings::segmented).
  bool segmented() const;
  // Both, as the views read a text.
  TextReading reading() const { return {encoding(), segmented()}; }

  void SetFormat(CaseFormat format);

 signals:
  void FormatChanged(CaseFormat format);
  // The user chose another text encoding.
  void EncodingChanged(TextEncoding encoding);
  // The user asked for the Sentences view.
  void SentencesRequested();
  void SummaryRequested();

 private:
  QActionGroup* encodings_;
  QActionGroup* formats_;
  QAction* names_file_;
  QAction* segmented_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_OPTIONS_MENU_H_
