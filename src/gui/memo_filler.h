// Shows a long text in the memo a piece at a time.
//
// Putting tens of megabytes into a QPlainTextEdit at once blocks the window
// for a second or more.  The filler puts the first piece in at once and the
// rest from the event loop, one piece per turn, so the window keeps
// repainting and can be moved while a long text goes in.  The memo ends up
// holding exactly what setPlainText would have given it.
#ifndef CASEWRIGHT_GUI_MEMO_FILLER_H_
#define CASEWRIGHT_GUI_MEMO_FILLER_H_

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

class QPlainTextEdit;
class QTimer;

namespace casewright {

// The text as the memo shows it: each Windows-1252 byte as its character,
// each CR LF as one line break.
QString DisplayText(std::string_view cp1252);

class MemoFiller : public QObject {
  Q_OBJECT

 public:
  // Bytes put in per turn of the event loop: a few milliseconds' work.
  static constexpr std::size_t kPieceSize = 1 << 18;

  // `memo` must outlive the filler.
  explicit MemoFiller(QPlainTextEdit* memo);

  // Replaces the memo's text with `text` (Windows-1252, CR LF line breaks).
  // Pieces of an earlier text not yet shown are dropped.  Each piece is
  // converted for display only when its turn comes, so that no turn pays
  // for the whole text.
  void Show(std::shared_ptr<const std::string> text);

  // Empties the memo and drops the pieces not yet shown.
  void Clear();

  // Whether pieces remain to be shown.
  bool filling() const { return text_ != nullptr && next_ < text_->size(); }

 signals:
  // The whole text is in the memo.
  void Filled();

 private slots:
  void AppendNextPiece();

 private:
  // The display form of the next piece, which never splits a CR LF pair.
  QString TakeNextPiece();
  // Goes on with the next piece from the event loop, or reports the end.
  void ContinueOrFinish();

  QPlainTextEdit* memo_;
  QTimer* timer_;
  std::shared_ptr<const std::string> text_;  // the text being shown
  std::size_t next_ = 0;                      // where its next piece starts
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_MEMO_FILLER_H_
