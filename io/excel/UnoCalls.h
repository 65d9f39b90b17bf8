#pragma once

// The calls into the office that the launcher and the application object share: UNO's
// strings and properties, and every call made on a thread of its own while the window stays
// live. Only this folder's Calc files include it.

#include "ExcelApplication.h"
#include "Failure.h"
#include "UnoStrings.h"

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
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

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

// `call`, its UNO failures made ours. An object disposed with the office, or its bridge
// ended during the call, is kSpreadsheetGone; any other with the office's own message.
template <typename Call> auto translated(const Call &call) -> decltype(call())
{
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
}

// Turns any UNO failure into ours (see translated()), the window live meanwhile.
template <typename Call> auto unoCall(const Call &call) -> decltype(call())
{
    return awayFromTheWindow([&]() -> decltype(call()) { return translated(call); });
}

// Keeps a call the caller stopped waiting for until it is through: joined at the program's
// end (the office's bridge is gone by then, so the call has failed or finished).
void keepUntilDone(std::thread call);

// For the one call a user waits for long enough to give up (opening a large workbook takes
// a minute): `call` runs on a thread of its own while the window takes its turns, clicks and
// keys too (the window's commands queue behind the running one). Once `giveUp()` says so the
// wait ends with nothing, and the call goes on in the office; its result, when it comes, is
// handed to `leftOver` on that thread. So `call` and `leftOver` own what they use.
template <typename Result>
std::optional<Result> unoCallUnlessGivenUp(std::function<Result()> call,
                                           std::function<void(Result &)> leftOver,
                                           const std::function<bool()> &giveUp)
{
    struct State
    {
        std::mutex mutex;
        bool done = false;
        bool abandoned = false;
        std::optional<Result> result;
        std::exception_ptr failure;
    };
    const auto state = std::make_shared<State>();
    std::thread worker([state, call = std::move(call), leftOver = std::move(leftOver)] {
        std::optional<Result> result;
        std::exception_ptr failure;
        try {
            result.emplace(translated(call));
        } catch (...) {
            failure = std::current_exception();
        }
        std::unique_lock<std::mutex> lock(state->mutex);
        if (!state->abandoned) {
            state->result = std::move(result);
            state->failure = failure;
            state->done = true;
            return;
        }
        lock.unlock();
        try {
            if (result)
                leftOver(*result);
        } catch (...) {
            // Nobody waits for it any more: what is left is the office's.
        }
    });
    const auto finished = [&] {
        const std::lock_guard<std::mutex> lock(state->mutex);
        return state->done;
    };
    while (!finished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (giveUp()) {
            std::unique_lock<std::mutex> lock(state->mutex);
            if (!state->done) {
                state->abandoned = true;
                lock.unlock();
                keepUntilDone(std::move(worker));
                return std::nullopt;
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    worker.join();
    if (state->failure)
        std::rethrow_exception(state->failure);
    return std::move(state->result);
}

} // namespace UnoCalls
