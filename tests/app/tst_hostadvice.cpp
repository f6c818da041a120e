#include "hostrun.h"
#include "testpaths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// What "ipcore-host check" advises is followed the way a user follows it: each suggested
// reference clock or PLL is written into the parameter set, and the set is checked again in the
// same design.
class HostAdviceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_written = 0;

    static QJsonObject example(const QString &name)
    {
        QFile file(TestPaths::examplesDir() + "/" + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QString write(const QJsonObject &set)
    {
        const QString path = m_dir.filePath(QStringLiteral("set%1.json").arg(m_written++));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(QJsonDocument(set).toJson());
        return path;
    }

    static TestSupport::HostRun check(const QString &set, const QString &design)
    {
        QStringList arguments{"check", set};
        if (!design.isEmpty())
            arguments << "--design" << TestPaths::examplesDir() + "/designs/" + design;
        return TestSupport::runHost(arguments);
    }

    // The sets the refusal's suggestions make of the set.
    static QList<QJsonObject> followed(const QJsonObject &set, const QString &refusal)
    {
        static const QRegularExpression clocks(
            QStringLiteral("Reference clocks that would work on \\w+: ([0-9., ]+) MHz\\."));
        static const QRegularExpression plls(
            QStringLiteral("([A-Z0-9]+(?: or [A-Z0-9]+)*) would make it from"));
        QList<QJsonObject> sets;
        auto it = clocks.globalMatch(refusal);
        while (it.hasNext()) {
            for (const QString &clock : it.next().captured(1).split(", ")) {
                QJsonObject next = set;
                next["Reference_CLK_Frequency"] = clock;
                sets << next;
            }
        }
        it = plls.globalMatch(refusal);
        while (it.hasNext()) {
            for (const QString &pll : it.next().captured(1).split(" or ")) {
                QJsonObject next = set;
                next["PLL_Selection"] = pll;
                sets << next;
            }
        }
        return sets;
    }

private slots:
    void followedAdviceWorks_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("notSuggested"); // a text the refusal must not hold
        // clang-format off
        QTest::newRow("clock cut to six digits") << "tx_2lane.json" << QJsonObject{{"Line_Rate", "9.8304"}, {"Reference_CLK_Frequency", "157.2864"}} << "" << ": 157.2864";
        QTest::newRow("no divider for the clock") << "tx_2lane.json" << QJsonObject{{"Line_Rate", "8.0"}, {"Reference_CLK_Frequency", "156.25"}} << "" << "";
        QTest::newRow("running QPLL0") << "rx_2lane.json" << QJsonObject() << "jesd_rx_q0.json" << "";
        // Q1 QPLL0 runs 10.3125 GHz for the Quillan link, but from Q1 REFCLK0.
        QTest::newRow("other quad PLL on another clock") << "both_8lane.json" << QJsonObject{{"recordlanes", QJsonArray{"Q1 Lane2", "Q1 Lane3"}}, {"Number_of_lanes", "2"}, {"JESD204B_Lane0_connect_with", "Q1 Lane2"}, {"JESD204B_Lane1_connect_with", "Q1 Lane3"}, {"JESD204B_Lane2_connect_with", ""}, {"JESD204B_Lane3_connect_with", ""}, {"JESD204B_Lane4_connect_with", ""}, {"JESD204B_Lane5_connect_with", ""}, {"JESD204B_Lane6_connect_with", ""}, {"JESD204B_Lane7_connect_with", ""}, {"Reference_CLK_Frequency", "125"}, {"Line_Rate", "10.3125"}, {"PLL_Selection", "QPLL1"}} << "quillan_q1.json" << "QPLL0 would make it";
        // clang-format on
    }

    void followedAdviceWorks()
    {
        QFETCH(QString, base);
        QFETCH(QJsonObject, changes);
        QFETCH(QString, design);
        QFETCH(QString, notSuggested);
        QJsonObject set = example(base);
        for (auto it = changes.begin(); it != changes.end(); ++it)
            set[it.key()] = it.value();
        const TestSupport::HostRun refused = check(write(set), design);
        const QString refusal = QString::fromUtf8(refused.out);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(notSuggested.isEmpty() || !refusal.contains(notSuggested), qPrintable(refusal));
        const QList<QJsonObject> sets = followed(set, refusal);
        QVERIFY2(!sets.isEmpty(), qPrintable(refusal));
        for (const QJsonObject &next : sets) {
            const TestSupport::HostRun run = check(write(next), design);
            QVERIFY2(run.exitCode == 0, qPrintable(refusal + "\nfollowed:\n" + run.out));
        }
    }

    // A stored clock the configuration line cannot carry: the verdict names the clock proved.
    void provedClockNamed()
    {
        QJsonObject set = example("tx_2lane.json");
        set["Reference_CLK_Frequency"] = "122.8804";
        const TestSupport::HostRun run = check(write(set), QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.outLines().contains("  q0_ln0 (Q0_LANE0, tx): 4.9152 Gbps on Q0_QPLL1, M 1, "
                                         "N 80, D 2, VCO 9.8304 GHz, from Q0_REFCLK0 at 122.88 "
                                         "MHz (the configuration line's clock; 122.8804 MHz was "
                                         "asked)"),
                 run.out.constData());
    }
};

QTEST_GUILESS_MAIN(HostAdviceTest)
#include "tst_hostadvice.moc"
