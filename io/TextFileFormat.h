#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

class QIODevice;
class TextPool;

// The bytes of a list file as text: a UTF-8 byte-order mark is dropped; a UTF-16 one (LE or
// BE) selects UTF-16; otherwise valid UTF-8 is read as UTF-8 and anything else as
// Windows-1252, so every byte of a legacy file arrives as a character.
QString decodeListFile(const QByteArray &bytes);

// Reads a list file a chunk at a time, decoding each chunk straight into the pool of items it
// returns and splitting it at line ends as it goes, by the rules of decodeListFile and
// splitLines; `betweenChunks` runs after each chunk (to yield). Throws Failure when reading
// fails. `sizeHint` (the file's size, if known) lets the pool be allocated once.
inline constexpr qsizetype kListFileChunkBytes = qsizetype(1) << 22;
TextPool readListFile(QIODevice &file, qint64 sizeHint, const std::function<void()> &betweenChunks,
                      qsizetype chunkBytes = kListFileChunkBytes);

// Windows-1252, with the five bytes it leaves undefined mapped to the C1 controls of the same
// value: no byte is lost or replaced.
QString decodeWindows1252(const char *data, qsizetype size);

// Splits text into lines: CR LF, CR and LF each end a line. A line end at the very end adds no
// empty line; empty lines inside stay; nothing is trimmed.
class LineSplitter
{
public:
    explicit LineSplitter(QStringView text) : m_text(text) {}
    // The next line, or false when the text is used up.
    bool next(QStringView &line);

private:
    QStringView m_text;
    qsizetype m_position = 0;
};

std::vector<QStringView> splitLines(QStringView text);

// Tidies a joined path: pairs of separators become one; a path that starts with separators
// (a network path) keeps exactly two of them in front.
QString FixDoubleSlashes(const QString &path, QChar separator = u'/');

// True when the path's modification time can be read (a folder counts). Never throws.
bool FileExists(const QString &path);
