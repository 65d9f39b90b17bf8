#pragma once

#include "Fakes.h"
#include "ItemList.h"
#include "ListMenu.h"
#include "ListTestHost.h"
#include "MenuEntries.h"
#include "UndoHistory.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

// One thing the user does.
struct Op
{
    enum Kind {
        Add,
        RemoveSelected,
        DeleteKey,
        Clear,
        Sample,
        With,
        Without,
        Load,
        Suppress,
        CheckAll,
        UncheckAll,
        Invert,
        CheckWith,
        SortAToZ,
        Reverse,
        UpperCase,
        Tick,
        Undo,
        Redo,
    };
    Kind kind;
    QString text = QString(); // typed, or the file chosen
    int row = -1;             // made current first (Tick: ticked), -1 for none
};
struct State
{
    QStringList texts;
    QList<bool> checks;
    QString status;
    int current = -1;
    qsizetype rowsShown = 0; // the rows the view has been told of
    bool operator==(const State &other) const
    {
        return texts == other.texts && checks == other.checks && status == other.status &&
               current == other.current && rowsShown == other.rowsShown;
    }
};

Q_DECLARE_METATYPE(Op)

// Windows driven by the user's commands, each asked for at a chosen turn of another one, with
// private folders and settings for every test function: what the tests of whole steps and
// their history share.
class HistoryFixture
{
protected:
    std::unique_ptr<TestWindow> newWindow(bool slicedFinely) const;
    static State state(TestWindow &window);
    static QAction *action(TestWindow &window, const QString &startsWith);
    // Does `op` in `window`; `meanwhile` when another command runs (then it only asks).
    static void perform(TestWindow &window, const Op &op);
    // Does `first` in `window`, asking for `meanwhile` at the window's `turn`-th turn while it
    // runs (or after, if it has fewer); returns how many turns it had. The Delete key does
    // nothing under the hourglass: a press then is taken out of `meanwhile`.
    static int interrupt(TestWindow &window, const Op &first, std::vector<Op> &meanwhile, int turn);
    static void undoAllAndRedoAll(TestWindow &window);
    QString writeList(const QString &name, const QStringList &lines) const;

    std::unique_ptr<TestFolders> m_folders;
};

inline std::unique_ptr<TestWindow> HistoryFixture::newWindow(bool slicedFinely) const
{
    auto window = std::make_unique<TestWindow>(m_folders->program.path());
    if (slicedFinely) {
        // Every long step goes in many slices, with a turn of the window before each.
        window->form->setYieldInterval(0);
        window->form->items().setItemsPerRemovalSlice(8);
        window->form->items().setItemsPerInsertion(16);
    }
    return window;
}

inline State HistoryFixture::state(TestWindow &window)
{
    State result;
    const ItemList &items = window.form->items();
    result.texts = itemTexts(items);
    for (qsizetype i = 0; i < items.count(); ++i)
        result.checks.append(items.isChecked(i));
    result.status = window.control<QLabel>("Label1")->text();
    result.current = window.control<QTableView>("ListView1")->currentIndex().row();
    result.rowsShown = window.control<QTableView>("ListView1")->verticalHeader()->count();
    return result;
}

inline QAction *HistoryFixture::action(TestWindow &window, const QString &startsWith)
{
    return menuAction(*window.form, startsWith);
}

