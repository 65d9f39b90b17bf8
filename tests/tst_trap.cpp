#include <QTest>
class TrapTest : public QObject { Q_OBJECT };
QTEST_MAIN(TrapTest)
#include "tst_trap.moc"
