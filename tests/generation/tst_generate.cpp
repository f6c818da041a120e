#include "generationtest.h"
#include "protocol/jesd204b.h"

#include <idecore.h>
#include <message.h>
#include <serdes.h>

#include <QtTest>

using namespace IPJESD204B;

namespace {

QStringList reported;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

struct Run
{
    bool ok = false;
    QStringList ini;
    QStringList options;
    QString message;
};

Run generate(jesd204b &protocol, const QVariantMap &params, bool synthesis = false, Run run = {})
{
    QStringList reserved;
    run.ok = protocol.generate(params, run.ini, reserved, run.options, run.message, synthesis);
    return run;
}

} // namespace

void GenerationTest::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    IPSERDESIP::serdes::instance()->reset();
    IPSERDESIP::serdes::instance()->setWorkingDir(m_work->path());
    reported.clear();
    Core::MessageSink::setHandler([](const QString &title, const QString &text, QWidget *) {
        reported << title + ": " + text;
    });
}

void GenerationTest::cleanup()
{
    Core::MessageSink::setHandler(nullptr);
}

void GenerationTest::resources_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QStringList>("lanes");
    QTest::addColumn<QStringList>("plls");
    QTest::addColumn<QStringList>("rates"); // both, rx, tx of every lane
    const QStringList tx{"0", "0", "6.25"};
    // clang-format off
    QTest::newRow("transmit cpll") << QVariantMap{{"Transmit", true}} << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << tx;
    QTest::newRow("receive before transmit") << QVariantMap{{"Receive", true}, {"Transmit", true}} << QStringList{"Q0_LANE1_RX", "Q1_LANE0_RX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << QStringList{"0", "6.25", "0"};
    QTest::newRow("both on qpll1") << QVariantMap{{"Both_Receive_and_Transmit", true}, {"PLL_Selection", "QPLL1"}} << QStringList{"Q0_LANE1", "Q1_LANE0"} << QStringList{"Q0_QPLL1", "Q1_QPLL1"} << QStringList{"6.25", "0", "0"};
    QTest::newRow("no mode still claims plls") << QVariantMap{{"PLL_Selection", "QPLL0"}} << QStringList{} << QStringList{"Q0_QPLL0", "Q1_QPLL0"} << tx;
    QTest::newRow("quad pll once per lane") << QVariantMap{{"Transmit", true}, {"PLL_Selection", "QPLL0"}, {"JESD204B_Lane1_connect_with", "Q0 Lane2"}} << QStringList{"Q0_LANE1_TX", "Q0_LANE2_TX"} << QStringList{"Q0_QPLL0", "Q0_QPLL0"} << tx;
    QTest::newRow("lanes above the count ignored") << QVariantMap{{"Number_of_lanes", "1"}, {"Transmit", true}} << QStringList{"Q0_LANE1_TX"} << QStringList{"Q0_CPLL1"} << tx;
    QTest::newRow("unknown lane and pll") << QVariantMap{{"JESD204B_Lane0_connect_with", "q0 lane1"}, {"Transmit", true}, {"PLL_Selection", "cpll"}} << QStringList{"Q1_LANE0_TX"} << QStringList{} << tx;
    QTest::newRow("count absent") << QVariantMap{{"Number_of_lanes", QVariant()}, {"Transmit", true}} << QStringList{} << QStringList{} << tx;
    QTest::newRow("huge count") << QVariantMap{{"Number_of_lanes", "2000000000"}, {"Transmit", true}} << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0"} << tx;
    QTest::newRow("keys beyond eight") << QVariantMap{{"Number_of_lanes", "12"}, {"Transmit", true}, {"JESD204B_Lane11_connect_with", "Q1 Lane3"}, {"JESD204B_Lane011_connect_with", "Q1 Lane2"}} << QStringList{"Q0_LANE1_TX", "Q1_LANE0_TX", "Q1_LANE3_TX"} << QStringList{"Q0_CPLL1", "Q1_CPLL0", "Q1_CPLL3"} << tx;
    // clang-format on
}

