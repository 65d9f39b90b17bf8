#pragma once

#include "ItemText.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <functional>

class ListHost;
class Prompts;
class TextPool;

// Writes a list file, one item and CR LF per line, in UTF-8 without a byte-order mark (but
// for a first item that begins with one: it gets the file's own in front, so that reading the
// file back keeps the item's). The
// file is written beside the old one and replaces it only at commit(), so a failure never
// leaves a half-written or emptied file behind. Every failure throws Failure with the reason.
class ListFileWriter
{
public:
    explicit ListFileWriter(const QString &path);

    void open();
    // Each CR LF, CR and LF inside an item is written as one blank.
    void setLineBreaksAsBlanks(bool asBlanks) { m_breaksAsBlanks = asBlanks; }
    void writeItem(ItemText text);
    // Writes every item of `texts`, yielding now and then through `host`; stops early, and
    // returns false, when `keepGoing` says so at a yield.
    bool writeAll(const TextPool &texts, ListHost &host, const std::function<bool()> &keepGoing);
    void commit();

private:
    void flush();

    QSaveFile m_file;
    bool m_breaksAsBlanks = false;
    bool m_firstItem = true;
    qint64 m_written = 0;
    qint64 m_writebackStarted = 0;
    QByteArray m_buffer;
    QStringEncoder m_encoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

// Before `texts` are saved with `writer`: when some of them hold line breaks, which would read
// back as more items, asks whether to save them with the breaks as blanks (and has `writer`
// do so). False when the user would rather not save.
bool agreeOnLineBreaks(const TextPool &texts, ListHost &host, Prompts &prompts,
                       const QString &title, ListFileWriter &writer);
