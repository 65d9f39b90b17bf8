#include "ErrorReporter.h"
#include "FakePrompts.h"
#include "Trap.h"

#include <QTest>

class TrapTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportText_data();
    void reportText();
    void reportIsAWarningTitledApplicationError();
    void goesOnAfterAFailingStep_data();
    void goesOnAfterAFailingStep();
    void failingConditionRunsItsBody();
    void foreignExceptionsAreReportedToo();
};

void TrapTest::reportText_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("location");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("clear command, line 104")
        << "File not found"
        << "Form1.PushButton1_Click" << 104
        << QByteArray("File not found\r\nin Quorlent2021/08/31.Form1.PushButton1_Click at line "
                      "104\r\rPlease email screenshot of this message to support@tarnwell.example");
    QTest::newRow("empty description, line 0")
        << ""
        << "List.RemoveDupesAll" << 0
        << QByteArray("\r\nin Quorlent2021/08/31.List.RemoveDupesAll at line 0\r\rPlease email "
                      "screenshot of this message to support@tarnwell.example");
}

void TrapTest::reportText()
{
    QFETCH(QString, description);
    QFETCH(QString, location);
    QFETCH(int, line);
    QFETCH(QByteArray, expected);
    QCOMPARE(errorReportText(description, location, line).toUtf8(), expected);
}

void TrapTest::reportIsAWarningTitledApplicationError()
{
    FakePrompts prompts;
    ErrorReporter reporter(prompts);
    reporter.report(QStringLiteral("Form1.Form_Load"), 100, QStringLiteral("Bad skin"));
    QCOMPARE(prompts.shown.size(), size_t(1));
    QCOMPARE(prompts.shown[0].title, QStringLiteral("Application Error"));
    QCOMPARE(prompts.shown[0].style, Prompts::Style::ErrorReport);
    QVERIFY(prompts.shown[0].text.startsWith(QStringLiteral("Bad skin\r\nin Quorlent")));
}

void TrapTest::goesOnAfterAFailingStep_data()
{
    QTest::addColumn<QList<int>>("failingLines");
    QTest::addColumn<QStringList>("expectedLines");

    QTest::newRow("none fails") << QList<int>{} << QStringList{};
    QTest::newRow("first step fails") << QList<int>{100} << QStringList{"at line 100"};
    QTest::newRow("two steps fail")
        << QList<int>{102, 106} << QStringList{"at line 102", "at line 106"};
}

void TrapTest::goesOnAfterAFailingStep()
{
    QFETCH(QList<int>, failingLines);
    QFETCH(QStringList, expectedLines);

    FakePrompts prompts;
    ErrorReporter reporter(prompts);
    Trap trap(reporter, QStringLiteral("Form1.PushButton2_Click"));
    QList<int> ran;
    for (int line : {100, 102, 104, 106}) {
        trap.line(line, [&] {
            if (failingLines.contains(line))
                throw Failure(QStringLiteral("step failed"));
            ran.append(line);
        });
    }
    QCOMPARE(ran.size(), 4 - failingLines.size());
    const QStringList reports = prompts.errorReports();
    QCOMPARE(reports.size(), expectedLines.size());
    for (qsizetype i = 0; i < reports.size(); ++i) {
        QVERIFY2(reports[i].contains(u"Form1.PushButton2_Click " + expectedLines[i] + u"\r\r"),
                 qPrintable(reports[i]));
    }
}

void TrapTest::failingConditionRunsItsBody()
{
    FakePrompts prompts;
    ErrorReporter reporter(prompts);
    Trap trap(reporter, QStringLiteral("Form1.PushButton19_Click"));
    bool bodyRan = false;
    if (trap.test(102, []() -> bool { throw Failure(QStringLiteral("no current item")); }))
        bodyRan = true;
    QVERIFY(bodyRan);
    QCOMPARE(prompts.errorReports().size(), 1);
    QVERIFY(prompts.errorReports()[0].contains(QStringLiteral("at line 102")));
    QVERIFY(!trap.test(104, [] { return false; }));
}

void TrapTest::foreignExceptionsAreReportedToo()
{
    FakePrompts prompts;
    ErrorReporter reporter(prompts);
    Trap trap(reporter, QStringLiteral("List.RemoveDupesAll"));
    QVERIFY(!trap.line(148, [] { throw std::bad_alloc(); }));
    QVERIFY(!trap.line(156, [] { throw std::runtime_error("disk on fire"); }));
    const QStringList reports = prompts.errorReports();
    QCOMPARE(reports.size(), 2);
    QVERIFY(reports[0].startsWith(QStringLiteral("Out of memory\r\n")));
    QVERIFY(reports[1].startsWith(QStringLiteral("disk on fire\r\n")));
}

QTEST_GUILESS_MAIN(TrapTest)
#include "tst_trap.moc"
