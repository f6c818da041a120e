#include "parametersets.h"
#include "protocol/topdefines.h"

#include <QtTest>

#include <memory>

using namespace IPJESD204B;

namespace {

const QString Grave = QStringLiteral("`");

// The lines of one directive name, grave accent stripped.
QStringList linesFor(const QStringList &lines, const QString &name)
{
    QStringList found;
    for (const QString &line : lines) {
        const QString body = line.mid(1);
        if (line.startsWith(Grave) &&
            (body == "define " + name || body.startsWith("define " + name + ' ')))
            found << body;
    }
    return found;
}

} // namespace

class TestTopDefines : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void coreLine_data();
    void coreLine();
    void noCoreModeStartsWithLane();
    void fixedConfigWithoutWidth();
};

void TestTopDefines::workedExample()
{
    const QVariantMap params = ParameterSets::receiveTwoLanes();
    QCOMPARE(topLevelDefines(params), QStringList{"`define module_name jesd_rx"});
    const QStringList expected{
        "define RX_EN",      "define JESD_TX 0",        "define JESD_RX 1",
        "define LANE 2",     "define BUFFER_SIZE 1024", "define RPAT_EN 0",
        "define JSPAT_EN 0", "define INIT_SYSMODE 0",   "define INIT_SCAMEBLE 0",
        "define INIT_F 3",   "define INIT_K 31",        "define INIT_REINIT_MODE 0",
        "define FIX_EN 0",   "define FIX_SCAM 0",       "define FIX_F 0",
        "define MODE 1",     "define CFG_CLK 10000000"};
    QStringList withGrave;
    for (const QString &line : expected)
        withGrave << Grave + line;
    QCOMPARE(coreDefines(params), withGrave);
}

