#include "CommandsBench.h"

#include "BenchTools.h"
#include "Fakes.h"
#include "ItemList.h"
#include "List.h"
#include "TextFileImport.h"
#include "UndoHistory.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>

// Each command on its own over one list file, with the longest event-loop gap it leaves.
void benchCommands(const QString &folder, const QString &listPath)
{
    std::printf("list file: %s (%.1f MB)\n", qPrintable(listPath),
                double(QFile(listPath).size()) / 1e6);
    TestWindow window(folder);
    Form1 &form = *window.form;
    form.show();
    auto *ignoreCase = window.control<QRadioButton>("Option1");
    auto *matchCase = window.control<QRadioButton>("Option2");
    ItemList &items = form.items();

    // Loading alone, then duplicate removal alone, under each option.
    qsizetype count = 0;
    Timing load = timePass([&] { List::TextFileToListview(items, listPath, form); });
    count = items.count();
    print("load file into the list", count, load);

    matchCase->setChecked(true);
    Timing dedupeMatch = timePass([&] { List::RemoveDupesAll(items, form); });
    print("RemoveDupesAll, Match case", count, dedupeMatch,
          QStringLiteral("%1 items left").arg(items.count()));
    std::printf("  status: %s\n",
                qPrintable(window.control<QWidget>("Label1")->property("text").toString()));

    items.clear();
    List::TextFileToListview(items, listPath, form);
    ignoreCase->setChecked(true);
    Timing dedupeIgnore = timePass([&] { List::RemoveDupesAll(items, form); });
    print("RemoveDupesAll, Ignore case", count, dedupeIgnore,
          QStringLiteral("%1 items left").arg(items.count()));

    items.clear();
    List::TextFileToListview(items, listPath, form);
    Timing with = timePass([&] { List::RemoveItemsWith(items, QStringLiteral("7"), form); });
    print("RemoveItemsWith \"7\"", count, with, QStringLiteral("%1 items left").arg(items.count()));

    items.clear();
    List::TextFileToListview(items, listPath, form);
    Timing without;
    {
        const UndoHistory::Command step(form.history(), QStringLiteral("Remove Items Without"));
        without = timePass([&] { List::RemoveItemsWithout(items, QStringLiteral(".com"), form); });
    }
    print("RemoveItemsWithout \".com\"", count, without,
          QStringLiteral("%1 items left").arg(items.count()));
    // Undo, then Redo, of the step just taken, from the context menu.
    const auto undoAndRedo = [&](const QString &afterUndo) {
        const Timing undo = timePass([&] { menuAction(form, QStringLiteral("Undo"))->trigger(); });
        print("  its undo", count, undo,
              QStringLiteral("%1 items %2").arg(items.count()).arg(afterUndo));
        const Timing redo = timePass([&] { menuAction(form, QStringLiteral("Redo"))->trigger(); });
        print("  its redo", count, redo, QStringLiteral("%1 items left").arg(items.count()));
    };
    undoAndRedo(QStringLiteral("back"));
    const Timing clearAll = timePass([&] { window.control<QPushButton>("PushButton1")->click(); });
    print("Clear All Items", count, clearAll);

    // The commands as a user runs them.
    items.clear();
    matchCase->setChecked(true);
    window.fileDialogs.answers.push_back({listPath});
    Timing loadCommand = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("Load List From Text File (Match case)", count, loadCommand,
          QStringLiteral("%1 items left").arg(items.count()));
    undoAndRedo(QStringLiteral("left"));

    // The same onto a list that already holds an item.
    window.control<QPushButton>("PushButton1")->click();
    items.append(u"already there");
    window.fileDialogs.answers.push_back({listPath});
    const Timing loadOnto = timePass([&] { window.control<QPushButton>("PushButton3")->click(); });
    print("Load List From Text File onto one item", count, loadOnto,
          QStringLiteral("%1 items left").arg(items.count()));
    undoAndRedo(QStringLiteral("left"));

    const QString savePath = QDir(folder).filePath(QStringLiteral("saved.txt"));
    window.fileDialogs.answers.push_back({savePath});
    const qsizetype saved = items.count();
    Timing save = timePass([&] { window.control<QPushButton>("PushButton20")->click(); });
    print("Save List To Text File", saved, save,
          QStringLiteral("%1 MB").arg(double(QFile(savePath).size()) / 1e6, 0, 'f', 1));

    const double pipeline = timePipeline(listPath);
    std::printf("%-44s %8.3f s %10.2f M items/s\n", "tac FILE | awk '!s[$0]++' | tac", pipeline,
                double(count) / pipeline / 1e6);
    std::printf("pipeline / RemoveDupesAll (Match case): %.1fx\n", pipeline / dedupeMatch.seconds);
    std::printf("pipeline / RemoveDupesAll (Ignore case): %.1fx\n",
                pipeline / dedupeIgnore.seconds);
    std::printf("pipeline / load file into the list: %.1fx\n", pipeline / load.seconds);
    std::printf("pipeline / Load List From Text File: %.1fx\n", pipeline / loadCommand.seconds);
    std::printf("peak memory: %ld MB\n", peakMemoryMb());
}
