#pragma once

#include <QString>

#include <functional>

// Modal questions and notices. The window asks through this interface so that tests can
// answer in its place and record what was shown.
class Prompts
{
public:
    // OkCancel waits while the user works in another program (marking cells in the
    // spreadsheet): a small box beside the window that leaves the focus where it is.
    // YesNoDefaultNo: a question that Enter answers with No, for a command that is more
    // likely asked for by mistake.
    enum class Style { OkOnly, YesNo, OkCancel, ErrorReport, YesNoDefaultNo };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompts() = default;

    // An empty title means the application title.
    virtual Answer messageBox(const QString &text, Style style, const QString &title) = 0;
    // The OkCancel box that also ends by itself, as Cancel, once `gone` says true (asked twice
    // a second): what the user was to work in has gone away.
    virtual Answer waitForUser(const QString &text, const QString &title,
                               const std::function<bool()> &gone) = 0;
    // A question whose two buttons say what they do ("Save with Blanks", "Don't Save"): Yes
    // for the first, No for the second or when the box is closed.
    virtual Answer question(const QString &text, const QString &title, const QString &yesButton,
                            const QString &noButton) = 0;
    // Returns the typed text, or an empty text on Cancel.
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText) = 0;
};
