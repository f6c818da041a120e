#include "designfixture.h"
#include "messageboxwatcher.h"

#include <serdes.h>
#include <serdesfunctions.h>

#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

const QString unreachable =
    QStringLiteral("The Expected Reference Clock Pin can not be connected to the Expected PLL");

// Lanes the model holds as taken, by resource name.
QStringList takenLanes()
{
    QStringList taken;
    const auto instances = IPSERDESIP::serdes::instance()->allInstance();
    for (auto it = instances.cbegin(); it != instances.cend(); ++it) {
        const auto *lane = dynamic_cast<const IPSERDESIP::LANE *>(it.value());
        if (lane && lane->getLaneStatus() != IPSERDESIP::LANE::Free)
            taken << it.key();
    }
    return taken;
}

} // namespace

class CalculationTest : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QString>("lineRate");
        QTest::addColumn<QString>("pll");
        QTest::addColumn<QString>("refClkFreq");
        QTest::addColumn<QString>("message");

        const QStringList q0Pair{"Q0 Lane0", "Q0 Lane1"};
        QTest::newRow("feasible") << ""
                                  << "Transmit" << q0Pair << "4.9152"
                                  << "QPLL1"
                                  << "122.88"
                                  << "Succeed: Succeed";
        // A receive core on Q0 Lane0 and Q0 Lane1 at 6.25 Gbps from QPLL1.
        QTest::newRow("lane at another rate") << "rx_core_q0"
                                              << "Receive" << q0Pair << "4.9152"
                                              << "QPLL1"
                                              << "122.88"
                                              << "Error: On Q0 Lane0,the Line Rate must set 6.25";
        QTest::newRow("lane on another PLL")
            << "rx_core_q0"
            << "Receive" << q0Pair << "6.25"
            << "CPLL"
            << "122.88"
            << "Error: Please set PLL is " + IPSERDESIP::FromPllToStringOption("QPLL1");
        // Another core transmits on Q1 Lane2 with no rate or PLL recorded: the lane passes the
        // dialog's own checks, and the host's generator names the clash.
        QTest::newRow("shared lane without rate")
            << "tx_protocols_q1"
            << "Transmit" << QStringList{"Q1 Lane2", "Q0 Lane0"} << "4.9152"
            << "QPLL1"
            << "122.88"
            << "Failure: Q1_LANE2_TX";
        // Q0 REFCLK0 already runs at 156.25 MHz.
        QTest::newRow("clock at another frequency") << "refclk_running"
                                                    << "Transmit" << q0Pair << "4.9152"
                                                    << "QPLL1"
                                                    << "122.88"
                                                    << "Failure: " + unreachable;
    }
    void verdict()
    {
        QFETCH(QString, design);
        QFETCH(QString, mode);
        QFETCH(QStringList, lanes);
        QFETCH(QString, lineRate);
        QFETCH(QString, pll);
        QFETCH(QString, refClkFreq);
        QFETCH(QString, message);
        DesignDialog d(design);
        QVERIFY2(d.isLoaded(), qPrintable(d.error()));
        d.setMode(mode.toLatin1().constData());
        d.setText("lineRate", lineRate);
        d.pickLanes(lanes);
        d.select("PLL_Selection", pll);
        d.widget<QLineEdit>("refClkFreq")->setText(refClkFreq);

        MessageBoxWatcher boxes;
        const bool succeeded = d.calculate();
        QCOMPARE(boxes.lines().size(), 1);
        QVERIFY2(boxes.lines().first().startsWith(message), qPrintable(boxes.lines().first()));
        QCOMPARE(succeeded, message.startsWith(QLatin1String("Succeed")));
        if (succeeded)
            QVERIFY(QFileInfo::exists(d.projectDir() + "/temp/jesd204b/jesd204b.csr"));
    }

    // The generator's own reasons reach the user; the same verdict comes twice, and neither
    // run leaves a lane reserved.
    void infeasibleTwice()
    {
        DesignDialog d;
        d.setMode("Transmit");
        d.setText("lineRate", "8.0");
        d.widget<QLineEdit>("refClkFreq")->setText("156.25");
        MessageBoxWatcher boxes;
        QVERIFY(!d.calculate());
        QVERIFY(!d.calculate());
        QCOMPARE(boxes.titles(), (QStringList{"Failure", "Failure"}));
        QCOMPARE(boxes.texts().at(0), boxes.texts().at(1));
        QVERIFY(!boxes.texts().at(0).isEmpty());
        QVERIFY(!boxes.texts().at(0).startsWith("The Expected Line Rate"));
        QCOMPARE(takenLanes(), QStringList());
    }

    void feasibleTwiceReleasesLanes()
    {
        DesignDialog d("rx_core_q1");
        d.setMode("Transmit");
        const QStringList before = takenLanes();
        MessageBoxWatcher boxes;
        QVERIFY(d.calculate());
        QVERIFY(d.calculate());
        QCOMPARE(boxes.lines(), (QStringList{"Succeed: Succeed", "Succeed: Succeed"}));
        QCOMPARE(takenLanes(), before);
        QCOMPARE(d.dialog()->availableLanes().size(), 4);
    }

    // Acceptance runs the same proof: failures are shown, success is silent.
    void acceptance_data()
    {
        QTest::addColumn<QString>("lineRate");
        QTest::addColumn<QString>("refClkFreq");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("feasible") << "4.9152"
                                  << "122.88" << QStringList() << true;
        QTest::newRow("infeasible") << "8.0"
                                    << "156.25" << QStringList{"Failure"} << false;
    }
    void acceptance()
    {
        QFETCH(QString, lineRate);
        QFETCH(QString, refClkFreq);
        QFETCH(QStringList, titles);
        QFETCH(bool, accepted);
        DesignDialog d;
        d.setMode("Transmit");
        d.setText("lineRate", lineRate);
        d.widget<QLineEdit>("refClkFreq")->setText(refClkFreq);
        MessageBoxWatcher boxes;
        d.dialog()->accept();
        QVERIFY2(boxes.titles() == titles, qPrintable(boxes.lines().join('|')));
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, accepted);
        QCOMPARE(d.calculate(false), accepted);
        QCOMPARE(boxes.titles(), accepted ? titles : titles + titles);
    }

    void refClkFrequencyFollowsSource()
    {
        DesignDialog d("refclk_running");
        auto *freq = d.widget<QLineEdit>("refClkFreq");
        QCOMPARE(freq->text(), QStringLiteral("156.25"));
        QVERIFY(!freq->isEnabled());
        d.select("refClkSource", "Q0 REFCLK1");
        QCOMPARE(freq->text(), QStringLiteral("122.88"));
        QVERIFY(freq->isEnabled());
        d.select("refClkSource", "Q0 REFCLK0");
        QCOMPARE(freq->text(), QStringLiteral("156.25"));
        QVERIFY(!freq->isEnabled());
    }
};

std::unique_ptr<QObject> createCalculationTest()
{
    return std::make_unique<CalculationTest>();
}

#include "tst_calculation.moc"
