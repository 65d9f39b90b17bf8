#pragma once

#include "Prefaulter.h"
#include "TextPool.h"

#include <memory>
#include <vector>

// Builds a pool from decoded text that arrives in pieces: each piece is decoded into a
// buffer of a piece's size, then split into items at its line ends (CR LF, CR or LF), each
// taken into the pool's buffer in its form (see ItemText) as it is found, so a file costs
// its items' memory and no copy of its text.
class TextPoolBuilder
{
public:
    // Room for `units` more decoded characters; write them there, then call added().
    char16_t *space(qsizetype units);
    void added(qsizetype units);
    // Room for `count` more characters decoded straight to Latin-1, one byte each, while the
    // line not ended yet is Latin-1 (takesLatin1()); write them there, then call
    // addedLatin1() with how many were written.
    bool takesLatin1() const { return !m_lineWide; }
    char *latin1Space(qsizetype count);
    void addedLatin1(qsizetype count);
    // A last line without a line end becomes an item too.
    TextPool finish();

    // Room for this many items and bytes of text in all. A large room has its pages faulted
    // in ahead of the decoding, on another core (Prefaulter).
    void reserve(qsizetype items, qsizetype bytes);
    void clear();
    qsizetype itemCount() const { return m_pool.size(); }

private:
    // Stops faulting in the buffer's pages ahead, before it moves or is handed over.
    void stopFaultingAhead();
    // Adds characters to the line not ended yet.
    void takeIntoLine(const char16_t *units, qsizetype count);
    // Makes room for `bytes` more at the end of the pool's buffer; returns where they go.
    char *grow(qsizetype bytes);
    void endLine();
    // Splits the Latin-1 bytes from `from` to the end of the buffer into lines, in place.
    void splitLatin1(qsizetype from);

    TextPool m_pool;
    std::unique_ptr<Prefaulter> m_faultingAhead;
    std::vector<char16_t> m_piece; // the piece being decoded
    qsizetype m_lineBegin = 0;     // where the line not ended yet begins in the buffer
    bool m_lineWide = false;       // it holds a character beyond Latin-1
    qsizetype m_latin1At = 0;      // where latin1Space() made room
    bool m_afterCarriageReturn = false;
};
