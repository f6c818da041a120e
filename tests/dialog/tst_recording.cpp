#include "dialogfixture.h"
#include "messageboxwatcher.h"
#include "protocol/jesd204b.h"
#include "testpaths.h"

#include <serdesfunctions.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

class RecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void resourcesByMode_data()
    {
        QTest::addColumn<QString>("mode"); // empty: no mode button on
        QTest::addColumn<QString>("pll");
        QTest::addColumn<QStringList>("laneResources");
        QTest::addColumn<QStringList>("pllResources");
        QTest::addColumn<QStringList>("frontEnd");

        const QStringList rx{"rx_sd_thsel", "rx_eq_mode", "rx_att", "rx_boost"};
        const QStringList tx{"tx_differential_swing", "tx_ffe_mode", "tx_ffe_cm", "tx_ffe_c1",
                             "tx_ffe_c0"};
        // clang-format off
        QTest::newRow("transmit on CPLL") << "Transmit" << "CPLL" << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << tx;
        QTest::newRow("receive on QPLL0") << "Receive" << "QPLL0" << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"} << QStringList{"Q0_QPLL0", "Q1_QPLL0"} << rx;
        QTest::newRow("both on QPLL1: receive first") << "Both" << "QPLL1" << QStringList{"Q0_LANE1", "Q1_LANE0"} << QStringList{"Q0_QPLL1", "Q1_QPLL1"} << rx + tx;
        QTest::newRow("no mode: receive first") << "" << "QPLL1" << QStringList() << QStringList{"Q0_QPLL1", "Q1_QPLL1"} << rx + tx;
        // clang-format on
    }
    void resourcesByMode()
    {
        QFETCH(QString, mode);
        QFETCH(QString, pll);
        OpenDialog d;
        if (mode.isEmpty()) {
            for (const char *name : {"Receive", "Transmit", "Both"}) {
                d.widget<QRadioButton>(name)->setAutoExclusive(false);
                d.widget<QRadioButton>(name)->setChecked(false);
            }
        } else {
            d.setMode(mode);
        }
        d.chooseLanes({"Q0 Lane1", "Q1 Lane0"});
        d.combo("PLL_Selection")->setCurrentText(pll);
        QCOMPARE(d.combo("PLL_Selection")->currentText(), pll);

        QVERIFY(d.dialog()->recordResources());
        QTEST(d.dialog()->laneResources(), "laneResources");
        QTEST(d.dialog()->pllResources(), "pllResources");
        const QString clock = IPSERDESIP::FromRefOptionToRef(QStringLiteral("Q0 REFCLK0"));
        QCOMPARE(d.dialog()->refClkResources(), (QStringList{clock, clock}));
        QCOMPARE(d.dialog()->refClkFrequencies(), (QStringList{"122.88", "122.88"}));
        QStringList frontEnd;
        for (const QString &line : d.dialog()->serdesOptions().filter(
                 QRegularExpression("^q0_ln1_(rx_sd|rx_eq|rx_att|rx_boost|tx_diff|tx_ffe)")))
            frontEnd << line.section(' ', 0, 0).mid(int(qstrlen("q0_ln1_")));
        QTEST(frontEnd, "frontEnd");
    }

    void laneWithoutTableRow()
    {
        OpenDialog d;
        d.chooseLanes({"Q0 Lane0", "Q0 Lane1", "Q0 Lane2"});
        d.laneBox(1)->addItem(QStringLiteral("Q9 Lane0"));
        d.laneBox(1)->setCurrentText(QStringLiteral("Q9 Lane0"));
        // A second run starts afresh rather than adding to the first.
        QVERIFY(d.dialog()->recordResources());
        QVERIFY(d.dialog()->recordResources());
        QCOMPARE(d.dialog()->serdesOptions().filter(QRegularExpression("^[qQ]\\d_ln\\d_enable ")),
                 (QStringList{"q0_ln0_enable true", "q0_ln2_enable true"}));
        QCOMPARE(d.dialog()->laneResources(), (QStringList{"Q0_LANE0", "Q0_LANE2"}));
        QCOMPARE(d.dialog()->pllResources().size(), 2);
        // The clock lists keep one entry per used lane, matched or not.
        QCOMPARE(d.dialog()->refClkResources().size(), 3);
        QCOMPARE(d.dialog()->refClkFrequencies().size(), 3);
        QCOMPARE(d.parameters().value("recordlanes").toStringList(),
                 (QStringList{"Q0 Lane0", "Q9 Lane0", "Q0 Lane2"}));
    }

    void referenceFrequencyLine_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("source"); // empty: no current source
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QStringList>("lines");
        // clang-format off
        QTest::newRow("REFIN of group B") << Devices::groupB << "Q0 REFIN" << "100" << QStringList{"q0_gpio_freq 100"};
        QTest::newRow("MCLK, zeros dropped") << Devices::groupB << "MCLK" << "125.000" << QStringList{"mclk_freq 125"};
        QTest::newRow("quad 1 clock") << Devices::twoQuads << "Q1 REFCLK1" << "156.25" << QStringList{"q1_refclk1_freq 156.25"};
        QTest::newRow("no source") << Devices::twoQuads << "" << "122.88" << QStringList();
        // clang-format on
    }
    void referenceFrequencyLine()
    {
        QFETCH(QString, deviceId);
        QFETCH(QString, source);
        QFETCH(QString, frequency);
        OpenDialog d(deviceId);
        d.combo("refClkSource")->setCurrentIndex(d.items("refClkSource").indexOf(source));
        d.widget<QLineEdit>("refClkFreq")->setText(frequency);
        QVERIFY(d.dialog()->recordResources());
        const QStringList options = d.dialog()->serdesOptions();
        QTEST(options.filter("_freq "), "lines");
        // The host's reset line closes the list, after the frequency line.
        QCOMPARE(options.last(), QStringLiteral("global_reset_enable true"));
        QCOMPARE(d.dialog()->refClkFrequencies(), (QStringList{frequency, frequency}));
    }

    void mainTapAsShown()
    {
        // The dialog writes C0 as its label shows it, not as a number.
        OpenDialog d(Devices::twoQuads, OpenDialog::Start::Unprepared);
        QVERIFY(d.open({{"Number_of_lanes", "1"}, {"FFE_C0", "040"}}));
        QVERIFY(d.dialog()->recordResources());
        QCOMPARE(d.dialog()->serdesOptions().filter("_tx_ffe_c0 "),
                 QStringList{"q0_ln0_tx_ffe_c0 040"});
    }

    void acceptOutcome_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("lanes"); // empty: no lane count chosen
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QVariant>("wholeQuads"); // "ifChangedAllOfBias"; invalid: nothing written
        // clang-format off
        QTest::newRow("transmit only: no bias question") << "Transmit" << QStringList{"Q1 Lane3"} << QStringList() << QVariant(false);
        QTest::newRow("duplicate lane") << "Both" << QStringList{"Q0 Lane1", "Q0 Lane2", "Q0 Lane1"} << QStringList{"Error: Selected duplicate Q0 Lane1"} << QVariant();
        QTest::newRow("no lane row, silently") << "Both" << QStringList() << QStringList() << QVariant();
        // clang-format on
    }
    void acceptOutcome()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, lanes);
        QFETCH(QVariant, wholeQuads);
        OpenDialog d;
        d.setMode(mode);
        if (lanes.isEmpty())
            d.combo("comboxNumOfLanes")->setCurrentIndex(-1);
        else
            d.chooseLanes(lanes);
        MessageBoxWatcher watcher;
        d.dialog()->accept();
        QTEST(watcher.lines(), "messages");
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, wholeQuads.isValid());
        QCOMPARE(d.parameters().value("ifChangedAllOfBias"), wholeQuads);
        QCOMPARE(d.parameters().value("recordlanes").toStringList(),
                 wholeQuads.isValid() ? lanes : QStringList());
    }

    void noAvailableLanes()
    {
        OpenDialog d(Devices::twoQuads, OpenDialog::Start::Unprepared);
        // Every lane already receives for another core; a core in both directions gets none.
        for (IPSERDESIP::Instance *instance : IPSERDESIP::serdes::instance()->allInstance()) {
            if (auto *lane = dynamic_cast<IPSERDESIP::LANE *>(instance))
                lane->setLaneStatus(IPSERDESIP::LANE::Receive);
        }
        d.dialog()->setCreating(QStringLiteral("jesd_top"),
                                Core::IdeCore::deviceDataBase()->findDevice(Devices::twoQuads));
        MessageBoxWatcher watcher;
        d.dialog()->accept();
        QCOMPARE(watcher.lines(), QStringList{"Error: No available lanes"});
        QVERIFY(watcher.boxes().first().hasIconPixmap);
        QCOMPARE(d.dialog()->result(), int(QDialog::Rejected));
        QVERIFY(d.parameters().isEmpty());
    }

    void calculationRefusalKeepsRecordedSet()
    {
        OpenDialog d;
        d.setMode(QStringLiteral("Transmit"));
        d.edit("lineRate", QStringLiteral("8.0"));
        d.edit("refClkFreq", QStringLiteral("156.25"));
        MessageBoxWatcher watcher;
        d.dialog()->accept();
        QCOMPARE(d.dialog()->result(), int(QDialog::Rejected));
        QCOMPARE(watcher.titles(), QStringList{"Failure"});
        QCOMPARE(d.parameters().value("Line_Rate").toString(), QStringLiteral("8.0"));
        QVERIFY(!d.parameters().contains(QStringLiteral("ifChangedAllOfBias")));
    }

    void protocolReturnsNothingUnaccepted()
    {
        IPJESD204B::jesd204b protocol(TestPaths::sourceDir() + QStringLiteral("/data"));
        QVERIFY(protocol.load());
        IPSERDESIP::serdes::instance()->reset();
        const DEV::DeviceArg device = Core::IdeCore::deviceDataBase()->findDevice(Devices::groupB);
        IPSERDESIP::serdes::instance()->setDevice(device);
        int shown = 0;
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [&shown] {
            auto *dlg = qobject_cast<IPJESD204B::jesd204bdlg *>(QApplication::activeModalWidget());
            if (dlg) {
                ++shown;
                dlg->reject();
            }
        });
        cancel.start(5);
        QVERIFY(protocol.create(QStringLiteral("link0"), device).isEmpty());
        QCOMPARE(shown, 1);

        // A stored set that the dialog refuses never reaches the screen.
        MessageBoxWatcher watcher;
        QVERIFY(protocol.edit({{"version", "2.0"}, {"target_device", Devices::groupA}}).isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(shown, 1);
        QCOMPARE(watcher.titles(), QStringList{"Error"});
    }
};

std::unique_ptr<QObject> createRecordingTest()
{
    return std::make_unique<RecordingTest>();
}

#include "tst_recording.moc"
