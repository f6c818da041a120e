#include <pll/pllsolver.h>
#include <pll/plltable.h>
#include <pll/ratio.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace IPSERDESIP;

Q_DECLARE_METATYPE(IPSERDESIP::Ratio)

// The exact PLL arithmetic on its own: this program links the PLL library and nothing else of
// the host, so it also proves that library needs no widgets. Expected dividers are worked out
// by hand from the shipped table (rate = k x f_ref x N1 x N2 / (M x D)).
class PllTest : public QObject
{
    Q_OBJECT

    static Ratio r(const char *text) { return Ratio::fromDecimal(QString::fromLatin1(text)); }
    static QJsonObject json(const char *text) { return QJsonDocument::fromJson(text).object(); }
    static const PllLimits &limits(const QString &name)
    {
        return *PllTable::builtin().limits(name);
    }

private slots:
    void decimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fraction"); // in lowest terms; empty: refused
        QTest::newRow("decimal") << "122.88"
                                 << "3072/25";
        QTest::newRow("trailing zero") << "8.0"
                                       << "8/1";
        QTest::newRow("leading point") << ".5"
                                       << "1/2";
        QTest::newRow("nine decimals") << "0.000000001"
                                       << "1/1000000000";
        QTest::newRow("ten decimals") << "0.0000000001"
                                      << "";
        QTest::newRow("thirteen digits") << "1234567890123"
                                         << "";
        QTest::newRow("negative") << "-1"
                                  << "";
        QTest::newRow("exponent") << "1e3"
                                  << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void decimals()
    {
        QFETCH(QString, text);
        const Ratio value = Ratio::fromDecimal(text);
        QTEST(value.isValid() ? QStringLiteral("%1/%2")
                                    .arg(qlonglong(value.numerator()))
                                    .arg(qlonglong(value.denominator()))
                              : QString(),
              "fraction");
    }

    // Terms past 2^127 - 1: comparisons stay exact, a result that cannot be held is invalid.
    void nearTheBound_data()
    {
        constexpr Ratio::Int max = ~(Ratio::Int(1) << 127);
        constexpr Ratio::Int two64 = Ratio::Int(1) << 64;
        QTest::addColumn<Ratio>("a");
        QTest::addColumn<Ratio>("b");
        QTest::addColumn<bool>("less");
        QTest::addColumn<Ratio>("distance");
        QTest::addColumn<Ratio>("product");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("remainders decide") << Ratio(max, max - 1) << Ratio(max - 1, max - 2) << true << Ratio() << Ratio(max, max - 2) << "~1";
        QTest::newRow("whole parts decide") << Ratio(max, 2) << Ratio(max - 2, 3) << false << Ratio() << Ratio() << "85070591730234615865843651857942052863.5";
        QTest::newRow("same value") << Ratio(max, max - 1) << Ratio(max, max - 1) << false << Ratio(0, 1) << Ratio() << "~1";
        QTest::newRow("common denominator") << Ratio(1, two64) << Ratio(1, 3 * two64) << false << Ratio(2, 3 * two64) << Ratio() << "~0";
        // clang-format on
    }

    void nearTheBound()
    {
        QFETCH(Ratio, a);
        QFETCH(Ratio, b);
        QFETCH(bool, less);
        QCOMPARE(a < b, less);
        QCOMPARE(b < a, !less && a != b);
        QTEST(a.distanceTo(b), "distance");
        QTEST(a * b, "product");
        QTEST(a.toString(), "text");
    }

    void tableOverrides()
    {
        PllTable table = PllTable::builtin();
        QString error;
        const auto apply = [&](const char *text) {
            return table.applyOverrides(json(text), &error);
        };
        QVERIFY2(apply(R"({"QPLL0": {"pfdMHz": {"min": "100", "max": "410"}}})"),
                 qPrintable(error));
        // 60 MHz divided by any M in 1..4 stays below 100 MHz.
        const PllLimits &qpll0 = *table.limits("QPLL0");
        QVERIFY(!PllSolver::solve(qpll0, r("60"), {r("9.84")}));
        QCOMPARE(PllSolver::explainFailure(qpll0, r("60"), {r("9.84")}),
                 QString("no M in 1..4 puts its phase detector (clock / M) into 100-410 MHz"));
        QVERIFY(!apply(R"({"CPLL": {"refClockMHz": {"min": "0", "max": "9"}}})"));
        QVERIFY(error.startsWith("CPLL.refClockMHz"));
        QVERIFY2(apply(R"({"QPLL1": {"vcoGHz": {"min": "8.0", "max": "12.5"}}})"),
                 qPrintable(error));
        QCOMPARE(table.limits("QPLL1")->vcoMax, r("12.5"));
        QCOMPARE(PllTable::builtin().limits("QPLL1")->vcoMax, r("13"));
        // A wrong entry changes nothing.
        QVERIFY(!apply(R"({"QPLL0": {"M": [0]}})"));
        QCOMPARE(table.limits("QPLL0")->m, limits("QPLL0").m);
        QVERIFY(!apply(R"({"LCPLL": {}})"));
        QCOMPARE(table.names(), PllTable::builtin().names());
    }

