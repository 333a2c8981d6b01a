// The memo filler leaves the memo exactly as one setPlainText would, however
// the pieces fall, and a newer text drops the pieces of an older one.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "gui/memo_filler.h"

using casewright::MemoFiller;

class MemoFillerTest : public QObject {
  Q_OBJECT

 private slots:
  void piecesAddUpToTheWholeText() {
    QPlainTextEdit memo;
    MemoFiller filler(&memo);
    // Lines of several lengths, accented bytes and Windows-1252 quotes, so
    // that pieces end inside lines, at CR LF pairs and inside one.
    std::string text(MemoFiller::kPieceSize - 1, 'a');
    text += "\r\n";  // the first piece ends between CR and LF
    for (int i = 0; text.size() < 3 * MemoFiller::kPieceSize; ++i) {
      text += std::string(static_cast<std::size_t>(i % 97), 'a') + "\xE7\xE3o \x93x\x94\r\n";
    }
    text += "fim";
    QSignalSpy filled(&filler, &MemoFiller::Filled);
    filler.Show(std::make_shared<const std::string>(text));
    QVERIFY(filler.filling());
    QVERIFY(filled.wait(10000));
    QPlainTextEdit whole;
    whole.setPlainText(casewright::DisplayText(text));
    QCOMPARE(memo.toPlainText(), whole.toPlainText());
    QCOMPARE(memo.document()->blockCount(), whole.document()->blockCount());
  }

  void aNewerTextReplacesAnUnfinishedOne() {
    QPlainTextEdit memo;
    MemoFiller filler(&memo);
    filler.Show(std::make_shared<const std::string>(3 * MemoFiller::kPieceSize, 'x'));
    filler.Show(std::make_shared<const std::string>("Um.\r\nDois."));
    QVERIFY(!filler.filling());
    QTest::qWait(50);
    QCOMPARE(memo.toPlainText(), QStringLiteral("Um.\nDois."));
  }
};

QTEST_MAIN(MemoFillerTest)
#include "memo_filler_test.moc"