inline void HistoryFixture::perform(TestWindow &window, const Op &op)
{
    auto *view = window.control<QTableView>("ListView1");
    ItemList &items = window.form->items();
    if (op.row >= 0 && op.kind != Op::Tick && op.row < items.count())
        view->setCurrentIndex(items.index(op.row, 0));
    const auto click = [&](const char *name) { window.control<QPushButton>(name)->click(); };
    switch (op.kind) {
    case Op::Add:
        window.control<QLineEdit>("Text1")->setText(op.text);
        click("PushButton2");
        break;
    case Op::RemoveSelected:
        click("PushButton19");
        break;
    case Op::DeleteKey:
        QTest::keyClick(view, Qt::Key_Delete);
        break;
    case Op::Clear:
        click("PushButton1");
        break;
    case Op::Sample:
        click("PushButton22");
        break;
    case Op::With:
    case Op::Without:
        window.prompts.typed.push_back(op.text);
        click(op.kind == Op::With ? "PushButton17" : "PushButton16");
        break;
    case Op::Load:
        window.fileDialogs.answers.push_back({op.text});
        click("PushButton3");
        break;
    case Op::Suppress:
        window.fileDialogs.answers.push_back({op.text});
        action(window, QStringLiteral("Remove Items Listed"))->trigger();
        break;
    case Op::CheckWith:
        window.prompts.typed.push_back(op.text);
        action(window, QStringLiteral("Check Items With"))->trigger();
        break;
    case Op::CheckAll:
    case Op::UncheckAll:
    case Op::Invert:
    case Op::SortAToZ:
    case Op::Reverse:
    case Op::UpperCase: {
        // The list menu's entries that ask nothing.
        static const std::map<Op::Kind, const char *> entries = {
            {Op::CheckAll, "Check All Items"},  {Op::UncheckAll, "Uncheck All Items"},
            {Op::Invert, "Invert Check Marks"}, {Op::SortAToZ, "Sort A to Z"},
            {Op::Reverse, "Reverse Order"},     {Op::UpperCase, "Upper Case"}};
        action(window, QString::fromLatin1(entries.at(op.kind)))->trigger();
        break;
    }
    case Op::Tick:
        // As a click on the check box does it.
        if (op.row >= 0 && op.row < items.count()) {
            const QModelIndex index = items.index(op.row, 0);
            items.setData(index, items.isChecked(op.row) ? Qt::Unchecked : Qt::Checked,
                          Qt::CheckStateRole);
        }
        break;
    case Op::Undo:
    case Op::Redo: {
        // As the shortcut does while its entry is enabled (it may not be yet, while the step
        // to take back is still being made).
        ListMenu &menu = window.form->listMenu();
        const bool back = op.kind == Op::Undo;
        window.form->commands().run(back ? QStringLiteral("Undo") : QStringLiteral("Redo"),
                                    [&menu, back] { back ? menu.undo() : menu.redo(); });
        break;
    }
    }
}

inline int HistoryFixture::interrupt(TestWindow &window, const Op &first,
                                     std::vector<Op> &meanwhile, int turn)
{
    int turns = 0;
    bool asked = meanwhile.empty();
    QTimer turnCounter;
    QObject::connect(&turnCounter, &QTimer::timeout, [&] {
        if (turns++ != turn || asked)
            return;
        asked = true;
        const bool hourglass = window.form->mousePointer() == Form1::kPointerHourglass;
        for (const Op &op : meanwhile)
            perform(window, op);
        if (hourglass)
            meanwhile.erase(std::remove_if(meanwhile.begin(), meanwhile.end(),
                                           [](const Op &op) { return op.kind == Op::DeleteKey; }),
                            meanwhile.end());
    });
    turnCounter.start(0);
    perform(window, first);
    turnCounter.stop();
    if (!asked) {
        for (const Op &op : meanwhile)
            perform(window, op);
    }
    return turns;
}

inline QString HistoryFixture::writeList(const QString &name, const QStringList &lines) const
{
    const QString path = m_folders->program.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (const QString &line : lines)
        file.write(line.toUtf8() + "\r\n");
    return path;
}

inline void HistoryFixture::undoAllAndRedoAll(TestWindow &window)
{
    // Everything taken back gives the empty list; everything made again the end.
    const State end = state(window);
    QUndoStack &stack = window.form->history().stack();
    int undone = 0;
    for (; stack.canUndo(); ++undone)
        perform(window, {Op::Undo});
    QVERIFY(window.form->items().count() == 0);
    for (; undone > 0; --undone)
        perform(window, {Op::Redo});
    QCOMPARE(state(window).texts, end.texts);
    QCOMPARE(state(window).checks, end.checks);
}
