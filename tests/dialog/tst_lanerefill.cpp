#include "dialogfixture.h"
#include "messageboxwatcher.h"

// A core-mode switch refills the lane-count and lane boxes. On the way the count box is empty,
// no lane is in use and the bias box goes back to 7; from there only a bias published for the
// one quad of the lanes passed through or finally chosen moves it again.
class LaneRefillTest : public QObject
{
    Q_OBJECT

private slots:
    void biasAfterModeSwitch_data()
    {
        QTest::addColumn<QString>("design"); // in designs/, none when empty
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("lanes"); // in use afterwards
        QTest::addColumn<int>("bias");
        const QStringList q0{"Q0 Lane0", "Q0 Lane1"};
        const QStringList q1{"Q1 Lane0", "Q1 Lane1"};
        // rx_core_q0_bias_q1: quad 0 receives for another core, so a core in both directions
        // starts on quad 1; "Q1_BIAS" is 9, nothing is published for quad 0.
        // clang-format off
        QTest::newRow("typed, to receive") << "" << QStringList{"biasSpinBox=12", "Receive=1"} << q0 << 7;
        QTest::newRow("typed, to transmit") << "" << QStringList{"biasSpinBox=3", "Transmit=1"} << q0 << 7;
        QTest::newRow("quad 1 published, quad 0 chosen") << "rx_core_q0_bias_q1" << QStringList{"Receive=1"} << q0 << 7;
        QTest::newRow("quad 1 published, quad 1 chosen") << "rx_core_q0_bias_q1" << QStringList{"Receive=1", "Lane0Connect=Q1 Lane0", "Lane1Connect=Q1 Lane1", "biasSpinBox=12", "Both=1"} << q1 << 9;
        // clang-format on
    }
    void biasAfterModeSwitch()
    {
        QFETCH(QString, design);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, lanes);
        QFETCH(int, bias);
        OpenDialog d(twoQuadDevice, OpenDialog::Start::NewCore,
                     design.isEmpty() ? design : QFINDTESTDATA("designs/" + design + ".json"));
        d.set(actions);
        QCOMPARE(d.unmet({{"usedLanes", lanes}, {"biasSpinBox.value", bias}, {"biasDecision", 0}}),
                 QString());
    }

    // What the box shows after the switch is what the question names, the generator gets and
    // acceptance publishes.
    void switchedBiasReachesTheQuad()
    {
        OpenDialog d;
        d.set({"biasSpinBox=12", "Receive=1"});
        MessageBoxWatcher boxes;
        boxes.setDefaultAnswer(QMessageBox::Yes);
        d.widget<QAbstractButton>("pushButton")->click();
        QCOMPARE(boxes.lines(),
                 (QStringList{"Question: Q0 Lane2, Q0 Lane3 BIAS will also be changed to 7, "
                              "whether to accept or not? ",
                              "Succeed: Succeed"}));
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "),
                 QStringList{"q0_rx_eq_bias 7"});
        d.dialog()->accept();
        QCOMPARE(d.dialog()->result(), int(QDialog::Accepted));
        QCOMPARE(IPSERDESIP::serdes::instance()->getData("Q0_BIAS"), QVariant(7));
        QCOMPARE(d.parameters().value("ifChangedAllOfBias"), QVariant(true));
    }
};

QTEST_MAIN(LaneRefillTest)
#include "tst_lanerefill.moc"
