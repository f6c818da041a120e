#include "dialogfixture.h"

#include <serdesfunctions.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

QStringList matching(const QStringList &lines, const QString &pattern)
{
    return lines.filter(QRegularExpression(pattern));
}

void chooseLanes(OpenDialog &d, const QStringList &lanes)
{
    d.combo("comboxNumOfLanes")->setCurrentText(QString::number(lanes.size()));
    for (int row = 0; row < lanes.size(); ++row)
        d.laneBox(row)->setCurrentText(lanes.at(row));
}

} // namespace

class RecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void frontEndGroups_data();
    void frontEndGroups();
    void resourceLists_data();
    void resourceLists();
    void laneWithoutTableRow();
    void referenceFrequencyLine_data();
    void referenceFrequencyLine();
    void mainTapAsShown();
    void repeatedCallsStartAfresh();
};

void RecordingTest::frontEndGroups_data()
{
    QTest::addColumn<QString>("mode"); // empty: no mode button on
    QTest::addColumn<QStringList>("groups");

    const QString rx = QStringLiteral("rx_sd_thsel,rx_eq_mode,rx_att,rx_boost");
    const QString tx =
        QStringLiteral("tx_differential_swing,tx_ffe_mode,tx_ffe_cm,tx_ffe_c1,tx_ffe_c0");
    QTest::newRow("receive") << "Receive" << rx.split(',');
    QTest::newRow("transmit") << "Transmit" << tx.split(',');
    QTest::newRow("both: receive first") << "Both" << (rx + ',' + tx).split(',');
    QTest::newRow("no mode: receive first") << "" << (rx + ',' + tx).split(',');
}

void RecordingTest::frontEndGroups()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, groups);

    OpenDialog d;
    if (mode.isEmpty()) {
        for (const char *name : {"Receive", "Transmit", "Both"}) {
            auto *button = d.widget<QRadioButton>(name);
            button->setAutoExclusive(false);
            button->setChecked(false);
        }
    } else {
        d.widget<QRadioButton>(qPrintable(mode))->setChecked(true);
    }
    d.combo("comboxNumOfLanes")->setCurrentText(QStringLiteral("1"));

    QVERIFY(d.dialog()->recordResources());
    const QStringList frontEnd =
        matching(d.dialog()->serdesOptions(),
                 QStringLiteral("^q0_ln0_(rx_sd|rx_eq|rx_att|rx_boost|tx_diff|tx_ffe)"));
    QStringList names;
    for (const QString &line : frontEnd)
        names << line.section(' ', 0, 0).mid(int(qstrlen("q0_ln0_")));
    QCOMPARE(names, groups);
}

void RecordingTest::resourceLists_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("pll");
    QTest::addColumn<QStringList>("laneResources");
    QTest::addColumn<QStringList>("pllResources");

    QTest::newRow("transmit on CPLL") << "Transmit"
                                      << "CPLL" << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"}
                                      << QStringList{"Q0_CPLL1", "Q1_CPLL0"};
    QTest::newRow("receive on QPLL0") << "Receive"
                                      << "QPLL0" << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"}
                                      << QStringList{"Q0_QPLL0", "Q1_QPLL0"};
    QTest::newRow("both on QPLL1")
        << "Both"
        << "QPLL1" << QStringList{"Q0_LANE1", "Q1_LANE0"} << QStringList{"Q0_QPLL1", "Q1_QPLL1"};
}

void RecordingTest::resourceLists()
{
    QFETCH(QString, mode);
    QFETCH(QString, pll);
    QFETCH(QStringList, laneResources);
    QFETCH(QStringList, pllResources);

    OpenDialog d;
    d.widget<QRadioButton>(qPrintable(mode))->setChecked(true);
    chooseLanes(d, {QStringLiteral("Q0 Lane1"), QStringLiteral("Q1 Lane0")});
    d.combo("PLL_Selection")->setCurrentText(pll);
    QCOMPARE(d.combo("PLL_Selection")->currentText(), pll);

    QVERIFY(d.dialog()->recordResources());
    QCOMPARE(d.dialog()->laneResources(), laneResources);
    QCOMPARE(d.dialog()->pllResources(), pllResources);
    const QString clock = IPSERDESIP::FromRefOptionToRef(QStringLiteral("Q0 REFCLK0"));
    QCOMPARE(d.dialog()->refClkResources(), (QStringList{clock, clock}));
    QCOMPARE(d.dialog()->refClkFrequencies(), (QStringList{"122.88", "122.88"}));
    QCOMPARE(d.parameters().value("recordlanes").toStringList(),
             (QStringList{"Q0 Lane1", "Q1 Lane0"}));
}

