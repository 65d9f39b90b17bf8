#include "NearGroupsView.h"

#include "NearGroupsModel.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>

NearGroupsView::NearGroupsView(NearGroupsModel &model, QWidget *parent)
    : QTreeView(parent), m_model(model)
{
    setObjectName(QStringLiteral("NearGroups"));
    setModel(&m_model);
    setUniformRowHeights(true); // 100,000 groups scroll without measuring each row
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTextElideMode(Qt::ElideRight);
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
