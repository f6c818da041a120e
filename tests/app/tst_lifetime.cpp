#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

// glibc keeps freed blocks in per-thread caches and fast bins that its counters report as in
// use; without them the heap in use is exact, so a round that leaves anything behind shows.
const QByteArray ExactHeap = "glibc.malloc.tcache_count=0:glibc.malloc.mxfast=0";

// Heap in use after the first and after the last round of one driver run; empty when the
// driver could not count (the sanitizer's allocator keeps its own books).
QList<qint64> heapAfter(const QString &mode, int rounds, QString *problem)
{
    QProcess driver;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("GLIBC_TUNABLES", ExactHeap);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    driver.setProcessEnvironment(env);
    driver.start(QStringLiteral(JESD_LIFETIME_DRIVER), {mode, QString::number(rounds)});
    if (!driver.waitForFinished(300000) || driver.exitCode() != 0) {
        *problem = QString::fromUtf8(driver.readAllStandardError());
        return {};
    }
    static const QRegularExpression figures(
        QStringLiteral("after the first (\\d+) bytes, after the last (\\d+) bytes"));
    const QRegularExpressionMatch match =
        figures.match(QString::fromUtf8(driver.readAllStandardError()));
    if (!match.hasMatch())
        return {};
    return {match.captured(1).toLongLong(), match.captured(2).toLongLong()};
}

} // namespace

// Repeated rounds must leave the heap as the first round left it: the same bytes in use after
// N rounds and after 2N. A leaked dialog, protocol or package would add kilobytes a round.
class LifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void heapStaysFlat_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("plug-in load, protocols, generate, resources, unload") << "plugin";
        QTest::newRow("dialog construction, initDialog, restore") << "dialog";
    }

    void heapStaysFlat()
    {
        QFETCH(QString, mode);
        constexpr int Rounds = 20;
        QString problem;
        const QList<qint64> n = heapAfter(mode, Rounds, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        if (n.isEmpty())
            QSKIP("the allocator in use does not count its heap (sanitizer build)");
        const QList<qint64> twice = heapAfter(mode, 2 * Rounds, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(twice.size(), 2);
        // What rounds 2..N added must not grow with N. Runs differ by a few bytes (names of
        // temporary directories); the smallest block leaked each round would add 32 bytes a round,
        // 640 over the extra rounds.
        const qint64 grownN = n.at(1) - n.at(0);
        const qint64 grown2N = twice.at(1) - twice.at(0);
        QVERIFY2(
            qAbs(grown2N - grownN) <= 256,
            qPrintable(QString::asprintf("rounds 2..%d left %lld bytes, rounds 2..%d left %lld",
                                         Rounds, grownN, 2 * Rounds, grown2N)));
    }
};

QTEST_GUILESS_MAIN(LifetimeTest)
#include "tst_lifetime.moc"
