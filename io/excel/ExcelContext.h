#pragma once

#include "CancelWatch.h"
#include "ExcelLauncher.h"

#include <QString>

#include <functional>
#include <memory>

class Prompts;

// The mouse pointers the commands ask for through ExcelContext::setMousePointer.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;

// What the spreadsheet commands need besides the list.
struct ExcelContext
{
    ExcelLauncher &launcher;
    Prompts &prompts;
    QString appTitle;
    std::function<void(int)> setMousePointer;
    // Brings the program's window in front of the spreadsheet, once the block is read.
    std::function<void()> bringToFront = [] {};
    // Made as a wait the user may end begins, kept until it is over; none: waits run to
    // their end.
    std::function<std::unique_ptr<CancelWatch>()> watchCancel = nullptr;
};