void GenerationTest::resources()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QStringList, lanes);
    QFETCH(QStringList, plls);
    QFETCH(QStringList, rates);
    const QVariantMap params{{"file", "doc"},
                             {"module", "top"},
                             {"Number_of_lanes", "2"},
                             {"JESD204B_Lane0_connect_with", "Q0 Lane1"},
                             {"JESD204B_Lane1_connect_with", "Q1 Lane0"},
                             {"PLL_Selection", "CPLL"},
                             {"Line_Rate", "6.25"},
                             {"Reference_CLK_Source", "Q0 REFCLK1"},
                             {"Reference_CLK_Frequency", "156.2500"}};
    jesd204b protocol(TestPaths::sourceDir() + QStringLiteral("/data"));
    QVERIFY(protocol.load());
    const std::unique_ptr<IPSERDESIP::Message> report(
        protocol.resources(withChanges(params, changes)));
    QCOMPARE(report->laneList, lanes);
    QCOMPARE(report->pllList, plls);
    // The reference clock and rate lists hold one entry per lane resource.
    const auto each = [&lanes](const QString &value) {
        return QStringList(lanes).replaceInStrings(QRegularExpression(".+"), value);
    };
    QCOMPARE(report->bothRateList, each(rates.at(0)));
    QCOMPARE(report->rxRateList, each(rates.at(1)));
    QCOMPARE(report->txRateList, each(rates.at(2)));
    QCOMPARE(report->refClkList, each("Q0_REFCLK1"));
    QCOMPARE(report->refClkFreqList, each("156.2500"));
    QCOMPARE(
        QStringList({report->protocolName, report->instanceName, report->file, report->module}),
        (QStringList{"JESD204B", "doc:top", "doc", "top"}));
}

void GenerationTest::emptySetAndEmptyFileName()
{
    // An empty set stops before anything else.
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const Run none = generate(protocol, {}, true, Run{false, {"kept"}, {}, "untouched"});
    QVERIFY(!none.ok);
    QCOMPARE(none.ini, QStringList{"kept"});
    QVERIFY(none.options.isEmpty());
    QCOMPARE(none.message, QStringLiteral("untouched"));
    QVERIFY(entries(m_work->path()).isEmpty());

    // A working directory that cannot hold directories shows the composed path in the host's
    // report: nothing is added or dropped around the empty file name.
    const QString blocker = m_work->filePath("plain");
    QFile(blocker).open(QIODevice::WriteOnly);
    IPSERDESIP::serdes::instance()->setWorkingDir(blocker);
    const Run refused = generate(protocol, receiveTwoLanes({{"file", QString()}}));
    QVERIFY(!refused.ok);
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported.first().endsWith(blocker + "//temp/jesd204b"), qPrintable(reported.first()));
    // The lists were built before the directory was refused.
    QCOMPARE(refused.ini.last(), QStringLiteral("global_reset_enable true"));
    QCOMPARE(refused.options.size(), 10);
    QCOMPARE(entries(m_work->path()), QStringList{"plain"});

    IPSERDESIP::serdes::instance()->setWorkingDir(m_work->path());
    QVERIFY(generate(protocol, {{"module", "m"}}).ok);
    QCOMPARE(protocol.parameters(), (QVariantMap{{"module", "m"}}));
    QCOMPARE(entries(m_work->path() + "/temp/jesd204b").size(), 3);
}

void GenerationTest::secondCallAppends()
{
    jesd204b protocol(QStringLiteral("/nonexistent"));
    const QVariantMap params = receiveTwoLanes();
    const Run first = generate(protocol, params);
    const Run second = generate(protocol, params, false, first);
    QVERIFY(second.ok);
    // Every line again, except the quad enable line that the list already holds.
    QStringList again = first.ini;
    again.removeOne("q0_enable true");
    QCOMPARE(second.ini, first.ini + again);
    QCOMPARE(second.options, first.options + first.options);
    // The files hold the whole list, but the define lists start afresh on every call.
    const QString dir = m_work->path() + "/jesd_rx/temp/jesd204b/";
    QCOMPARE(fileBytes(dir + "jesd204b.ini"), (second.ini.join('\n') + '\n').toUtf8());
    QCOMPARE(fileBytes(dir + "top_define.vh"), QByteArray("`define module_name jesd_rx\n"));
}

void GenerationTest::deviceAndProtocolForm()
{
    // Without a device generation looks up the stored one; a device already set wins.
    jesd204b lookedUp(QStringLiteral("/nonexistent"));
    QVERIFY(generate(lookedUp, receiveTwoLanes()).ok);
    QCOMPARE(lookedUp.device().id(), QStringLiteral("TQ2M1E-BG256"));

    jesd204b protocol(QStringLiteral("/nonexistent"));
    protocol.setDevice(Core::IdeCore::deviceDataBase()->findDevice("TQ2H4-FF676"));
    const Run run = generate(protocol, receiveTwoLanes({{"Receive", false}, {"Transmit", true}}));
    QVERIFY(run.ok);
    QCOMPARE(protocol.device().id(), QStringLiteral("TQ2H4-FF676"));
    // The protocol's own lane block reads the set that generation stored and its device.
    const QStringList lane1 = run.ini.filter(QRegularExpression("^q0_ln1_"));
    QVERIFY(lane1.contains("q0_ln1_pma_width_mode 20") && lane1.contains("q0_ln1_tx_ffe_c0 40"));
    QStringList options{"q0_enable true"};
    protocol.appendLaneOptions(options, "q0_ln1", "q0");
    QCOMPARE(options.mid(1), lane1);
}
