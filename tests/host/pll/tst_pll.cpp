#include <pllsolver.h>
#include <plltable.h>
#include <ratio.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

using namespace IPSERDESIP;

// The exact PLL arithmetic on its own: this program links the PLL library and nothing else of
// the host, so it also proves that library needs no widgets. Expected dividers are worked out
// by hand from the shipped table (rate = k x f_ref x N1 x N2 / (M x D)).
class PllTest : public QObject
{
    Q_OBJECT

    static Ratio r(const char *text) { return Ratio::fromDecimal(QString::fromLatin1(text)); }
    static const PllLimits &limits(const QString &name)
    {
        return *PllTable::builtin().limits(name);
    }

private slots:
    void decimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qlonglong>("numerator");
        QTest::addColumn<qlonglong>("denominator");
        QTest::newRow("decimal") << "122.88" << true << 3072LL << 25LL;
        QTest::newRow("whole") << "8" << true << 8LL << 1LL;
        QTest::newRow("trailing zero") << "8.0" << true << 8LL << 1LL;
        QTest::newRow("leading point") << ".5" << true << 1LL << 2LL;
        QTest::newRow("nine decimals") << "0.000000001" << true << 1LL << 1000000000LL;
        QTest::newRow("ten decimals") << "0.0000000001" << false << 0LL << 0LL;
        QTest::newRow("thirteen digits") << "1234567890123" << false << 0LL << 0LL;
        QTest::newRow("negative") << "-1" << false << 0LL << 0LL;
        QTest::newRow("exponent") << "1e3" << false << 0LL << 0LL;
        QTest::newRow("text") << "fast" << false << 0LL << 0LL;
        QTest::newRow("empty") << "" << false << 0LL << 0LL;
    }

    void decimals()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qlonglong, numerator);
        QFETCH(qlonglong, denominator);
        const Ratio value = Ratio::fromDecimal(text);
        QCOMPARE(value.isValid(), valid);
        if (!valid)
            return;
        QCOMPARE(qlonglong(value.numerator()), numerator);
        QCOMPARE(qlonglong(value.denominator()), denominator);
    }

    void exactComparison()
    {
        // 40 x 122.88 MHz is 4.9152 GHz exactly, and a hair more is not.
        QCOMPARE(r("122.88") * 40 / 1000, r("4.9152"));
        QVERIFY(r("4.91520001") != r("4.9152"));
        QVERIFY(r("4.9152") < r("4.91520001"));
        QCOMPARE(r("9.8304").toString(), QString("9.8304"));
        QCOMPARE(r("3").distanceTo(r("5")), r("2"));
        QCOMPARE(r("5").distanceTo(r("3")), r("2"));
    }

    void solve_data()
    {
        QTest::addColumn<QString>("pll");
        QTest::addColumn<QString>("fref");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("n"); // N1 x N2
        QTest::addColumn<QString>("vco");
        QTest::addColumn<QVector<int>>("d");
        // 4.9152 needs D 2 to reach the band (D 1 gives VCO 4.9152 < 8); 9830.4 / 122.88 = 80.
        QTest::newRow("QPLL1 4.9152 from 122.88")
            << "QPLL1"
            << "122.88" << QStringList{"4.9152"} << true << 1 << 80 << "9.8304" << QVector<int>{2};
        // 10312.5 / 156.25 = 66 with D 1.
        QTest::newRow("QPLL0 10.3125 from 156.25") << "QPLL0"
                                                   << "156.25" << QStringList{"10.3125"} << true
                                                   << 1 << 66 << "10.3125" << QVector<int>{1};
        // One VCO for both rates, each with its own D.
        QTest::newRow("QPLL0 shared VCO") << "QPLL0"
                                          << "156.25" << QStringList{"10.3125", "5.15625"} << true
                                          << 1 << 66 << "10.3125" << QVector<int>{1, 2};
        // CPLL: rate = 2 x VCO / D; D 1 leaves VCO 1.2288 below 2 GHz, D 2 gives 2.4576 GHz,
        // N1 x N2 = 2457.6 / 122.88 = 20.
        QTest::newRow("CPLL 2.4576 from 122.88")
            << "CPLL"
            << "122.88" << QStringList{"2.4576"} << true << 1 << 20 << "2.4576" << QVector<int>{2};
        // VCO 8 GHz needs N / M = 51.2 (no M up to 4 gives a whole N in range); D 2 leaves the
        // band.
        QTest::newRow("QPLL1 8 from 156.25")
            << "QPLL1"
            << "156.25" << QStringList{"8"} << false << 0 << 0 << "" << QVector<int>{};
        // Rates 3:1 apart cannot share one VCO with power-of-two dividers.
        QTest::newRow("QPLL0 rates 3:1") << "QPLL0"
                                         << "122.88" << QStringList{"14.7456", "4.9152"} << false
                                         << 0 << 0 << "" << QVector<int>{};
    }

    void solve()
    {
        QFETCH(QString, pll);
        QFETCH(QString, fref);
        QFETCH(QStringList, rates);
        QFETCH(bool, found);
        QVector<Ratio> wanted;
        for (const QString &rate : rates)
            wanted << Ratio::fromDecimal(rate);
        const auto solution = PllSolver::solve(limits(pll), Ratio::fromDecimal(fref), wanted);
        QCOMPARE(solution.has_value(), found);
        if (!found) {
            QVERIFY(!PllSolver::explainFailure(limits(pll), Ratio::fromDecimal(fref), wanted)
                         .isEmpty());
            return;
        }
        QFETCH(int, m);
        QFETCH(int, n);
        QFETCH(QString, vco);
        QFETCH(QVector<int>, d);
        QCOMPARE(solution->m, m);
        QCOMPARE(solution->n1 * solution->n2, n);
        QCOMPARE(solution->vco, Ratio::fromDecimal(vco));
        QCOMPARE(solution->d, d);
    }

    void runningVco_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("d"); // 0: no allowed D
        QTest::newRow("quarter") << "3.6864" << 4;
        QTest::newRow("whole") << "14.7456" << 1;
        QTest::newRow("third") << "4.9152" << 0;
    }

    void runningVco()
    {
        QFETCH(QString, rate);
        QFETCH(int, d);
        const auto dividers =
            PllSolver::dividersFor(limits("QPLL0"), r("14.7456"), {Ratio::fromDecimal(rate)});
        QCOMPARE(dividers.has_value(), d != 0);
        if (dividers)
            QCOMPARE(dividers->value(0), d);
    }

    void tableOverrides()
    {
        PllTable table = PllTable::builtin();
        QString error;
        QVERIFY2(table.applyOverrides(
                     QJsonObject{{"QPLL1", QJsonObject{{"vcoGHz", QJsonObject{{"min", "8.0"},
                                                                              {"max", "12.5"}}}}}},
                     &error),
                 qPrintable(error));
        QCOMPARE(table.limits("QPLL1")->vcoMax, r("12.5"));
        QCOMPARE(PllTable::builtin().limits("QPLL1")->vcoMax, r("13"));
        // A wrong entry changes nothing.
        QVERIFY(!table.applyOverrides(QJsonObject{{"QPLL0", QJsonObject{{"M", QJsonArray{0}}}}},
                                      &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(table.limits("QPLL0")->m, limits("QPLL0").m);
        QVERIFY(!table.applyOverrides(QJsonObject{{"LCPLL", QJsonObject{}}}, &error));
        QCOMPARE(table.names(), PllTable::builtin().names());
    }
};

QTEST_GUILESS_MAIN(PllTest)
#include "tst_pll.moc"
