#include "lifetimecycles.h"
#include "testpaths.h"

#include <idecore.h>
#include <serdes.h>

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#if defined(__SANITIZE_ADDRESS__)
#define JESD_HEAP_COUNTERS_REPLACED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define JESD_HEAP_COUNTERS_REPLACED 1
#endif
#endif

namespace {

// After the warm-up, a second batch of rounds may not grow the heap more than this a round:
// room for the allocator's own bookkeeping, far below what one leaked dialog or protocol
// (tens of kilobytes) would add.
constexpr std::size_t AllowedGrowthPerRound = 512;
constexpr int Rounds = 40;

} // namespace

class LifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void heapStaysFlat_data();
    void heapStaysFlat();

private:
    QTemporaryDir m_work;
};

void LifetimeTest::initTestCase()
{
    QVERIFY(m_work.isValid());
    Core::IdeCore::setProjectDirectory(m_work.path());
    IPSERDESIP::serdes::instance()->reset();
}

void LifetimeTest::heapStaysFlat_data()
{
    QTest::addColumn<bool>("plugin");
    QTest::newRow("plug-in load, protocols, generate, resources, unload") << true;
    QTest::newRow("dialog construction, initDialog, restore") << false;
}

void LifetimeTest::heapStaysFlat()
{
    QFETCH(bool, plugin);
    const Lifetime::ParameterSet set = Lifetime::eightLaneSet();
    QVERIFY(!set.isEmpty());
    const QString pluginFile = TestPaths::pluginDir() + QStringLiteral("/libjesd204b.so");
    const std::function<QString()> round = [&]() {
        if (plugin)
            return Lifetime::pluginRound(pluginFile, set, m_work.path());
        return Lifetime::dialogRound(set) ? QString() : QStringLiteral("stored set refused");
    };
    const auto runRounds = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const QString problem = round();
            if (!problem.isEmpty())
                return problem;
        }
        return QString();
    };

    // Warm-up: Qt's caches (fonts, styles, plug-in metadata) fill on the first rounds.
    QCOMPARE(runRounds(Rounds / 4), QString());
#ifdef JESD_HEAP_COUNTERS_REPLACED
    QSKIP("the sanitizer's allocator keeps its own books; the leak checker covers this build");
#endif
    QCOMPARE(runRounds(Rounds), QString());
    const std::size_t afterN = Lifetime::heapInUse();
    QCOMPARE(runRounds(Rounds), QString());
    const std::size_t after2N = Lifetime::heapInUse();
    const qint64 growth = qint64(after2N) - qint64(afterN);
    QVERIFY2(
        growth <= qint64(AllowedGrowthPerRound) * Rounds,
        qPrintable(QStringLiteral("heap grew by %1 bytes over %2 rounds").arg(growth).arg(Rounds)));
}

QTEST_MAIN(LifetimeTest)
#include "tst_lifetime.moc"