    void significantDigits_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("digits");
        QTest::newRow("round") << "160" << 2;
        QTest::newRow("hundred") << "100" << 1;
        QTest::newRow("seven") << "157.2864" << 7;
        QTest::newRow("small") << "0.05" << 1;
    }

    void significantDigits()
    {
        QFETCH(QString, value);
        QTEST(PllSolver::significantDigits(Ratio::fromDecimal(value)), "digits");
    }

    void clockChoicesFromList()
    {
        // 10.3125 Gbps: 156.25 MHz x 66 on both quad PLLs (D 1); the CPLL would need
        // N1 x N2 / M = 33 (VCO 5.15625 GHz), which {4, 5} x 1..5 over {1, 2} does not give.
        // 125 MHz would need N / M = 82.5, 157.2864 no whole N, 4000 MHz is out of range.
        const QVector<ClockChoice> choices =
            PllSolver::clockChoices(PllTable::builtin(), {r("10.3125")}, {r("50"), r("500"), 0},
                                    {r("125"), r("157.2864"), r("156.25"), r("4000")});
        QCOMPARE(choices.size(), 2);
        QCOMPARE(choices[0].pll, QString("QPLL0"));
        QCOMPARE(choices[1].pll, QString("QPLL1"));
        for (const ClockChoice &choice : choices) {
            QCOMPARE(choice.refClock, r("156.25"));
            QCOMPARE(choice.solution.m, 1);
            QCOMPARE(choice.solution.n1, 66);
            QCOMPARE(choice.solution.d, QVector<int>{1});
        }
    }

    void clockChoicesInWindow()
    {
        const ClockWindow window{r("50"), r("500"), 6};
        const QVector<Ratio> rates{r("6.144"), r("3.072")};
        const QVector<ClockChoice> choices =
            PllSolver::clockChoices(PllTable::builtin(), rates, window, {}, 1000);
        QVERIFY(choices.size() > 20);
        bool at12288 = false;
        for (int i = 0; i < choices.size(); ++i) {
            const ClockChoice &c = choices[i];
            const PllLimits &pll = limits(c.pll);
            // Each entry proves itself: rate x D = k x clock x N1 x N2 / M for every rate.
            const Ratio vco = c.refClock * (c.solution.n1 * c.solution.n2) / c.solution.m / 1000;
            QCOMPARE(vco, c.solution.vco);
            QVERIFY(pll.admitsVco(vco) && pll.admitsPfd(c.refClock, c.solution.m));
            for (int k = 0; k < rates.size(); ++k)
                QCOMPARE(rates[k] * c.solution.d[k], vco * pll.rateFactor);
            QVERIFY(window.admits(c.refClock));
            if (i > 0)
                QVERIFY(PllSolver::significantDigits(choices[i - 1].refClock) <=
                        PllSolver::significantDigits(c.refClock));
            at12288 = at12288 || (c.pll == "QPLL1" && c.refClock == r("122.88"));
        }
        QVERIFY(at12288); // 12.288 GHz = 122.88 MHz x 100
    }

    // A table with divider sets of a thousand values each: the searches stay within their bound
    // instead of visiting 1024^4 sets.
    void boundedSearch()
    {
        PllLimits wide = limits("CPLL");
        QVector<int> many;
        for (int i = 1; i <= 1024; ++i)
            many << i;
        wide.n1 = wide.n2 = wide.m = wide.d = many;
        wide.pfdMin = r("0.001");
        const QVector<Ratio> rates{r("7.3728")};
        QElapsedTimer timer;
        timer.start();
        const QVector<Ratio> near = PllSolver::nearestRefClocks(wide, r("122.88"), rates, 3);
        PllSolver::solve(wide, r("122.881"), rates);
        PllTable table;
        QString error;
        // clang-format off
        QVERIFY(PllTable::fromJson(json(R"({"CPLL": {"scope": "lane",
            "N1": {"min": 1, "max": 1024}, "N2": {"min": 1, "max": 1024},
            "M": {"min": 1, "max": 1024}, "D": {"min": 1, "max": 1024},
            "vcoGHz": {"min": "0.001", "max": "900"}, "refClockMHz": {"min": "1", "max": "999"},
            "pfdMHz": {"min": "0.001", "max": "999"}}})"), &table, &error));
        // clang-format on
        const QVector<ClockChoice> choices = PllSolver::clockChoices(table, rates, ClockWindow());
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(near.size(), 3);
        QCOMPARE(near.value(0), r("122.88"));
        QCOMPARE(choices.size(), 64);
    }
};

QTEST_GUILESS_MAIN(PllTest)
#include "tst_pll.moc"
