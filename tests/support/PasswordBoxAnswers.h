#pragma once

// The office's password box, answered as a user would: a password typed, or Cancel.

#include "UnoStrings.h"

#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionPassword.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include <atomic>

class PasswordBoxAnswers : public cppu::WeakImplHelper1<css::task::XInteractionHandler>
{
public:
    // An empty `password` is Cancel.
    explicit PasswordBoxAnswers(QString password) : m_password(std::move(password)) {}
    void SAL_CALL
    handle(const css::uno::Reference<css::task::XInteractionRequest> &request) override
    {
        using namespace css;
        ++asked;
        for (const uno::Reference<task::XInteractionContinuation> &choice :
             request->getContinuations()) {
            const uno::Reference<task::XInteractionPassword> typed(choice, uno::UNO_QUERY);
            const uno::Reference<task::XInteractionAbort> cancel(choice, uno::UNO_QUERY);
            if (typed.is() && !m_password.isEmpty()) {
                typed->setPassword(toOUString(m_password));
                typed->select();
                return;
            }
            if (cancel.is() && m_password.isEmpty()) {
                cancel->select();
                return;
            }
        }
    }
    std::atomic<int> asked{0}; // how often the office asked anything

private:
    QString m_password;
};
