#include "NearGroupsView.h"

#include "NearGroupsModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Draws a member's differences from the kept item cut where they stay in sight; the style
// alone would cut a long "Name <address>" at its end, where a slip often is.
class DifferencesDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem fitted = option;
        initStyleOption(&fitted, index);
        const QWidget *widget = fitted.widget;
        const QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
        // The room the style lays the text out in.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const int room =
            style->subElementRect(QStyle::SE_ItemViewItemText, &fitted, widget).width() -
            2 * margin;
        fitted.text = NearGroupsView::fitDifferences(fitted.text, fitted.fontMetrics, room);
        style->drawControl(QStyle::CE_ItemViewItem, &fitted, painter, widget);
    }
};
} // namespace

NearGroupsView::NearGroupsView(NearGroupsModel &model, QWidget *parent)
    : QTreeView(parent), m_model(model), m_placeholder(new QLabel(viewport()))
{
    setObjectName(QStringLiteral("NearGroups"));
    setModel(&m_model);
    setUniformRowHeights(true); // 100,000 groups scroll without measuring each row
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTextElideMode(Qt::ElideRight);
    setItemDelegateForColumn(2, new DifferencesDelegate(this));
    // The texts and their differences share what room there is and are cut short; the Keep
    // column stays in sight.
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(2, QHeaderView::Stretch);
    setAccessibleName(QCoreApplication::translate("Tarnwell", "Near-duplicate groups"));
    connect(this, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.parent().isValid())
            choose(index);
    });

    // The note stands in the middle of the empty list, and lets clicks through.
    m_placeholder->setObjectName(QStringLiteral("NearGroupsPlaceholder"));
    m_placeholder->setWordWrap(true);
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setForegroundRole(QPalette::Text); // on the list's own background
    m_placeholder->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_placeholder->hide();
    auto *layout = new QVBoxLayout(viewport());
    layout->addWidget(m_placeholder);

    // Spanning is kept for the headings in sight only: the view holds a persistent index for
    // each row it spans, and a million groups would cost it a long pause after every reset.
    // It is done once after whatever asked for it: finding the rows in sight lays the view
    // out, and the dialog opens hundreds of groups after a reset, each of which would lay out
    // a hundred thousand rows again.
    m_spanning.setSingleShot(true);
    m_spanning.setInterval(0);
    connect(&m_spanning, &QTimer::timeout, this, &NearGroupsView::spanHeadingsInSight);
    const auto spanSoon = [this] { m_spanning.start(); };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, spanSoon);
    connect(this, &QTreeView::expanded, this, spanSoon);
    connect(this, &QTreeView::collapsed, this, spanSoon);
    connect(&m_model, &QAbstractItemModel::modelReset, this, spanSoon);
}

void NearGroupsView::setPlaceholder(const QString &text)
{
    m_placeholder->setText(text);
    m_placeholder->setVisible(!text.isEmpty());
    setAccessibleDescription(text);
}

QString NearGroupsView::placeholder() const
{
    return m_placeholder->isVisible() ? m_placeholder->text() : QString();
}

QString NearGroupsView::fitDifferences(const QString &marked, const QFontMetrics &metrics,
                                       int width)
{
    const qsizetype first = marked.indexOf(u'['), last = marked.lastIndexOf(u']');
    if (metrics.horizontalAdvance(marked) <= width || first < 0 || last < first)
        return marked; // the style cuts it at its end, as any other text
    const QString differences = marked.mid(first, last + 1 - first);
    const int room = width - metrics.horizontalAdvance(differences) - 2; // rounding's margin
    if (room <= 0)
        return metrics.elidedText(QChar(0x2026) + marked.mid(first), Qt::ElideRight, width);
    // What follows the differences gets half of what is left, or all that what precedes them
    // leaves; the rest shows the end of what precedes them, which says where they are.
    const QString before = marked.left(first);
    const QString after =
        metrics.elidedText(marked.mid(last + 1), Qt::ElideRight,
                           std::max(room / 2, room - metrics.horizontalAdvance(before)));
    return metrics.elidedText(before, Qt::ElideLeft, room - metrics.horizontalAdvance(after)) +
           differences + after;
}

void NearGroupsView::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    m_spanning.start();
}

void NearGroupsView::spanHeadingsInSight()
{
    const int bottom = viewport()->height();
    for (QModelIndex row = indexAt(QPoint(0, 0)); row.isValid() && visualRect(row).top() < bottom;
         row = indexBelow(row)) {
        if (!row.parent().isValid() && !isFirstColumnSpanned(row.row(), {}))
            setFirstColumnSpanned(row.row(), {}, true);
    }
}
void NearGroupsView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (currentIndex().isValid())
            choose(currentIndex());
        event->accept(); // Enter goes no further: the dialog's buttons stay unpressed
        return;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

void NearGroupsView::choose(const QModelIndex &index)
{
    if (index.parent().isValid())
        m_model.setKept(index.parent().row(), index.row());
    else
        m_model.setTicked(index.row(), !m_model.isTicked(index.row()));
}