void RecordingTest::laneWithoutTableRow()
{
    OpenDialog d;
    chooseLanes(
        d, {QStringLiteral("Q0 Lane0"), QStringLiteral("Q0 Lane1"), QStringLiteral("Q0 Lane2")});
    d.laneBox(1)->addItem(QStringLiteral("Q9 Lane0"));
    d.laneBox(1)->setCurrentText(QStringLiteral("Q9 Lane0"));

    QVERIFY(d.dialog()->recordResources());
    const QStringList options = d.dialog()->serdesOptions();
    QCOMPARE(matching(options, QStringLiteral("^q\\d_ln\\d_enable true$")),
             (QStringList{"q0_ln0_enable true", "q0_ln2_enable true"}));
    QVERIFY(matching(options, QStringLiteral("^Q9|^q9")).isEmpty());
    QCOMPARE(d.dialog()->laneResources(), (QStringList{"Q0_LANE0", "Q0_LANE2"}));
    QCOMPARE(d.dialog()->pllResources().size(), 2);
    QCOMPARE(d.dialog()->refClkResources().size(), 3);
    QCOMPARE(d.dialog()->refClkFrequencies().size(), 3);
}

void RecordingTest::referenceFrequencyLine_data()
{
    QTest::addColumn<QString>("deviceId");
    QTest::addColumn<QString>("source"); // empty: no current source
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("REFIN of group B") << Devices::groupB() << "Q0 REFIN"
                                      << "100" << QStringList{"q0_gpio_freq 100"};
    QTest::newRow("MCLK, zeros dropped") << Devices::groupB() << "MCLK"
                                         << "125.000" << QStringList{"mclk_freq 125"};
    QTest::newRow("quad 1 clock") << Devices::twoQuads() << "Q1 REFCLK1"
                                  << "156.25" << QStringList{"q1_refclk1_freq 156.25"};
    QTest::newRow("no source") << Devices::twoQuads() << ""
                               << "122.88" << QStringList();
}

void RecordingTest::referenceFrequencyLine()
{
    QFETCH(QString, deviceId);
    QFETCH(QString, source);
    QFETCH(QString, frequency);
    QFETCH(QStringList, lines);

    OpenDialog d(deviceId);
    QComboBox *sources = d.combo("refClkSource");
    sources->setCurrentIndex(sources->findText(source));
    auto *edit = d.widget<QLineEdit>("refClkFreq");
    edit->setText(frequency);

    QVERIFY(d.dialog()->recordResources());
    const QStringList options = d.dialog()->serdesOptions();
    QCOMPARE(matching(options, QStringLiteral("_freq ")), lines);
    // The host's reset line closes the list, after the frequency line.
    QCOMPARE(options.last(), QStringLiteral("global_reset_enable true"));
    QCOMPARE(d.dialog()->refClkFrequencies(), (QStringList{frequency, frequency}));
}

void RecordingTest::mainTapAsShown()
{
    // The dialog writes C0 as its label shows it, not as a number.
    OpenDialog d(Devices::twoQuads(), OpenDialog::Start::Unprepared);
    QVERIFY(d.open({{"version", QStringLiteral("1.0")},
                    {"Number_of_lanes", QStringLiteral("1")},
                    {"FFE_C0", QStringLiteral("040")}}));
    QVERIFY(d.dialog()->recordResources());
    QCOMPARE(matching(d.dialog()->serdesOptions(), QStringLiteral("_tx_ffe_c0 ")),
             QStringList{"q0_ln0_tx_ffe_c0 040"});
}

void RecordingTest::repeatedCallsStartAfresh()
{
    OpenDialog d;
    QVERIFY(d.dialog()->recordResources());
    const QStringList options = d.dialog()->serdesOptions();
    const QStringList lanes = d.dialog()->laneResources();
    const ParameterSet set = d.parameters();
    QVERIFY(d.dialog()->recordResources());
    QCOMPARE(d.dialog()->serdesOptions(), options);
    QCOMPARE(d.dialog()->laneResources(), lanes);
    QCOMPARE(d.dialog()->pllResources().size(), 2);
    QCOMPARE(d.parameters(), set);
}

std::unique_ptr<QObject> createRecordingTest()
{
    return std::make_unique<RecordingTest>();
}

#include "tst_recording.moc"
