#include "TidyBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "GeneratedLists.h"
#include "ItemList.h"
#include "ListMenu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRandomGenerator>

#include <cstdio>

namespace {

// An entry of the list menu's submenu `submenu`.
QAction *submenuAction(Form1 &form, const QString &submenu, const QString &text)
{
    for (QAction *action : form.listMenu().menu().actions()) {
        if (action->menu() == nullptr || QString(action->text()).remove(u'&') != submenu)
            continue;
        for (QAction *entry : action->menu()->actions()) {
            if (QString(entry->text()).remove(u'&') == text)
                return entry;
        }
    }
    qFatal("no menu entry %s", qPrintable(text));
}

} // namespace

void benchTidy(const QString &folder, int kItems)
{
    std::printf("Tidy, %d items:\n", kItems);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    QRandomGenerator random(7);
    QStringList texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
        QString text = QString::fromLatin1(itemText(quint32(i)));
        switch (random.bounded(33)) {
        case 0:
            text.prepend(u' ');
            break;
        case 1:
            text.append(u'\t');
            break;
        case 2:
            text.insert(4, QChar(0x00A0));
            break;
        case 3:
            text.insert(2, QChar(0x200B));
            break;
        case 4:
            text = text.toUpper();
            break;
        case 5:
            text = QStringLiteral("  ");
            break;
        default:
            break;
        }
        texts.append(text);
    }
    fillList(form, texts);
    const double copy = copyEveryTextMs(form);
    for (const char *command :
         {"Trim Blanks", "Collapse Inner Blanks", "Remove Invisible Characters",
          "Remove Empty Items", "Lower Case", "Upper Case"}) {
        const Timing timing = timePass([&] {
            submenuAction(form, QStringLiteral("Tidy"), QString::fromLatin1(command))->trigger();
        });
        const QString status = window.control<QLabel>("Label1")->text();
        print(command, kItems, timing,
              QStringLiteral("(a copy of every text: %1 s) %2")
                  .arg(copy / 1000.0, 0, 'f', 3)
                  .arg(status));
        printUndoAndRedo(form, command, kItems);
        if (form.items().count() != kItems)
            qFatal("undo of %s left %lld items", command,
                   static_cast<long long>(form.items().count()));
    }
}
