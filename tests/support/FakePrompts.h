#pragma once

#include "Prompts.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Records every box shown and answers from a queue (Yes for questions, the empty text for
// input boxes when the queue is empty). A hook may run while a box is "open", as a user
// would click elsewhere in the window meanwhile.
class FakePrompts : public Prompts
{
public:
    struct Shown
    {
        QString text;
        Style style;
        QString title;
    };

    Answer messageBox(const QString &text, Style style, const QString &title) override
    {
        shown.push_back({text, style, title});
        if (onShow)
            onShow(shown.back());
        if (style == Style::OkCancel)
            return okCancel.empty() ? Answer::Ok : takeFront(okCancel);
        if (style != Style::YesNo && style != Style::YesNoDefaultNo)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Yes;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // As the OkCancel box, but Cancel when `gone` already says so once the box shows.
    Answer waitForUser(const QString &text, const QString &title,
                       const std::function<bool()> &gone) override
    {
        shown.push_back({text, Style::OkCancel, title});
        if (onShow)
            onShow(shown.back());
        if (gone())
            return Answer::Cancel;
        return okCancel.empty() ? Answer::Ok : takeFront(okCancel);
    }

    Answer question(const QString &text, const QString &title, const QString &yesButton,
                    const QString &noButton) override
    {
        buttons.push_back({yesButton, noButton});
        return messageBox(text, Style::YesNo, title);
    }

    QString inputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        inputs.push_back({prompt, Style::OkOnly, title});
        defaults.push_back(def);
        if (typed.empty())
            return QString();
        const QString text = typed.front();
        typed.pop_front();
        return text;
    }

    static Answer takeFront(std::deque<Answer> &queue)
    {
        const Answer answer = queue.front();
        queue.pop_front();
        return answer;
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Shown &box : shown)
            result.append(box.text);
        return result;
    }

    QStringList errorReports() const
    {
        QStringList result;
        for (const Shown &box : shown) {
            if (box.style == Style::ErrorReport)
                result.append(box.text);
        }
        return result;
    }

    std::vector<Shown> shown;
    std::vector<Shown> inputs;
    std::vector<QStringList> buttons; // of each question, as the user reads them
    QStringList defaults;
    std::deque<Answer> answers;
    std::deque<Answer> okCancel;
    std::deque<QString> typed;
    std::function<void(const Shown &)> onShow;
};
