#pragma once

// While it lives, the user can end the wait it was made for (Escape in the window).
class CancelWatch
{
public:
    virtual ~CancelWatch() = default;
    virtual bool asked() const = 0;
};
