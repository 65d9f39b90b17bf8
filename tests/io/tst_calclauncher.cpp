// Reaching LibreOffice and letting it go, against a real, headless office with a private
// profile: the calls that keep the window live, the pipe, and which office is ever ended.

#include "CalcApplication.h"
#include "CalcCells.h"
#include "CalcTestTools.h"
#include "ExcelContext.h"
#include "ExcelImport.h"
#include "Failure.h"
#include "ItemList.h"
#include "LibreOfficeLauncher.h"
#include "ListTestHost.h"
#include "UnoCalls.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSheetFilterDescriptor.hpp>
#include <com/sun/star/sheet/XSheetFilterable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sys/types.h>
#include <thread>

Q_DECLARE_METATYPE(CellBlock)

using namespace css;
using namespace CalcCells;

class CalcLauncherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void missingOfficeIsToldAtOnce();
    void officeGoneIsOneFailure_data();
    void officeGoneIsOneFailure();
    void aCallGivenUpOnEndsInItsLeftOver();
    void onePipePerProfile();
    void anOfficeWeStartedWithNothingShownIsEnded();
    void anOfficeWeStartedForAWorkbookGivenUpOnIsEnded_data();
    void anOfficeWeStartedForAWorkbookGivenUpOnIsEnded();
    void theUsersOwnOfficeIsNeverEnded_data();
    void theUsersOwnOfficeIsNeverEnded();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<LibreOfficeLauncher> m_launcher;
    QString m_ods;
};

void CalcLauncherTest::initTestCase()
{
    m_launcher = privateHeadlessOffice(m_folder.filePath(QStringLiteral("profile")));
    QVERIFY2(m_launcher->isInstalled(),
             "LibreOffice is not installed (scripts/install-deps installs it)");
    m_ods = makeSampleWorkbook(*m_launcher, "calc8", m_folder.filePath(QStringLiteral("book.ods")));
}

void CalcLauncherTest::cleanupTestCase()
{
    if (m_launcher)
        m_launcher->terminatePrivateOffice();
}

void CalcLauncherTest::missingOfficeIsToldAtOnce()
{
    LibreOfficeLauncher::Options options;
    options.soffice = m_folder.filePath(QStringLiteral("no-such-soffice"));
    LibreOfficeLauncher missing(options);
    QVERIFY(!missing.isInstalled());
    QVERIFY_THROWS_EXCEPTION(Failure, missing.CreateObject());
}

void CalcLauncherTest::officeGoneIsOneFailure_data()
{
    QTest::addColumn<QString>("thrown"); // "disposed", or a RuntimeException's message
    QTest::addColumn<bool>("gone");
    QTest::newRow("a disposed object") << "disposed" << true;
    QTest::newRow("the bridge ended during the call")
        << "Binary URP bridge disposed during call at ./binaryurp/source/bridge.cxx:615" << true;
    QTest::newRow("another failure") << "no such property" << false;
}

void CalcLauncherTest::officeGoneIsOneFailure()
{
    QFETCH(QString, thrown);
    QFETCH(bool, gone);
    try {
        UnoCalls::unoCall([&] {
            if (thrown == u"disposed")
                throw lang::DisposedException();
            throw uno::RuntimeException(toOUString(thrown));
        });
        QFAIL("no failure");
    } catch (const Failure &failure) {
        QCOMPARE(failure.number() == kSpreadsheetGone, gone);
        QCOMPARE(failure.description() == u"LibreOffice Calc is no longer running", gone);
    }
}

void CalcLauncherTest::aCallGivenUpOnEndsInItsLeftOver()
{
    const auto slowSeven = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return 7;
    };
    std::atomic<int> leftOver{0};
    const auto keep = [&](int &value) { leftOver = value; };
    QCOMPARE(UnoCalls::unoCallUnlessGivenUp<int>(slowSeven, keep, [] { return false; }), 7);
    QCOMPARE(leftOver.load(), 0);
    // Given up on: the wait ends at once, and the result goes to the left-over handler.
    QVERIFY(!UnoCalls::unoCallUnlessGivenUp<int>(slowSeven, keep, [] { return true; }));
    QTRY_COMPARE(leftOver.load(), 7);
}

void CalcLauncherTest::onePipePerProfile()
{
    // The user's own profile lives under the configuration folder: another home, another
    // profile, another office.
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir first, second;
    qputenv("XDG_CONFIG_HOME", first.path().toLocal8Bit());
    const QString firstName = LibreOfficeLauncher().pipeName();
    QCOMPARE(LibreOfficeLauncher().pipeName(), firstName);
    qputenv("XDG_CONFIG_HOME", second.path().toLocal8Bit());
    const QString secondName = LibreOfficeLauncher().pipeName();
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
    QVERIFY(firstName != secondName);
    QVERIFY(m_launcher->pipeName() != firstName && m_launcher->pipeName() != secondName);
}

