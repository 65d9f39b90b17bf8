#pragma once

#include "ListHost.h"

#include <QString>

class CommandQueue;
class QWidget;

// What the list menu's commands need from the window they run in, beyond what the
// whole-list procedures need: the pointer, the queue commands wait their turn in, the title
// boxes carry, and the window itself, as the parent of dialogs and the owner of shortcuts.
class CommandHost : public ListHost
{
public:
    // The hourglass while a command works; the usual pointer again when it ends.
    virtual void showHourglass(bool on) = 0;
    virtual CommandQueue &commands() = 0;
    virtual const QString &appTitle() const = 0;
    virtual QWidget &hostWidget() = 0;
};
