#pragma once

#include <QString>
#include <string>

class QTextDocument;

namespace platform::qt {

// The toolkit lays a line out whole, in time that grows faster than its
// length when the line has no blank, and again at every change to it. So a
// long line is shown as blocks of bounded length, each block after the first
// marked as continuing the line, and the text goes in with one insertion at
// the end, which lays out only the last block.
void AppendInBlocks(QTextDocument& document, const QString& text);

// The document's text as UTF-8, with a line end only where a line ends.
std::string TextOfBlocks(const QTextDocument& document);

}  // namespace platform::qt
