#include "RecoveryOffer.h"

#include "ItemList.h"
#include "ListRecovery.h"
#include "Prompts.h"
#include "RecoveryRecord.h"
#include "UndoHistory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <algorithm>

namespace {

// The time the list was kept, with its day when that was not today.
QString keptAt(qint64 msecs)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(msecs).toLocalTime();
    const QLocale locale;
    const bool today = when.date() == QDate::currentDate();
    // With no language set, the C locale's short form would give the seconds too.
    if (locale.language() == QLocale::C)
        return when.toString(today ? QStringLiteral("HH:mm") : QStringLiteral("yyyy-MM-dd HH:mm"));
    if (today)
        return locale.toString(when.time(), QLocale::ShortFormat);
    return locale.toString(when, QLocale::ShortFormat);
}

// A record that cannot be restored is kept under another name, and not offered again.
void setAside(const QString &path)
{
    const QString aside = path + QStringLiteral(".unread");
    QFile::remove(aside);
    QFile::rename(path, aside);
}

} // namespace

void offerLeftLists(ListRecovery &recovery, ItemList &items, UndoHistory &history,
                    const OfferWindow &window)
{
    for (LeftRecord &left : recovery.leftRecords()) {
        RecoveryRecord::Reading reading = RecoveryRecord::read(left.path, window.yield);
        switch (reading.outcome) {
        case RecoveryRecord::Outcome::Damaged:
            setAside(left.path);
            window.prompts.messageBox(
                QCoreApplication::translate(
                    "Tarnwell",
                    "Tarnwell did not close normally, but the list it kept then is damaged and "
                    "cannot be restored."),
                Prompts::Style::OkOnly, window.title);
            continue;
        case RecoveryRecord::Outcome::OtherVersion:
            setAside(left.path);
            window.prompts.messageBox(
                QCoreApplication::translate(
                    "Tarnwell",
                    "Tarnwell did not close normally, but the list it kept then was written by "
                    "another version of Tarnwell and cannot be read by this one. It is left in "
                    "%1.")
                    .arg(left.path + QStringLiteral(".unread")),
                Prompts::Style::OkOnly, window.title);
            continue;
        case RecoveryRecord::Outcome::Unreadable:
            window.prompts.messageBox(
                QCoreApplication::translate(
                    "Tarnwell",
                    "Tarnwell did not close normally, but the list it kept then cannot be read: "
                    "%1")
                    .arg(reading.reason),
                Prompts::Style::OkOnly, window.title);
            continue;
        case RecoveryRecord::Outcome::Read:
            break;
        }
        KeptList &list = reading.list;
        const QString question =
            QCoreApplication::translate(
                "Tarnwell",
                "Tarnwell did not close normally. Restore the list from %1 (%Ln items, %2 "
                "checked)?",
                nullptr, int(list.texts.size()))
                .arg(keptAt(list.keptAtMs), QLocale().toString(qlonglong(list.checkedCount())));
        const Prompts::Answer answer = window.prompts.question(
            question, window.title, QCoreApplication::translate("Tarnwell", "&Restore"),
            QCoreApplication::translate("Tarnwell", "&Discard"));
        if (answer != Prompts::Answer::Yes) {
            QFile::remove(left.path);
            continue;
        }
        {
            const UndoHistory::Command step(
                history, QCoreApplication::translate("Tarnwell", "Restore List"));
            items.appendPool(list.texts);
            if (list.checkedCount() > 0) {
                // The marks of the items restored, the last of the list.
                std::vector<quint8> all = items.checks();
                std::copy(list.checks.begin(), list.checks.end(),
                          all.end() - qsizetype(list.checks.size()));
                items.replaceChecks(std::move(all));
            }
        }
        window.setCaseButtons(list.ignoreCase, list.matchCase);
        recovery.adopt(std::move(left));
        recovery.listMayHaveChanged();
        return;
    }
}
