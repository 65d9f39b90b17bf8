#pragma once

#include <QString>

#include <exception>

// A failure of one step of a command. The trap turns it into the error report; `number`
// lets a handler recognise a failure it deals with itself (for instance a file dialog whose
// name buffer overflowed).
class Failure : public std::exception
{
public:
    explicit Failure(QString description, int number = 0)
        : m_description(std::move(description)), m_number(number)
    {
    }

    const QString &description() const { return m_description; }
    int number() const { return m_number; }
    const char *what() const noexcept override { return "Tarnwell failure"; }

private:
    QString m_description;
    int m_number;
};
