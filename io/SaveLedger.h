#pragma once

#include <QString>

#include <map>

// Saves yield while they write, so a second save to the same file can start before the
// first has finished. The save started last must decide what the file holds: every save
// takes a ticket for its file, and only the newest ticket may put its file in place; an
// older save that finishes later gives up instead of replacing the newer file.
class SaveLedger
{
public:
    class Ticket
    {
    public:
        Ticket(SaveLedger &ledger, QString file, quint64 number)
            : m_ledger(ledger), m_file(std::move(file)), m_number(number)
        {
        }
        ~Ticket() { m_ledger.release(m_file, m_number); }
        Ticket(const Ticket &) = delete;
        Ticket &operator=(const Ticket &) = delete;

        bool isNewest() const { return m_ledger.newest(m_file) == m_number; }

    private:
        SaveLedger &m_ledger;
        QString m_file;
        quint64 m_number;
    };

    // The ticket of a save to `path` that starts now.
    Ticket begin(const QString &path);

private:
    quint64 newest(const QString &file) const;
    void release(const QString &file, quint64 number);

    std::map<QString, quint64> m_newest; // file -> newest ticket, while a save to it runs
    quint64 m_lastNumber = 0;
};
