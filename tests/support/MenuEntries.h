#pragma once

#include "Form1.h"
#include "ListMenu.h"

#include <QAction>
#include <QMenu>
#include <QString>

// The entry of the list's menu, or of one of its submenus, whose text without its mnemonic
// starts with `startsWith`; the program ends when there is none.
inline QAction *menuAction(Form1 &form, const QString &startsWith)
{
    QList<QAction *> actions = form.listMenu().menu().actions();
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (actions[i]->menu() != nullptr)
            actions += actions[i]->menu()->actions();
        else if (QString(actions[i]->text()).remove(u'&').startsWith(startsWith))
            return actions[i];
    }
    qFatal("no menu entry %s", qPrintable(startsWith));
}
