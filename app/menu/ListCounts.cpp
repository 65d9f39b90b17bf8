#include "ListCounts.h"

#include "ItemList.h"
#include "Translations.h"

#include <QAction>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTableView>
#include <QToolTip>

#include <algorithm>
#include <climits>

ListCounts::ListCounts(QTableView &view, ItemList &items, QMenu &menu)
    : QObject(&menu), m_view(view), m_items(items), m_toolTip(view.toolTip())
{
    m_line = new QAction(&menu);
    m_line->setEnabled(false);
    const QList<QAction *> entries = menu.actions();
    QAction *first = entries.isEmpty() ? nullptr : entries.constFirst();
    menu.insertAction(first, m_line);
    menu.insertSeparator(first);

    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &ListCounts::update);
    const auto later = [this] { m_pending.start(); };
    connect(&items, &QAbstractItemModel::rowsInserted, this, later);
    connect(&items, &QAbstractItemModel::rowsRemoved, this, later);
    connect(&items, &QAbstractItemModel::modelReset, this, later);
    connect(&items, &QAbstractItemModel::layoutChanged, this, later);
    connect(&items, &QAbstractItemModel::dataChanged, this, later);
    // Whatever is pending, the menu opens with the counts as they are.
    connect(&menu, &QMenu::aboutToShow, this, &ListCounts::update);
    view.viewport()->installEventFilter(this);
    update();
}

bool ListCounts::eventFilter(QObject *watched, QEvent *event)
{
    // The list's own tooltip stays as it is; the counts are shown below it when it shows.
    if (event->type() == QEvent::ToolTip && watched == m_view.viewport()) {
        update();
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                           m_toolTip + u'\n' + m_line->text(), m_view.viewport());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString ListCounts::text(const ItemList &items)
{
    const QLocale numbers = Translations::numberLocale();
    const auto &checks = items.checks();
    const qsizetype checked = std::count(checks.begin(), checks.end(), quint8(1));
    // The plural forms go by the counts; the numbers are written as the language writes them.
    const auto form = [](qsizetype count) { return int(std::min<qsizetype>(count, INT_MAX)); };
    const int itemsForm = form(items.count());
    const int checkedForm = form(checked);
    const QString count = QCoreApplication::translate("Tarnwell", "%1 item(s)", nullptr, itemsForm)
                              .arg(numbers.toString(qlonglong(items.count())));
    return QCoreApplication::translate("Tarnwell", "%1, %2 checked", nullptr, checkedForm)
        .arg(count, numbers.toString(qlonglong(checked)));
}

void ListCounts::update()
{
    m_pending.stop();
    const QString counts = text(m_items);
    m_line->setText(counts);
    m_view.setAccessibleDescription(m_toolTip + u'\n' + counts);
}
