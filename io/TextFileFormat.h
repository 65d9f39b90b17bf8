#pragma once

#include <QtGlobal>

#include <functional>

class QIODevice;
class TextPool;

// Reads a list file a chunk at a time, decoding each chunk straight into the pool of items it
// returns and splitting it at line ends as it goes. The bytes are read as text so: a UTF-8
// byte-order mark is dropped; a UTF-16 one (LE or BE) selects UTF-16; otherwise valid UTF-8 is
// read as UTF-8 and anything else as Windows-1252 (its five undefined bytes as the C1 controls
// of the same value), so every byte of a legacy file arrives as a character. CR LF, CR and LF
// each end an item; a line end at the very end adds no empty item; empty lines inside stay;
// nothing is trimmed. `betweenChunks` runs after each chunk (to yield). Throws Failure when
// reading fails. `sizeHint` (the file's size, if known) lets the pool be allocated once.
inline constexpr qsizetype kListFileChunkBytes = qsizetype(1) << 20;
TextPool readListFile(QIODevice &file, qint64 sizeHint, const std::function<void()> &betweenChunks,
                      qsizetype chunkBytes = kListFileChunkBytes);
