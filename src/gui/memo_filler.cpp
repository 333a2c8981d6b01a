#include "gui/memo_filler.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "core/cp1252.h"

namespace casewright {

QString DisplayText(std::string_view cp1252) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(cp1252.size()));
  for (std::size_t i = 0; i < cp1252.size(); ++i) {
    if (cp1252[i] == '\r' && i + 1 < cp1252.size() && cp1252[i + 1] == '\n') continue;
    shown.append(QChar(static_cast<char16_t>(Cp1252CodePoint(static_cast<unsigned char>(cp1252[i])))));
  }
  return shown;
}

MemoFiller::MemoFiller(QPlainTextEdit* memo) : QObject(memo), memo_(memo), timer_(new QTimer(this)) {
  // The memo is read-only: keeping every piece for undo would only cost memory.
  memo_->document()->setUndoRedoEnabled(false);
  timer_->setInterval(0);
  connect(timer_, &QTimer::timeout, this, &MemoFiller::AppendNextPiece);
}

void MemoFiller::Show(std::shared_ptr<const std::string> text) {
  timer_->stop();
  text_ = std::move(text);
  next_ = 0;
  memo_->setPlainText(TakeNextPiece());
  ContinueOrFinish();
}

void MemoFiller::Clear() {
  timer_->stop();
  text_.reset();
  next_ = 0;
  memo_->clear();
}

QString MemoFiller::TakeNextPiece() {
  const std::string& text = *text_;
  std::size_t end = std::min(next_ + kPieceSize, text.size());
  if (end < text.size() && text[end - 1] == '\r' && text[end] == '\n') ++end;
  QString piece = DisplayText(std::string_view(text).substr(next_, end - next_));
  next_ = end;
  return piece;
}

void MemoFiller::AppendNextPiece() {
  // A cursor of its own, so that the view stays where the user left it.
  QTextCursor end(memo_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(TakeNextPiece());
  ContinueOrFinish();
}

void MemoFiller::ContinueOrFinish() {
  if (filling()) {
    timer_->start();
    return;
  }
  timer_->stop();
  text_.reset();
  next_ = 0;
  emit Filled();
}

}  // namespace casewright
