#pragma once

#include "ExcelApplication.h"

#include <functional>
#include <memory>

// Reaches the spreadsheet application.
class ExcelLauncher
{
public:
    virtual ~ExcelLauncher() = default;
    // True when the application is there to be started or reached.
    virtual bool isInstalled() = 0;
    // A new application object; throws Failure when the application cannot be reached.
    virtual std::unique_ptr<ExcelApplication> CreateObject() = 0;
    // The command is done with the application: one that this launcher started and that
    // shows no document now is ended. One the user had running is never ended.
    virtual void release() {}

    // Called once when the application has to be started first, which takes a while.
    std::function<void()> whileStarting;
    // Asked while waiting for the application to start: true gives up the wait (the window
    // was closed).
    std::function<bool()> stopWaiting;
};
