#include "nametables.h"

#include <QtTest>

using namespace IPJESD204B;

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void laneRows()
    {
        const QList<LaneRow> &rows = NameTables::lanes();
        QCOMPARE(rows.size(), 8);
        for (int i = 0; i < rows.size(); ++i) {
            const LaneRow &row = rows.at(i);
            const QString q = QString::number(i / 4);
            const QString l = QString::number(i % 4);
            QCOMPARE(row.quad * 4 + row.laneInQuad, i);
            QCOMPARE(row.displayName, QStringLiteral("Q%1 Lane%2").arg(q, l));
            QCOMPARE(row.resource, QStringLiteral("Q%1_LANE%2").arg(q, l));
            QCOMPARE(row.rxResource, row.resource + QStringLiteral("_RX"));
            QCOMPARE(row.txResource, row.resource + QStringLiteral("_TX"));
            QCOMPARE(row.lanePrefix, QStringLiteral("q%1_ln%2").arg(q, l));
            QCOMPARE(row.quadPrefix, QStringLiteral("q") + q);
            QCOMPARE(row.cpllResource, QStringLiteral("Q%1_CPLL%2").arg(q, l));
            QCOMPARE(NameTables::laneByDisplayName(row.displayName)->resource, row.resource);
        }
        for (const char *name : {"q0 lane0", "Q0  Lane0", "Q2 Lane0", "Q0 Lane0 ", ""})
            QVERIFY2(!NameTables::laneByDisplayName(name), name);
    }

    void pllResource_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("lane");
        QTest::addColumn<QString>("expected"); // empty: none
        // clang-format off
        QTest::newRow("qpll0 quad 1") << "QPLL0" << "Q1 Lane2" << "Q1_QPLL0";
        QTest::newRow("qpll1 quad 0") << "QPLL1" << "Q0 Lane3" << "Q0_QPLL1";
        QTest::newRow("cpll is the lane's") << "CPLL" << "Q1 Lane2" << "Q1_CPLL2";
        QTest::newRow("lower case") << "qpll0" << "Q1 Lane2" << "";
        // clang-format on
    }

    void pllResource()
    {
        QFETCH(QString, selection);
        QFETCH(QString, lane);
        QFETCH(QString, expected);
        const auto resource =
            NameTables::pllResource(selection, *NameTables::laneByDisplayName(lane));
        QCOMPARE(resource.value_or(QStringLiteral("<none>")),
                 expected.isEmpty() ? "<none>" : expected);
    }

    void frequencyTemplate_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected"); // empty: none
        // clang-format off
        QTest::newRow("unnumbered refin") << "Q0 REFIN" << "q0_gpio_freq %1";
        QTest::newRow("refin never offered") << "Q0 REFIN3" << "q0_gpio3_freq %1";
        QTest::newRow("lower case") << "mclk" << "";
        QTest::newRow("host form") << "Q0_REFCLK0" << "";
        // clang-format on
    }

    void frequencyTemplate()
    {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(NameTables::frequencyTemplate(source).value_or(QString()), expected);
    }

    void deviceGroups_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("group");
        // clang-format off
        QTest::newRow("A") << "TQ2-M1E" << int(DeviceGroup::A);
        QTest::newRow("B last") << "TQ2-S1NR" << int(DeviceGroup::B);
        QTest::newRow("other") << "TQ2-H4" << int(DeviceGroup::Other);
        QTest::newRow("lower case") << "tq2-m1" << int(DeviceGroup::Other);
        QTest::newRow("whole list") << "TQ2-M1/TQ2-M1E" << int(DeviceGroup::Other);
        // clang-format on
    }

    void deviceGroups()
    {
        QFETCH(QString, device);
        QFETCH(int, group);
        QCOMPARE(int(NameTables::deviceGroup(device)), group);
        QCOMPARE(NameTables::isInGroupAOrB(device), group != int(DeviceGroup::Other));
    }
};

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
