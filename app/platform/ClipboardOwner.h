#pragma once

#include <chrono>

// Whether the program holding the clipboard answers, asked on a connection of its own so
// that the window need not wait: reading the clipboard through Qt waits up to five seconds
// for each of several formats, the window still, when that program hangs.
namespace ClipboardOwner {

enum class Answer {
    Answered,  // it offered its formats: reading the clipboard will not hang
    NoOwner,   // no program holds the clipboard
    NoAnswer,  // it did not answer within the time given
    CannotAsk, // not on X11, or the display cannot be reached: read as usual
};

// Blocks for at most `timeout`: call it from a thread of its own.
Answer ask(std::chrono::milliseconds timeout);

} // namespace ClipboardOwner
