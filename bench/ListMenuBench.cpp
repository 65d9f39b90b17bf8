#include "ListMenuBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "GeneratedLists.h"
#include "ItemList.h"
#include "UndoHistory.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include <malloc.h>

#include <cstdio>
#include <vector>

// The context menu's commands on 1,000,000 items: undo of a large duplicate removal, the
// history's memory, check marks in bulk, the suppression list and find. Each figure stands
// beside a peer from the same run: the duplicate removal it undoes, or a plain pass over the
// items.
void benchListMenu(const QString &folder, int kItems)
{
    std::printf("context menu, %d items:\n", kItems);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    QStringList texts;
    texts.reserve(kItems);
    for (int i = 0; i < kItems; ++i)
        texts.append(QString::fromLatin1(itemText(quint32(i % (kItems / 2)))));
    fillList(form, texts);
    const double plainPass = millisecondsOf([&] {
        qsizetype characters = 0;
        for (qsizetype i = 0; i < form.items().count(); ++i)
            characters += form.items().text(i).size();
        if (characters == 0)
            std::puts("");
    });

    const double removal = millisecondsOf(
        [&] { window.control<QPushButton>("PushButton22")->click(); }); // sample + removal
    const qsizetype left = form.items().count();
    const double undo =
        millisecondsOf([&] { menuAction(form, QStringLiteral("Undo"))->trigger(); });
    std::printf("  duplicate removal of %lld items %8.1f ms; its undo %8.1f ms (%lld items back)\n",
                static_cast<long long>(kItems + 7 - left), removal, undo,
                static_cast<long long>(form.items().count()));
    menuAction(form, QStringLiteral("Redo"))->trigger();
    menuAction(form, QStringLiteral("Undo"))->trigger();

    // The history's memory: 20 steps of every kind, then what letting go of them gives back.
    // Filters that each take about one item in 170, so the list stays near its size.
    const QStringList filters = {"nils.kendal", "mona.jarrett", "kira.ivers", "lars.hensley"};
    for (int step = 0; step < 20; ++step) {
        switch (step % 5) {
        case 0:
            menuAction(form, QStringLiteral("Invert Check Marks"))->trigger();
            break;
        case 1:
            window.prompts.typed.push_back(filters[(step / 5) % filters.size()]);
            window.control<QPushButton>("PushButton17")->click();
            break;
        case 2:
            window.control<QLineEdit>("Text1")->setText(QStringLiteral("new %1").arg(step));
            window.control<QPushButton>("PushButton2")->click();
            break;
        case 3:
            window.control<QPushButton>("PushButton22")->click();
            break;
        default:
            menuAction(form, QStringLiteral("Check All Items"))->trigger();
            break;
        }
    }
    malloc_trim(0);
    const long withHistory = memoryKb("VmRSS");
    const qsizetype listSize = form.items().count();
    form.history().stack().clear();
    malloc_trim(0);
    const long without = memoryKb("VmRSS");
    std::printf("  history of the last 20 steps: %.1f MB (the list itself: %lld items)\n",
                double(withHistory - without) / 1024.0, static_cast<long long>(listSize));
    // The rest starts again from the whole list, as one step.
    form.items().clear();
    {
        const UndoHistory::Command fill(form.history(), QStringLiteral("Fill"));
        std::vector<QStringView> views(texts.begin(), texts.end());
        form.items().appendAll(views);
    }

    for (const char *command : {"Check All Items", "Uncheck All Items", "Invert Check Marks"}) {
        const Timing took =
            timePass([&] { menuAction(form, QString::fromLatin1(command))->trigger(); });
        print(command, kItems, took,
              QStringLiteral("(a plain pass over the items: %1 ms)").arg(plainPass, 0, 'f', 1));
        printUndoAndRedo(form, command, kItems);
        menuAction(form, QStringLiteral("Redo"))->trigger(); // the marks as they were set
    }
    window.prompts.typed.push_back(QStringLiteral("anna"));
    const Timing checkWith =
        timePass([&] { menuAction(form, QStringLiteral("Check Items With"))->trigger(); });
    print("Check Items With \"anna\"", kItems, checkWith);
    printUndoAndRedo(form, "Check Items With \"anna\"", kItems);

    const QString needle = form.items().text(form.items().count() - 1).toString();
    form.findChild<QAbstractItemView *>(QStringLiteral("ListView1"))
        ->setCurrentIndex(form.items().index(0, 0));
    window.prompts.typed.push_back(needle);
    const Timing findLast =
        timePass([&] { menuAction(form, QStringLiteral("Find..."))->trigger(); });
    print("Find, the last item", kItems, findLast);
    window.prompts.typed.push_back(QStringLiteral("no such text"));
    const Timing findNone =
        timePass([&] { menuAction(form, QStringLiteral("Find..."))->trigger(); });
    print("Find, a text nowhere", kItems, findNone);

    // A suppression file of 1,000,000 lines: every other distinct item, and as many that
    // are not in the list.
    const QString suppression = folder + QStringLiteral("/unsubscribed.txt");
    {
        QFile file(suppression);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(suppression));
        QByteArray buffer;
        for (int i = 0; i < kItems; ++i)
            buffer +=
                (i % 2 == 0 ? itemText(quint32(i / 2 * 2)) : "gone" + QByteArray::number(i)) + "\n";
        file.write(buffer);
    }
    window.fileDialogs.answers.push_back({suppression});
    const Timing suppress =
        timePass([&] { menuAction(form, QStringLiteral("Remove Items Listed"))->trigger(); });
    const QByteArray lines = QByteArray::number(kItems) + " lines";
    print(QByteArray("Remove Items Listed in File(s), " + lines).constData(), kItems, suppress,
          window.control<QWidget>("Label1")->property("text").toString());
    printUndoAndRedo(form, "Remove Items Listed in File(s)", kItems);
    window.fileDialogs.answers.push_back({suppression});
    const Timing keep =
        timePass([&] { menuAction(form, QStringLiteral("Keep Only Items Listed"))->trigger(); });
    print(QByteArray("Keep Only Items Listed in File(s), " + lines).constData(), kItems, keep,
          window.control<QWidget>("Label1")->property("text").toString());
    printUndoAndRedo(form, "Keep Only Items Listed in File(s)", kItems);

    // The clipboard and the selection, each beside its peer: copying all items beside a plain
    // pass over them, pasting them into an empty list beside loading the same lines from a
    // file, removing every selected item beside Clear All Items.
    auto *view = form.findChild<QAbstractItemView *>(QStringLiteral("ListView1"));
    view->selectAll();
    const Timing copy = timePass([&] { menuAction(form, QStringLiteral("Copy"))->trigger(); });
    print("Copy, every item selected", form.items().count(), copy,
          QStringLiteral("(a plain pass over the items: %1 ms)").arg(plainPass, 0, 'f', 1));
    const QString copied = QGuiApplication::clipboard()->text();
    const QString copiedFile = folder + QStringLiteral("/copied.txt");
    {
        QFile file(copiedFile);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(copiedFile));
        file.write(copied.toUtf8());
    }
    const Timing removeSelected =
        timePass([&] { window.control<QPushButton>("PushButton19")->click(); });
    print("Remove Selected Item, every item selected", kItems, removeSelected);
    printUndoAndRedo(form, "Remove Selected Item", kItems);

    // Sorting the million items beside GNU sort of the same lines (the copied file) in the
    // same locale, natural order as its -V.
    const Timing sorted =
        timePass([&] { menuAction(form, QStringLiteral("Sort A to Z"))->trigger(); });
    print("Sort A to Z", form.items().count(), sorted,
          QStringLiteral("(sort -V in the same locale: %1 s)")
              .arg(timeShell(QStringLiteral("sort -V \"$1\""), copiedFile), 0, 'f', 3));
    printUndoAndRedo(form, "Sort A to Z", kItems);
    menuAction(form, QStringLiteral("Redo"))->trigger(); // sorted, for Reverse Order
    const Timing reversed =
        timePass([&] { menuAction(form, QStringLiteral("Reverse Order"))->trigger(); });
    print("Reverse Order", form.items().count(), reversed,
          QStringLiteral("(tac: %1 s)")
              .arg(timeShell(QStringLiteral("tac \"$1\""), copiedFile), 0, 'f', 3));
    printUndoAndRedo(form, "Reverse Order", kItems);
    menuAction(form, QStringLiteral("Redo"))->trigger();
    menuAction(form, QStringLiteral("Undo"))->trigger();
    menuAction(form, QStringLiteral("Undo"))->trigger();
    const Timing clearAll = timePass([&] { window.control<QPushButton>("PushButton1")->click(); });
    print("  its peer: Clear All Items", kItems, clearAll);
    const Timing paste =
        timePass([&] { menuAction(form, QStringLiteral("Paste Items"))->trigger(); });
    print(QByteArray("Paste Items, " + lines + " into an empty list").constData(),
          form.items().count(), paste,
          QStringLiteral("%1 MB").arg(double(copied.size()) * 2 / 1e6, 0, 'f', 1));
    window.control<QPushButton>("PushButton1")->click();
    window.fileDialogs.answers.push_back({copiedFile});
    const Timing load = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("  its peer: Load List From Text File, the same lines", form.items().count(), load);
}
