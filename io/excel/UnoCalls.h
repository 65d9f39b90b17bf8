#pragma once

// The calls into the office that the launcher and the application object share: UNO's
// strings and properties, and every call made on a thread of its own while the window stays
// live. Only this folder's Calc files include it.

#include "Failure.h"
#include "Spreadsheet.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QString>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <rtl/ustring.hxx>

#include <atomic>
#include <chrono>
#include <exception>
#include <optional>
#include <thread>
#include <type_traits>

QString toQString(const rtl::OUString &text);
rtl::OUString toOUString(const QString &text);

namespace UnoCalls {

using namespace css;
using rtl::OUString;

inline OUString ascii(const char *text)
{
    return OUString::createFromAscii(text);
}

inline beans::PropertyValue property(const char *name, const uno::Any &value)
{
    beans::PropertyValue result;
    result.Name = ascii(name);
    result.Value = value;
    return result;
}

template <typename... Values> uno::Sequence<beans::PropertyValue> properties(Values... values)
{
    const beans::PropertyValue list[] = {values...};
    return uno::Sequence<beans::PropertyValue>(list, sal_Int32(sizeof...(Values)));
}

// Runs `call` on a thread of its own and keeps the window's event loop turning until it is
// done: a call into the office can take a second (a new document in an office just started,
// fitting a column of a million rows, writing a sheet as text), and the window must not freeze
// meanwhile. No user input is taken in between, so no command starts inside another's call.
template <typename Call> auto awayFromTheWindow(const Call &call) -> decltype(call())
{
    using Result = decltype(call());
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> result{};
    std::thread worker([&] {
        try {
            if constexpr (std::is_void_v<Result>)
                call();
            else
                result.emplace(call());
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    // The call reads what is on this stack: a failure while the window takes its turns
    // waits for it, then goes on (a thread left running would end the program).
    const auto joinOnFailure = qScopeGuard([&] {
        if (worker.joinable())
            worker.join();
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!done)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    if constexpr (!std::is_void_v<Result>)
        return std::move(*result);
}

// The failure of a call the office answered with `error`, in its own words.
inline Failure described(const uno::Exception &error)
{
    const QString message = toQString(error.Message);
    return Failure(
        message.isEmpty()
            ? QCoreApplication::translate("Tarnwell", "LibreOffice Calc reported a failure")
            : QCoreApplication::translate("Tarnwell", "LibreOffice Calc: %1").arg(message));
}

// The office went away during the call: the commands tell it in words of their own.
inline Failure officeGone()
{
    return Failure(QCoreApplication::translate("Tarnwell", "LibreOffice Calc is no longer running"),
                   kSpreadsheetGone);
}

// Turns any UNO failure into ours. An object disposed with the office, or its bridge ended
// during the call, is kSpreadsheetGone; any other with the office's own message.
template <typename Call> auto unoCall(const Call &call) -> decltype(call())
{
    return awayFromTheWindow([&]() -> decltype(call()) {
        try {
            return call();
        } catch (const Failure &) {
            throw;
        } catch (const lang::DisposedException &) {
            throw officeGone();
        } catch (const uno::RuntimeException &error) {
            if (error.Message.indexOf(ascii("URP bridge")) >= 0)
                throw officeGone();
            throw described(error);
        } catch (const uno::Exception &error) {
            throw described(error);
        }
    });
}

} // namespace UnoCalls
