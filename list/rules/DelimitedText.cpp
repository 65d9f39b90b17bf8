#include "DelimitedText.h"

#include "LineBreaks.h"

DelimitedReader::DelimitedReader(QStringView text, QChar delimiter, bool linesAreRecords)
    : m_text(text), m_delimiter(delimiter), m_linesAreRecords(linesAreRecords)
{
}

bool DelimitedReader::next(QString &field, bool &endsRecord)
{
    if (m_through)
        return false;
    field.clear();
    bool quoted = false;
    bool fieldStarted = false;
    const qsizetype size = m_text.size();
    for (; m_position < size; ++m_position) {
        const QChar c = m_text[m_position];
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (m_position + 1 < size && m_text[m_position + 1] == u'"') {
                field += u'"';
                ++m_position;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == m_delimiter) {
            ++m_position;
            m_inRecord = true;
            endsRecord = false;
            return true;
        } else if (m_linesAreRecords && LineBreaks::isBreak(c.unicode())) {
            m_position += LineBreaks::breakLength(m_text, m_position);
            m_inRecord = false;
            endsRecord = true;
            return true;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    // The text's end ends its last record, unless that ended with the last line end.
    m_through = true;
    endsRecord = true;
    return fieldStarted || !field.isEmpty() || m_inRecord || !m_linesAreRecords;
}
