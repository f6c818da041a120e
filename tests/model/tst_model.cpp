#include "model/nametables.h"
#include "model/parameterkeys.h"

#include <QtTest>

using namespace IPJESD204B;

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void laneRowsFollowThePattern();
    void unknownLaneNames_data();
    void unknownLaneNames();
    void pllResource_data();
    void pllResource();
    void frequencyTemplate_data();
    void frequencyTemplate();
    void deviceGroups_data();
    void deviceGroups();
    void offeredRefClocks_data();
    void offeredRefClocks();
    void absentValues_data();
    void absentValues();
};

void TestModel::laneRowsFollowThePattern()
{
    const QList<LaneRow> &rows = NameTables::lanes();
    QCOMPARE(rows.size(), 8);
    for (int i = 0; i < rows.size(); ++i) {
        const LaneRow &row = rows.at(i);
        const QString q = QString::number(i / 4);
        const QString l = QString::number(i % 4);
        QCOMPARE(row.quad, i / 4);
        QCOMPARE(row.laneInQuad, i % 4);
        QCOMPARE(row.displayName, QStringLiteral("Q%1 Lane%2").arg(q, l));
        QCOMPARE(row.resource, QStringLiteral("Q%1_LANE%2").arg(q, l));
        QCOMPARE(row.rxResource, row.resource + QStringLiteral("_RX"));
        QCOMPARE(row.txResource, row.resource + QStringLiteral("_TX"));
        QCOMPARE(row.lanePrefix, QStringLiteral("q%1_ln%2").arg(q, l));
        QCOMPARE(row.quadPrefix, QStringLiteral("q") + q);
        QCOMPARE(row.cpllResource, QStringLiteral("Q%1_CPLL%2").arg(q, l));
        QCOMPARE(NameTables::laneByDisplayName(row.displayName)->resource, row.resource);
        QCOMPARE(NameTables::laneByResource(row.resource)->displayName, row.displayName);
        QCOMPARE(NameTables::quadByPrefix(row.displayName)->enableLine,
                 QStringLiteral("q%1_enable true").arg(q));
    }
    QVERIFY(!NameTables::quadByPrefix(QStringLiteral("q0 lane0")));
}

void TestModel::unknownLaneNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << "q0 lane0";
    QTest::newRow("two blanks") << "Q0  Lane0";
    QTest::newRow("third quad") << "Q2 Lane0";
    QTest::newRow("trailing blank") << "Q0 Lane0 ";
    QTest::newRow("empty") << "";
}

void TestModel::unknownLaneNames()
{
    QFETCH(QString, name);
    QVERIFY(!NameTables::laneByDisplayName(name));
}

void TestModel::pllResource_data()
{
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("lane");
    QTest::addColumn<QString>("expected"); // empty: none
    QTest::newRow("qpll0 quad 1") << "QPLL0"
                                  << "Q1 Lane2"
                                  << "Q1_QPLL0";
    QTest::newRow("qpll1 quad 0") << "QPLL1"
                                  << "Q0 Lane3"
                                  << "Q0_QPLL1";
    QTest::newRow("cpll is the lane's") << "CPLL"
                                        << "Q1 Lane2"
                                        << "Q1_CPLL2";
    QTest::newRow("lower case") << "qpll0"
                                << "Q1 Lane2"
                                << "";
    QTest::newRow("empty") << ""
                           << "Q0 Lane0"
                           << "";
}

void TestModel::pllResource()
{
    QFETCH(QString, selection);
    QFETCH(QString, lane);
    QFETCH(QString, expected);
    const auto resource = NameTables::pllResource(selection, *NameTables::laneByDisplayName(lane));
    QCOMPARE(resource.value_or(QString()), expected);
    QCOMPARE(resource.has_value(), !expected.isEmpty());
}

void TestModel::frequencyTemplate_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected"); // empty: none
    QTest::newRow("refclk") << "Q0 REFCLK0"
                            << "q0_refclk0_freq %1";
    QTest::newRow("quad 1 refclk") << "Q1 REFCLK1"
                                   << "q1_refclk1_freq %1";
    QTest::newRow("unnumbered refin") << "Q0 REFIN"
                                      << "q0_gpio_freq %1";
    QTest::newRow("refin never offered") << "Q0 REFIN3"
                                         << "q0_gpio3_freq %1";
    QTest::newRow("mclk") << "MCLK"
                          << "mclk_freq %1";
    QTest::newRow("lower case") << "mclk"
                                << "";
    QTest::newRow("host form") << "Q0_REFCLK0"
                               << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestModel::frequencyTemplate()
{
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QCOMPARE(NameTables::frequencyTemplate(source).value_or(QString()), expected);
}

void TestModel::deviceGroups_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("laneRows");
    QTest::newRow("A") << "TQ2-M1E" << int(DeviceGroup::A) << 4;
    QTest::newRow("B last") << "TQ2-S1NR" << int(DeviceGroup::B) << 4;
    QTest::newRow("other") << "TQ2-H4" << int(DeviceGroup::Other) << 8;
    QTest::newRow("whole list") << "TQ2-M1/TQ2-M1E" << int(DeviceGroup::Other) << 8;
    QTest::newRow("empty") << "" << int(DeviceGroup::Other) << 8;
}

void TestModel::deviceGroups()
{
    QFETCH(QString, device);
    QFETCH(int, group);
    QFETCH(int, laneRows);
    QCOMPARE(int(NameTables::deviceGroup(device)), group);
    QCOMPARE(NameTables::isInGroupAOrB(device), group != int(DeviceGroup::Other));
    QCOMPARE(NameTables::laneRowCount(device), laneRows);
}

void TestModel::offeredRefClocks_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("A") << "TQ2-M1" << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK2",
                                                  "Q0 REFCLK3", "Q0 REFIN0",  "Q0 REFIN1"};
    QTest::newRow("B") << "TQ2-S2R" << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFIN", "MCLK"};
    QTest::newRow("other") << "TQ3-H8"
                           << QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q1 REFCLK0", "Q1 REFCLK1"};
}

void TestModel::offeredRefClocks()
{
    QFETCH(QString, device);
    QFETCH(QStringList, expected);
    const QStringList offered = NameTables::offeredRefClocks(device);
    QCOMPARE(offered, expected);
    for (const QString &source : offered)
        QVERIFY2(NameTables::frequencyTemplate(source), qPrintable(source));
}

void TestModel::absentValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantMap>("params");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("both by default")
        << "Both_Receive_and_Transmit" << QVariantMap{} << QVariant(true);
    QTest::newRow("main tap") << "FFE_C0" << QVariantMap{} << QVariant("40");
    QTest::newRow("present empty stays")
        << "SD_THRESHOLD" << QVariantMap{{"SD_THRESHOLD", ""}} << QVariant("");
    QTest::newRow("no absent value") << "PLL_Selection" << QVariantMap{} << QVariant();
}

void TestModel::absentValues()
{
    QFETCH(QString, key);
    QFETCH(QVariantMap, params);
    QFETCH(QVariant, expected);
    QCOMPARE(valueOrAbsent(params, key), expected);
}

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
