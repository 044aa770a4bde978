#include "platform/ui/qt/LongLines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace platform::qt {
namespace {

// The state of a block that continues the line of the block before it.
constexpr int kContinuesLine = 1;
// Long enough that a break is rare, short enough that laying a block out takes a few milliseconds.
constexpr qsizetype kLongestBlock = 8192;

// What the toolkit turns into a new block: the line ends and its two frame marks.
bool EndsLine(QChar c) {
  return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
         c == QChar(0xFDD1);
}

// Where a block of at most room characters from start ends: after the last
// blank of its second half, where word wrapping would likely break anyway,
// else where no character is cut in two.
qsizetype BlockEnd(const QString& text, qsizetype start, qsizetype room) {
  for (qsizetype end = start + room; end > start + room / 2; --end) {
    if (text[end - 1] == u' ' || text[end - 1] == u'\t')
      return end;
  }
  qsizetype end = start + room;
  while (end > start + 1 && (text[end].isLowSurrogate() || text[end].isMark()))
    --end;
  return end;
}

}  // namespace

void AppendInBlocks(QTextDocument& document, const QString& text) {
  const QTextBlock last = document.lastBlock();
  const int firstNew = last.blockNumber() + 1;
  qsizetype lineLength = std::min<qsizetype>(last.length() - 1, kLongestBlock);
  QString shown;
  shown.reserve(text.size() + text.size() / (kLongestBlock / 2) + 1);
  std::vector<bool> continues;
  for (qsizetype at = 0; at < text.size();) {
    if (EndsLine(text[at])) {
      const bool pair = text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n';
      at += pair ? 2 : 1;
      shown += u'\n';
      continues.push_back(false);
      lineLength = 0;
      continue;
    }
    qsizetype runEnd = at;
    while (runEnd < text.size() && !EndsLine(text[runEnd]))
      ++runEnd;
    while (runEnd - at > kLongestBlock - lineLength) {
      const qsizetype end = BlockEnd(text, at, kLongestBlock - lineLength);
      shown += QStringView(text).sliced(at, end - at);
      shown += u'\n';
      continues.push_back(true);
      at = end;
      lineLength = 0;
    }
    shown += QStringView(text).sliced(at, runEnd - at);
    lineLength += runEnd - at;
    at = runEnd;
  }

  QTextCursor end(&document);
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
  QTextBlock block = document.findBlockByNumber(firstNew);
  for (const bool continuing : continues) {
    block.setUserState(continuing ? kContinuesLine : -1);
    block = block.next();
  }
}

std::string TextOfBlocks(const QTextDocument& document) {
  QString text;
  text.reserve(document.characterCount());
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin() && block.userState() != kContinuesLine)
      text += u'\n';
    text += block.text();
  }
  return text.toStdString();
}

}  // namespace platform::qt
