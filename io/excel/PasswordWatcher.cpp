#include "PasswordWatcher.h"

#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/PasswordRequestMode.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionContinuation.hpp>

using namespace css;

namespace {
// The office's code for a load stopped where it asked (ERRCODE_ABORT).
constexpr sal_Int32 kLoadAborted = 0x11b;

// Chooses the request's Abort; false when it offers none.
bool abort(const uno::Reference<task::XInteractionRequest> &request)
{
    for (const uno::Reference<task::XInteractionContinuation> &choice :
         request->getContinuations()) {
        if (uno::Reference<task::XInteractionAbort>(choice, uno::UNO_QUERY).is()) {
            choice->select();
            return true;
        }
    }
    return false;
}
} // namespace

PasswordWatcher::PasswordWatcher(uno::Reference<task::XInteractionHandler> answering)
    : m_answering(std::move(answering))
{
}

void PasswordWatcher::handle(const uno::Reference<task::XInteractionRequest> &request)
{
    if (!request.is())
        return;
    const uno::Any asked = request->getRequest();
    task::PasswordRequest password;
    task::ErrorCodeRequest error;
    if (asked >>= password) {
        m_asked = true;
        // The office asks again only when the password it was given is wrong.
        if (password.Mode == task::PasswordRequestMode_PASSWORD_REENTER) {
            m_wrong = true;
            abort(request);
            return;
        }
    } else if (m_asked && (asked >>= error) && error.ErrCode == kLoadAborted) {
        // The load ended for want of the password: the import tells what there is to tell.
        abort(request);
        return;
    }
    if (m_answering.is())
        m_answering->handle(request);
}