void TestTopDefines::coreLine_data()
{
    QTest::addColumn<QVariantMap>("changes"); // invalid value: key removed
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    const QVariantMap transmit{{"Receive", false}, {"Transmit", true}};
    const QVariantMap fixed{{"Fixed_Config_Enable", true}};

    QTest::newRow("tx buffer is fixed") << ParameterSets::with(transmit, {{"LMFC_Buffer", "512"}})
                                        << "BUFFER_SIZE" << QStringList{"define BUFFER_SIZE 1024"};
    QTest::newRow("rx buffer follows") << QVariantMap{{"LMFC_Buffer", "512"}} << "BUFFER_SIZE"
                                       << QStringList{"define BUFFER_SIZE 512"};
    QTest::newRow("receive wins over both") << QVariantMap{{"Both_Receive_and_Transmit", true}}
                                            << "RX_EN" << QStringList{"define RX_EN"};
    QTest::newRow("transmit wins over both")
        << ParameterSets::with(transmit, {{"Both_Receive_and_Transmit", true}}) << "TX_AND_RX_EN"
        << QStringList{};
    QTest::newRow("both") << QVariantMap{{"Receive", false}, {"Both_Receive_and_Transmit", true}}
                          << "TX_AND_RX_EN" << QStringList{"define TX_AND_RX_EN"};
    QTest::newRow("F one") << QVariantMap{{"Default_F", "1"}} << "INIT_F"
                           << QStringList{"define INIT_F 0"};
    QTest::newRow("F missing") << QVariantMap{{"Default_F", QVariant()}} << "INIT_F"
                               << QStringList{"define INIT_F -1"};
    QTest::newRow("F not a number")
        << QVariantMap{{"Default_F", "four"}} << "INIT_F" << QStringList{"define INIT_F -1"};
    QTest::newRow("F smallest int") << QVariantMap{{"Default_F", "-2147483648"}} << "INIT_F"
                                    << QStringList{"define INIT_F -2147483649"};
    QTest::newRow("F fraction") << QVariantMap{{"Default_F", "4.0"}} << "INIT_F"
                                << QStringList{"define INIT_F -1"};
    QTest::newRow("sysref on") << QVariantMap{{"Default_SYSREF_Always", "Always On"}}
                               << "INIT_SYSMODE" << QStringList{"define INIT_SYSMODE 1"};
    QTest::newRow("resync required")
        << QVariantMap{{"Default_SYSREF_Required_on_Re-Sync", "Required"}} << "INIT_REINIT_MODE"
        << QStringList{"define INIT_REINIT_MODE 1"};
    QTest::newRow("resync unknown") << QVariantMap{{"Default_SYSREF_Required_on_Re-Sync", ""}}
                                    << "INIT_REINIT_MODE" << QStringList{};
    QTest::newRow("drp") << QVariantMap{{"DRP_Ports", true}} << "DRP_PORT_EN"
                         << QStringList{"define DRP_PORT_EN"};
    QTest::newRow("fixed 32 caps at 4") << ParameterSets::with(fixed, {{"Default_F", "8"}})
                                        << "FIX_F" << QStringList{"define FIX_F 4"};
    QTest::newRow("fixed 64 caps at 8")
        << ParameterSets::with(
               fixed, {{"Default_F", "16"}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", true}})
        << "FIX_F" << QStringList{"define FIX_F 8"};
    QTest::newRow("fixed 64 below cap")
        << ParameterSets::with(
               fixed, {{"Default_F", "2"}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", true}})
        << "FIX_F" << QStringList{"define FIX_F 2"};
    QTest::newRow("fixed F not a number") << ParameterSets::with(fixed, {{"Default_F", "x"}})
                                          << "FIX_F" << QStringList{"define FIX_F 0"};
    QTest::newRow("fixed scrambling on")
        << ParameterSets::with(fixed, {{"Default_Scrambling_ON", "Scrambling ON"}}) << "FIX_SCAM"
        << QStringList{"define FIX_SCAM 1"};
    QTest::newRow("not fixed ignores scrambling")
        << QVariantMap{{"Default_Scrambling_ON", "Scrambling ON"}, {"Default_F", "2"}} << "FIX_SCAM"
        << QStringList{"define FIX_SCAM 0"};
    QTest::newRow("64-bit mode") << QVariantMap{{"Pcs_Width_32bit", false},
                                                {"Pcs_Width_64bit", true}}
                                 << "MODE" << QStringList{"define MODE 2"};
    QTest::newRow("32 wins over 64")
        << QVariantMap{{"Pcs_Width_64bit", true}} << "MODE" << QStringList{"define MODE 1"};
    QTest::newRow("clock fraction") << QVariantMap{{"Clock_Frequency", "122.88"}} << "CFG_CLK"
                                    << QStringList{"define CFG_CLK 122880000"};
    QTest::newRow("clock whole") << QVariantMap{{"Clock_Frequency", "250"}} << "CFG_CLK"
                                 << QStringList{"define CFG_CLK 250000000"};
    QTest::newRow("clock rounds to nearest") << QVariantMap{{"Clock_Frequency", "12.3456789"}}
                                             << "CFG_CLK" << QStringList{"define CFG_CLK 12345679"};
    QTest::newRow("clock not a number")
        << QVariantMap{{"Clock_Frequency", "fast"}} << "CFG_CLK" << QStringList{"define CFG_CLK 0"};
    QTest::newRow("clock tiny negative") << QVariantMap{{"Clock_Frequency", "-0.0000001"}}
                                         << "CFG_CLK" << QStringList{"define CFG_CLK 0"};
}

void TestTopDefines::coreLine()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    const QVariantMap params = ParameterSets::with(ParameterSets::receiveTwoLanes(), changes);
    QCOMPARE(linesFor(coreDefines(params), name), expected);
    QCOMPARE(topLevelDefines(params).size(), 1);
}

void TestTopDefines::noCoreModeStartsWithLane()
{
    const QVariantMap params =
        ParameterSets::with(ParameterSets::receiveTwoLanes(), {{"Receive", false}});
    QCOMPARE(coreDefines(params).first(), QStringLiteral("`define LANE 2"));
    QCOMPARE(coreDefines({}).first(), QStringLiteral("`define LANE "));
}

void TestTopDefines::fixedConfigWithoutWidth()
{
    const QVariantMap params = ParameterSets::with(
        ParameterSets::receiveTwoLanes(),
        {{"Fixed_Config_Enable", true}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", false}});
    const QStringList lines = coreDefines(params);
    QCOMPARE(linesFor(lines, "FIX_EN"), QStringList{"define FIX_EN 1"});
    QCOMPARE(linesFor(lines, "FIX_SCAM"), QStringList{"define FIX_SCAM 0"});
    QVERIFY(linesFor(lines, "FIX_F").isEmpty());
    QVERIFY(linesFor(lines, "MODE").isEmpty());
}

std::unique_ptr<QObject> makeTopDefinesTest()
{
    return std::make_unique<TestTopDefines>();
}

#include "tst_topdefines.moc"
