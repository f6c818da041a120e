#include "testpaths.h"

#include <design/designfile.h>
#include <devicedb.h>
#include <generator.h>
#include <idecore.h>
#include <serdes.h>

#include <QRegularExpression>
#include <QtTest>

using IPSERDESIP::generator;
using IPSERDESIP::serdes;

namespace {

// A core as its parameter set gives it: lanes (transmit), one reference clock and one PLL type.
struct CoreSet
{
    QStringList lanes; // "Q0_LANE1"
    QString source;    // "Q0_REFCLK1"
    QString clock;     // MHz, as the user typed it
    QString rate;      // Gbps
    QString pll;       // "QPLL0", "QPLL1", "CPLL"

    QString text() const
    {
        return QStringLiteral("%1 Gbps on %2 from %3 at %4 MHz (%5)")
            .arg(rate, pll, source, clock, lanes.join(','));
    }
};

// The option lines a core of that kind writes: the clock rendered as a double with Qt's default
// six significant digits, the way a core passes a typed frequency on.
QStringList optionLines(const CoreSet &core)
{
    QStringList lines;
    QStringList quads;
    for (const QString &lane : core.lanes) {
        const QString prefix = QStringLiteral("q%1_ln%2").arg(lane.at(1)).arg(lane.right(1));
        lines << prefix + "_tx_rate " + core.rate << prefix + "_rx_rate " + core.rate
              << prefix + "_pll_sel " + core.pll.toLower() << prefix + "_enable true";
        const QString quad = QStringLiteral("q%1_enable true").arg(lane.at(1));
        if (!quads.contains(quad))
            quads << quad;
    }
    lines << quads;
    lines << core.source.toLower() + "_freq " + QString::number(core.clock.toDouble());
    return lines;
}

// Registers the core's route as a caller does (the typed clock), runs the generator.
QStringList check(const CoreSet &core, bool *ok)
{
    serdes *model = serdes::instance();
    QStringList resources, plls, sources, frequencies;
    for (const QString &lane : core.lanes) {
        resources << lane + "_TX";
        plls << (core.pll == "CPLL" ? lane.left(3) + "CPLL" + lane.right(1)
                                    : lane.left(3) + core.pll);
        sources << core.source;
        frequencies << core.clock;
    }
    model->checkRoute(resources, plls, sources, frequencies, QStringLiteral("sweep.v:core"));
    generator gen;
    *ok = gen.generate(optionLines(core), QString(), {});
    for (const QString &resource : resources)
        model->resetLane(resource, false);
    return gen.getErrStringList();
}

// Every suggestion of the reasons, each written back into the core.
QList<CoreSet> followed(const CoreSet &core, const QStringList &reasons)
{
    static const QRegularExpression clocks(
        QStringLiteral("Reference clocks that would work on \\w+: ([0-9., ]+) MHz\\."));
    static const QRegularExpression plls(
        QStringLiteral("([A-Z0-9]+(?: or [A-Z0-9]+)*) would make it from"));
    static const QRegularExpression source(QStringLiteral("; use (\\w+)\\."));
    static const QRegularExpression pairs(
        QStringLiteral("another clock on \\w+ that would work: (.+) MHz\\.$"));
    QList<CoreSet> result;
    const auto add = [&](const QString &pll, const QString &clock, const QString &from) {
        result << CoreSet{core.lanes, from, clock, core.rate, pll};
    };
    for (const QString &reason : reasons) {
        for (const QString &clock :
             clocks.match(reason).captured(1).split(", ", Qt::SkipEmptyParts))
            add(core.pll, clock, core.source);
        for (const QString &pll : plls.match(reason).captured(1).split(" or ", Qt::SkipEmptyParts))
            add(pll, core.clock, core.source);
        for (const QString &pair :
             pairs.match(reason).captured(1).split(" MHz, ", Qt::SkipEmptyParts))
            add(pair.section(" at ", 0, 0), pair.section(" at ", 1), core.source);
        const QString other = source.match(reason).captured(1);
        if (!other.isEmpty())
            add(core.pll, QString::number(serdes::instance()->getFreqByRefsrc(other)), other);
    }
    return result;
}

} // namespace

// Advice that is followed must work: over a table of line rates, reference clocks, PLLs and the
// example designs, every clock or PLL a refusal suggests, written back into the core and checked
// again in the same design, makes the core.
class AdviceTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { serdes::instance()->reset(); }

    void followedAdviceWorks_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<int>("quads");
        QTest::newRow("empty") << "empty.json" << 2;
        QTest::newRow("receiver on Q0 QPLL0") << "jesd_rx_q0.json" << 2;
        QTest::newRow("two other cores") << "quillan_q1.json" << 2;
        QTest::newRow("slow grade") << "slow_grade_m1.json" << 1;
    }

    void followedAdviceWorks()
    {
        QFETCH(QString, design);
        QFETCH(int, quads);
        serdes *model = serdes::instance();
        model->setDevice(Core::IdeCore::deviceDataBase()->findDevice("TQ2H4-FF676"));
        QString error;
        QVERIFY2(IPSERDESIP::DesignFile::load(TestPaths::example("designs/" + design), &error),
                 qPrintable(error));
        // Lanes whose transmit lines every example design leaves free, from a clock that one
        // design runs for another core and from one nobody uses.
        QList<QPair<QStringList, QString>> placements{{{"Q0_LANE1", "Q0_LANE2"}, "Q0_REFCLK1"},
                                                      {{"Q0_LANE1"}, "Q0_REFCLK0"}};
        if (quads == 2)
            placements.append({{"Q1_LANE2", "Q1_LANE3"}, "Q1_REFCLK1"});
        // clang-format off
        const QStringList rates{"1.25", "2.4576", "3.125", "4.9152", "5.0", "6.144", "6.25", "7.3728", "8.0", "9.8304", "10.3125", "11.0592", "12.5", "14.7456"};
        const QStringList clocks{"61.44", "98.304", "100", "122.88", "125", "153.6", "156.25", "157.2864", "122.8804", "184.32", "250", "312.5"};
        // clang-format on
        int refusals = 0, clockAdvice = 0, pllAdvice = 0, pairAdvice = 0;
        QStringList failures;
        for (const auto &placement : placements) {
            for (const QString &rate : rates) {
                for (const QString &clock : clocks) {
                    for (const QString pll : {"QPLL0", "QPLL1", "CPLL"}) {
                        const CoreSet core{placement.first, placement.second, clock, rate, pll};
                        bool ok = false;
                        const QStringList reasons = check(core, &ok);
                        if (ok)
                            continue;
                        ++refusals;
                        for (const CoreSet &next : followed(core, reasons)) {
                            if (next.clock != core.clock && next.pll != core.pll)
                                ++pairAdvice;
                            else
                                (next.clock != core.clock ? clockAdvice : pllAdvice)++;
                            bool made = false;
                            const QStringList again = check(next, &made);
                            if (!made)
                                failures << core.text() + " -> " + next.text() + ": " +
                                                again.join(" | ");
                        }
                    }
                }
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 5).join('\n')));
        // The sweep only means something when refusals gave advice of both kinds.
        QVERIFY(refusals > 100);
        QVERIFY(clockAdvice > 50);
        QVERIFY(pllAdvice > 10);
        QVERIFY(pairAdvice > 0);
    }
};

QTEST_GUILESS_MAIN(AdviceTest)
#include "tst_advice.moc"
