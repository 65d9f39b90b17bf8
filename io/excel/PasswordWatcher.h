#pragma once

// What the office asks while it opens a workbook, handed to the office's own dialogs.

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <cppuhelper/implbase1.hxx>

#include <atomic>

// Hands the office's questions on to `answering` (the office's own password box), and notes
// what became of a password: asked for, or given and found wrong. A wrong one is not asked
// for again: the office would say so in a box of its own and ask on, where the import says it
// once, in the program's words, and ends.
class PasswordWatcher : public cppu::WeakImplHelper1<css::task::XInteractionHandler>
{
public:
    explicit PasswordWatcher(css::uno::Reference<css::task::XInteractionHandler> answering);
    void SAL_CALL
    handle(const css::uno::Reference<css::task::XInteractionRequest> &request) override;

    bool passwordAsked() const { return m_asked; }
    bool passwordWrong() const { return m_wrong; }

private:
    css::uno::Reference<css::task::XInteractionHandler> m_answering;
    std::atomic<bool> m_asked{false};
    std::atomic<bool> m_wrong{false};
};