void CalcLauncherTest::anOfficeWeStartedWithNothingShownIsEnded()
{
    LibreOfficeLauncher::Options options;
    options.profileFolder = m_folder.filePath(QStringLiteral("own-profile"));
    options.headless = true;

    try {
        // The user's office (started by another launcher of the same profile) is never ended.
        LibreOfficeLauncher users(options);
        users.CreateObject();
        const auto endOffice = qScopeGuard([&] { users.terminatePrivateOffice(); });
        LibreOfficeLauncher ours(options);
        {
            std::unique_ptr<ExcelApplication> app = ours.CreateObject();
            QVERIFY_THROWS_EXCEPTION(Failure, app->WorkbooksOpen(m_folder.filePath("none.xlsx")));
        }
        ours.release();
        // A busy office may refuse connections for a while (on a loaded machine, seconds on
        // end); one that was ended never answers.
        QTRY_VERIFY_WITH_TIMEOUT(ours.officeAnswers(), 30000);

        // One it started, and that shows nothing (the file was no workbook), it ends.
        users.release(); // the one that started it, now with nothing shown
        QVERIFY(!users.officeAnswers());
        // It is gone when release() returns: the next command starts one anew and works.
        std::unique_ptr<ExcelApplication> next = users.CreateObject();
        next->WorkbooksAdd();
        next->setColumnTexts(1, 1, {QStringLiteral("after")});
        uno::Reference<util::XCloseable>(static_cast<CalcApplication &>(*next).workbook(),
                                         uno::UNO_QUERY_THROW)
            ->close(true);
        next.reset();
        users.terminatePrivateOffice();
    } catch (const Failure &failure) {
        QFAIL(qPrintable(failure.description()));
    }
}

void CalcLauncherTest::anOfficeWeStartedForAWorkbookGivenUpOnIsEnded_data()
{
    QTest::addColumn<bool>("passwordCancelled"); // else the wait for the workbook ended
    QTest::newRow("the wait ended") << false;
    QTest::newRow("the password box cancelled") << true;
}

void CalcLauncherTest::anOfficeWeStartedForAWorkbookGivenUpOnIsEnded()
{
    QFETCH(bool, passwordCancelled);
    const QString locked = makeLockedWorkbook(
        *m_launcher, "calc8", m_folder.filePath(QStringLiteral("locked.ods")), "pw");
    LibreOfficeLauncher::Options options;
    options.profileFolder = m_folder.filePath(QStringLiteral("given-up"));
    options.headless = true;
    LibreOfficeLauncher ours(options);
    const auto endOffice = qScopeGuard([&] { ours.terminatePrivateOffice(); });
    try {
        {
            std::unique_ptr<ExcelApplication> app = ours.CreateObject();
            // The headless office's password box is cancelled as it shows.
            if (!passwordCancelled)
                app->giveUpWaiting = [] { return true; };
            try {
                app->WorkbooksOpen(passwordCancelled ? locked : m_ods);
            } catch (const Failure &failure) {
                QCOMPARE(failure.number(), passwordCancelled ? kSpreadsheetPasswordNotGiven
                                                             : kSpreadsheetWaitGivenUp);
            }
        }
        // Let go while the workbook may still be opening: the office ends once it is through
        // (on a loaded machine, half a minute and more).
        ours.release();
        QTRY_VERIFY_WITH_TIMEOUT(!ours.officeAnswers(), 90000);
    } catch (const Failure &failure) {
        QFAIL(qPrintable(failure.description()));
    }
}

void CalcLauncherTest::theUsersOwnOfficeIsNeverEnded_data()
{
    QTest::addColumn<bool>("withDocument");
    QTest::newRow("showing nothing") << false;
    QTest::newRow("with a document open") << true;
}

void CalcLauncherTest::theUsersOwnOfficeIsNeverEnded()
{
    // The user started the office of this profile themselves (it has no pipe of ours). The
    // office started for an import hands over to it; when the import fails, release() must
    // leave it running, as it is the user's.
    QFETCH(bool, withDocument);
    const QString profile = m_folder.filePath(withDocument ? QStringLiteral("users-doc")
                                                           : QStringLiteral("users-bare"));
    QStringList arguments = {
        QStringLiteral("--headless"), QStringLiteral("--nologo"), QStringLiteral("--norestore"),
        QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString()};
    if (withDocument)
        arguments.append(m_ods);
    qint64 users = 0;
    QVERIFY(QProcess::startDetached(m_launcher->sofficePath(), arguments, QString(), &users));
    const auto endUsersOffice = qScopeGuard([&] { ::kill(pid_t(users), SIGTERM); });
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(profile + QStringLiteral("/.lock")), 60000);
    QTest::qWait(1000);

    LibreOfficeLauncher::Options options;
    options.profileFolder = profile;
    options.headless = true;
    LibreOfficeLauncher ours(options);
    try {
        {
            std::unique_ptr<ExcelApplication> app = ours.CreateObject();
            const QString damaged = m_folder.filePath(QStringLiteral("damaged.xlsx"));
            QFile file(damaged);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("PK\x03\x04 not a workbook at all"));
            file.close();
            QVERIFY_THROWS_EXCEPTION(Failure, app->WorkbooksOpen(damaged));
        }
        ours.release();
        QTRY_VERIFY_WITH_TIMEOUT(ours.officeAnswers(), 10000);
        QCOMPARE(::kill(pid_t(users), 0), 0); // the user's office runs on
        ours.CreateObject();
        ours.terminatePrivateOffice();
    } catch (const Failure &failure) {
        QFAIL(qPrintable(failure.description()));
    }
}

QTEST_GUILESS_MAIN(CalcLauncherTest)
#include "tst_calclauncher.moc"
