#pragma once

#include "ListHost.h"
#include "YieldPacing.h"

#include <atomic>
#include <exception>
#include <thread>

// Runs work(0) and work(1) on two threads of their own while the window takes its turns (with
// onTurn() at each look), until both are through: true; or until giveUp() says so at a turn:
// false. The threads are told to stop through `stop`, and joined, however this ends: a thread
// that could not start, or a failure while the window takes its turns, ends nothing. A
// failure on either thread (out of memory) stops the other and is thrown here, on the
// window's.
template <typename Work, typename OnTurn, typename GiveUp>
bool workOnTwoThreads(ListHost &host, std::atomic<bool> &stop, const Work &work,
                      const OnTurn &onTurn, const GiveUp &giveUp)
{
    std::atomic<int> done{0};
    std::exception_ptr failed[2];
    const auto run = [&](int thread) {
        try {
            work(thread);
        } catch (...) {
            failed[thread] = std::current_exception();
            stop = true;
        }
        ++done;
    };
    bool finished = false;
    {
        std::thread threads[2];
        const auto joinBoth = [&] {
            stop = true;
            for (std::thread &thread : threads) {
                if (thread.joinable())
                    thread.join();
            }
        };
        try {
            threads[1] = std::thread(run, 1);
            threads[0] = std::thread(run, 0);
            finished = waitTakingTurns(
                host,
                [&] {
                    onTurn();
                    return done == 2;
                },
                giveUp);
        } catch (...) {
            joinBoth();
            throw;
        }
        joinBoth();
    }
    for (const std::exception_ptr &failure : failed) {
        if (failure)
            std::rethrow_exception(failure);
    }
    return finished;
}
