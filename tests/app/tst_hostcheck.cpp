// "ipcore-host check": exit codes, streams and the kept record for a verdict, the link rules as
// warnings (and alike in every other command that judges them), and the JSON form. The verdicts'
// wording is the generator's and tested there.
#include "hostrun.h"
#include "testfiles.h"
#include "testpaths.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using TestSupport::HostRun;
using TestSupport::runHost;

namespace {

using TestPaths::example;

HostRun check(const QString &set, const QString &designName, const QStringList &options = {})
{
    QStringList arguments{"check", set};
    if (!designName.isEmpty())
        arguments << "--design" << example("designs/" + designName);
    return runHost(arguments + options);
}

} // namespace

class HostCheckTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_written = 0;

    // The example with the changes, stored under a fresh name.
    QString store(const QString &base, const QJsonObject &changes)
    {
        return TestFiles::writeJson(m_dir.filePath(QStringLiteral("set%1.json").arg(m_written++)),
                                    TestFiles::changedJson(example(base), changes));
    }

private slots:
    // Lines of standard output, or of standard error for a refusal (exit 2); the JSON form of
    // a proved verdict.
    void verdicts_data()
    {
        QTest::addColumn<QString>("params");      // an example; empty: none
        QTest::addColumn<QStringList>("options"); // "<designs>": the examples' designs
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("expected"); // lines that must appear
        QTest::addColumn<QJsonArray>("proved");    // the first lanes of the JSON verdict
        const QStringList rxBeside{"--design", "<designs>/jesd_rx_q0.json"};
        const QStringList quillan{"--design", "<designs>/quillan_q1.json"};
        const QString p = "ipcore-host check: ";
        // clang-format off
        // rx_2lane, 4.9152 Gbps on QPLL0 from 122.88 MHz: D 1 leaves the VCO below the band's
        // 9.8 GHz, D 2 gives 9.8304 GHz = 122.88 MHz x 80. both_8lane: 9.8304 Gbps both ways on
        // QPLL0, 245.76 MHz x 40 = 9.8304 GHz with D 1.
        QJsonArray rx;
        for (const QString i : {"0", "1"})
            rx << QJsonObject{{"lane", "Q0_LANE" + i}, {"instance", "q0_ln" + i}, {"direction", "rx"}, {"pll", "Q0_QPLL0"}, {"dividers", QJsonObject{{"M", 1}, {"N", 80}, {"rxD", 2}}}, {"vcoGHz", 9.8304}, {"rateGbps", 4.9152}, {"refClockSource", "Q0_REFCLK0"}, {"refClockMHz", 122.88}};
        const QJsonObject both{{"lane", "Q0_LANE0"}, {"instance", "q0_ln0"}, {"direction", "tx+rx"}, {"pll", "Q0_QPLL0"}, {"dividers", QJsonObject{{"M", 1}, {"N", 40}, {"rxD", 1}, {"txD", 1}}}, {"vcoGHz", 9.8304}, {"rateGbps", 9.8304}, {"refClockSource", "Q1_REFCLK1"}, {"refClockMHz", 245.76}};
        QTest::newRow("rx 2 lanes") << "rx_2lane.json" << QStringList() << 0 << QStringList{"jesd_rx:jesd_rx: the line rate can be made"} << rx;
        QTest::newRow("both 8 lanes") << "both_8lane.json" << QStringList() << 0 << QStringList{"jesd_both:jesd_both: the line rate can be made"} << QJsonArray{both};
        QTest::newRow("tx 2 lanes") << "tx_2lane.json" << QStringList() << 0 << QStringList{"jesd_tx:jesd_tx: the line rate can be made", "  q0_ln1 (Q0_LANE1, tx): 4.9152 Gbps on Q0_QPLL1, M 1, N 80, D 2, VCO 9.8304 GHz, from Q0_REFCLK0 at 122.88 MHz"} << QJsonArray();
        QTest::newRow("rx on running QPLL0") << "rx_2lane.json" << rxBeside << 1 << QStringList{"jesd_rx:jesd_rx: the line rate cannot be made", "  q0_ln0, q0_ln1 on Q0_QPLL0: the PLL already runs at 14.7456 GHz for adc.v:jesd_rx and serves 7.3728, 3.6864, 1.8432, 0.9216 Gbps, not 4.9152 Gbps. QPLL1 or CPLL would make it from 122.88 MHz."} << QJsonArray();
        QTest::newRow("no parameter file") << "" << QStringList() << 2 << QStringList{p + "expected one parameter file, got 0"} << QJsonArray();
        QTest::newRow("unknown device") << "tx_2lane.json" << QStringList{"--device", "XC-9"} << 2 << QStringList{p + "device 'XC-9' is not in the device database"} << QJsonArray();
        QTest::newRow("design for another chip") << "tx_2lane.json" << quillan << 2 << QStringList{p + "<designs>/quillan_q1.json is a design for TQ2H4-FF676, the core targets TQ2M1-BG256"} << QJsonArray();
        QTest::newRow("missing design") << "tx_2lane.json" << QStringList{"--design", "<designs>/missing.json"} << 2 << QStringList{p + "<designs>/missing.json: cannot read the design: no such file"} << QJsonArray();
        // clang-format on
    }

    void verdicts()
    {
        QFETCH(QString, params);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        QFETCH(QJsonArray, proved);
        options.replaceInStrings("<designs>", example("designs"));
        expected.replaceInStrings("<designs>", example("designs"));
        const QString record = m_dir.filePath("kept.csr");
        QFile::remove(record);
        QStringList arguments{"check", "--csr", record};
        if (!params.isEmpty())
            arguments << example(params);
        const HostRun run = runHost(arguments + options);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(exitCode != 2 || run.out.isEmpty());
        const QStringList lines = exitCode == 2 ? run.errLines() : run.outLines();
        for (const QString &line : expected)
            QVERIFY2(lines.contains(line), qPrintable(run.out + run.err));
        // The record is kept only for a line rate that can be made.
        QCOMPARE(QFile::exists(record), exitCode == 0);
        QVERIFY(exitCode != 0 || TestFiles::bytes(record).contains("\n[q0_ln0]\n"));
        if (proved.isEmpty())
            return;
        // The JSON form of the same verdict.
        const QJsonObject verdict = check(example(params), {}, {"--json"}).json();
        QVERIFY(verdict["feasible"].toBool() && !verdict.contains("reasons"));
        QCOMPARE(verdict["module"].toString(), expected.first().section(": ", 0, 0));
        for (int i = 0; i < proved.size(); ++i)
            QCOMPARE(verdict["lanes"].toArray().at(i), proved.at(i));
    }

    // One list of links for every command that judges the JESD204B rules: plan, check
    // --strict, ilas and simulate refuse exactly the broken ones, naming the same rules;
    // generate and configure --batch do as asked and warn with the same rules. The set is
    // rx_2lane (L 2, 4.9152 Gbps) with the changes, its link record M = F, N' = 16, S = 1, so
    // that F = M * S * N' / (8 * L) is the set's.
    void ruleConsistency_data()
    {
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<int>("subclass");
        QTest::addColumn<QString>("planFs"); // the plan's Fs for the same F and K; empty: no plan
        QTest::addColumn<QStringList>("rules");
        const QString k = "Frames per multiframe";
        const QString pcs = "PCS width";
        const QString rate = "Lane rate";
        // clang-format off
        QTest::newRow("example") << QJsonObject() << 1 << "122.88" << QStringList();
        QTest::newRow("F * K 1") << QJsonObject{{"Default_F", "1"}, {"Default_K", "1"}} << 1 << "491.52" << QStringList{k};
        QTest::newRow("F * K 16") << QJsonObject{{"Default_F", "1"}, {"Default_K", "16"}} << 1 << "491.52" << QStringList{k};
        QTest::newRow("F * K 17") << QJsonObject{{"Default_F", "1"}, {"Default_K", "17"}} << 1 << "491.52" << QStringList{pcs};
        QTest::newRow("F * K 1024") << QJsonObject{{"Default_F", "32"}, {"Default_K", "32"}} << 1 << "15.36" << QStringList();
        QTest::newRow("F * K 1025") << QJsonObject{{"Default_F", "41"}, {"Default_K", "25"}} << 1 << "10" << QStringList{k};
        // The plan stores the largest buffer, 1024 octets, which every legal multiframe fits.
        QTest::newRow("buffer short of F * K") << QJsonObject{{"Default_F", "8"}, {"Default_K", "32"}, {"LMFC_Buffer", "128"}} << 1 << "" << QStringList{"Elastic buffer"};
        QTest::newRow("transmitter has no buffer") << QJsonObject{{"Receive", false}, {"Transmit", true}, {"Default_F", "16"}, {"LMFC_Buffer", "256"}} << 1 << "30.72" << QStringList();
        QTest::newRow("64-bit PCS, F * K 20") << QJsonObject{{"Default_F", "1"}, {"Default_K", "20"}, {"Pcs_Width_32bit", false}, {"Pcs_Width_64bit", true}} << 1 << "" << QStringList{pcs};
        QTest::newRow("subclass 0") << QJsonObject() << 0 << "122.88" << QStringList{"Subclass"};
        QTest::newRow("subclass 2") << QJsonObject() << 2 << "122.88" << QStringList{"Subclass"};
        QTest::newRow("0.99 Gbps") << QJsonObject{{"Line_Rate", "0.99"}} << 1 << "24.75" << QStringList{rate};
        QTest::newRow("12.6 Gbps") << QJsonObject{{"Line_Rate", "12.6"}} << 1 << "315" << QStringList{rate};
        // clang-format on
    }

    void ruleConsistency()
    {
        QFETCH(QJsonObject, changes);
        QFETCH(int, subclass);
        QFETCH(QString, planFs);
        QFETCH(QStringList, rules);
        const QString set = store("rx_2lane.json", changes);
        const QJsonObject stored = TestFiles::readJson(set);
        const QString f = stored["Default_F"].toString();
        // clang-format off
        TestFiles::writeJson(QString(set).replace(".json", ".link.json"), {{"format", "jesd204b-link"}, {"version", 1}, {"M", f.toInt()}, {"N'", 16}, {"SUBCLASSV", subclass}});
        // clang-format on
        // The rule titles a run names, from its lines "[prefix]Title: ...".
        const auto named = [](const HostRun &run, const QString &prefix) {
            QStringList titles;
            for (const QString &line : run.errLines()) {
                if (line.startsWith(prefix))
                    titles << line.mid(prefix.size()).section(':', 0, 0);
            }
            return titles;
        };
        const bool broken = !rules.isEmpty();
        const HostRun strict = check(set, {}, {"--strict"});
        QCOMPARE(strict.exitCode != 0, broken);
        if (strict.exitCode != 2)
            QCOMPARE(named(strict, "warning: "), rules);
        const HostRun ilas = runHost({"ilas", set});
        QCOMPARE(ilas.exitCode != 0, broken);
        QCOMPARE(named(ilas, "ipcore-host ilas: "), rules);
        if (!planFs.isEmpty()) {
            const HostRun plan = runHost({"plan", "--fs", planFs, "--l", "2", "--m", f, "--s", "1",
                                          "--np", "16", "--k", stored["Default_K"].toString(),
                                          "--subclass", QString::number(subclass)});
            QCOMPARE(plan.exitCode != 0, broken);
            QCOMPARE(named(plan, "ipcore-host plan: "), rules);
        }
        // A run the link rules allow would start the simulator; the refusal comes first.
        if (broken) {
            const HostRun simulate = runHost({"simulate", set, "--workdir", m_dir.path()});
            QCOMPARE(simulate.exitCode, 2);
            QCOMPARE(named(simulate, "ipcore-host simulate: "), rules);
        }
        // Their own rules may refuse a set outright; what they take, they warn about.
        const HostRun generate = runHost({"generate", set, "--workdir", m_dir.path()});
        QVERIFY(generate.exitCode == 0 || broken);
        if (generate.exitCode == 0)
            QCOMPARE(named(generate, "warning: "), rules);
        const HostRun configure = runHost(
            {"configure", "--edit", set, "--batch", "--output", m_dir.filePath("configured.json")});
        QVERIFY2(configure.exitCode == 0 || broken, configure.err.constData());
        if (configure.exitCode == 0)
            QCOMPARE(named(configure, "warning: "), rules);
    }

    // The JSON verdict carries the same warnings; --strict fails on them there too.
    void jsonWarnings()
    {
        // 5 * 26 = 130 octets are no whole number of 4-octet words and overflow 128. Its LMFC,
        // 4915.2 / 1300 = 6144/1625 MHz, and the design's 31.25 = 125/4 MHz share only
        // 1/6500 MHz, below 122.88 MHz / 8192 = 0.015 MHz.
        const QString set = store(
            "rx_2lane.json", {{"Default_F", "5"}, {"Default_K", "26"}, {"LMFC_Buffer", "128"}});
        TestFiles::writeJson(m_dir.filePath("dac.json"),
                             {{"Line_Rate", "10"}, {"Default_F", "1"}, {"Default_K", "32"}});
        TestFiles::writeJson(m_dir.filePath("dac.link.json"),
                             {{"format", "jesd204b-link"}, {"version", 1}, {"M", 2}, {"N'", 16}});
        const QJsonObject dac{
            {"name", "dac:dac"}, {"protocol", "JESD204B"}, {"lanes", QJsonArray()}};
        const QString design =
            TestFiles::writeJson(m_dir.filePath("design.json"), {{"instances", QJsonArray{dac}}});
        const QStringList warnings{
            "PCS width: a multiframe of F * K = 130 octets is no whole number of 4-octet words of "
            "the 32-bit PCS, so the core cannot track it",
            "Elastic buffer: 128 octets do not hold one multiframe of F * K = 5 * 26 = 130 octets; "
            "the buffer must have at least 130 octets, or K at most 25",
            "SYSREF: the 2 links share none from device clock 122.88 MHz / 8192 = 0.015 MHz up; "
            "dac:dac (LMFC 31.25 MHz) breaks it, leaving ~0.000153846154 MHz / n"};
        QCOMPARE(check(set, {}).exitCode, 0);
        const HostRun json = check(set, {}, {"--json", "--strict", "--design", design});
        QCOMPARE(json.exitCode, 1);
        QCOMPARE(json.json()["feasible"].toBool(), true);
        QStringList jsonWarnings;
        for (const QJsonValue &value : json.json()["warnings"].toArray())
            jsonWarnings << value.toString();
        QCOMPARE(jsonWarnings, warnings);
    }

    // Refusals in JSON: the reason's lanes and PLL, and the text the text form gives. Every
    // reason lists exactly the suggestions its text makes, and none beside a route conflict.
    void jsonRefusals_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("designFile");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QJsonArray>("lanes");
        QTest::addColumn<QString>("pll");
        // clang-format off
        QTest::newRow("no divider for the clock") << store("tx_2lane.json", {{"Line_Rate", "8.0"}, {"Reference_CLK_Frequency", "156.25"}}) << "" << "" << QJsonArray{"q0_ln0", "q0_ln1"} << "Q0_QPLL1";
        QTest::newRow("route conflict") << example("both_8lane.json") << "quillan_q1.json" << "Q1_LANE0: the receive line is already used by eth.v:mac0" << QJsonArray{"Q1_LANE0"} << "";
        // The running QPLL0 serves 7.3728 Gbps from its own clock; no other PLL makes the rate.
        QTest::newRow("the running PLL's clock") << store("rx_2lane.json", {{"Line_Rate", "7.3728"}, {"Reference_CLK_Source", "Q0 REFCLK1"}}) << "jesd_rx_q0.json" << "q0_ln0, q0_ln1: Q0_QPLL0 runs from Q0_REFCLK0 for adc.v:jesd_rx, not from Q0_REFCLK1; use Q0_REFCLK0. No other PLL makes it from 122.88 MHz either." << QJsonArray{"q0_ln0", "q0_ln1"} << "Q0_QPLL0";
        QTest::newRow("running PLL beside a route conflict") << store("rx_2lane.json", {{"Line_Rate", "7.3728"}, {"Reference_CLK_Source", "Q0 REFCLK1"}, {"JESD204B_Lane0_connect_with", "Q0 Lane2"}, {"JESD204B_Lane1_connect_with", "Q0 Lane3"}, {"JESD204B_Lane2_connect_with", "Q0 Lane0"}, {"JESD204B_Lane3_connect_with", "Q0 Lane1"}, {"recordlanes", QJsonArray{"Q0 Lane2", "Q0 Lane3"}}}) << "jesd_rx_q0.json" << "q0_ln2, q0_ln3: Q0_QPLL0 runs from Q0_REFCLK0 for adc.v:jesd_rx, not from Q0_REFCLK1." << QJsonArray{"q0_ln2", "q0_ln3"} << "Q0_QPLL0";
        // QPLL1 makes 3.6864 Gbps from no clock: only another PLL with another clock is a way.
        QTest::newRow("another PLL and clock") << store("tx_2lane.json", {{"Line_Rate", "3.6864"}, {"Reference_CLK_Frequency", "133.33"}}) << "" << "q0_ln0, q0_ln1 on Q0_QPLL1: QPLL1 cannot make 3.6864 Gbps from Q0_REFCLK0 at 133.33 MHz: 3.6864 Gbps needs a VCO of 3.6864, 7.3728, 14.7456, 29.4912, 58.9824 GHz (rate x D, D in {1, 2, 4, 8, 16}), none of which lies in 8-13 GHz. No other PLL makes it from 133.33 MHz either. Other PLLs with another clock on Q0_REFCLK0 that would work: QPLL0 at 122.88 MHz, QPLL0 at 147.456 MHz, CPLL at 147.456 MHz." << QJsonArray{"q0_ln0", "q0_ln1"} << "Q0_QPLL1";
        // The running receiver holds Q0_REFCLK0 at 122.88 MHz, and nothing makes 10.3125 Gbps from it.
        QTest::newRow("no PLL and clock at all") << store("tx_2lane.json", {{"Line_Rate", "10.3125"}, {"JESD204B_Lane0_connect_with", "Q0 Lane2"}, {"JESD204B_Lane1_connect_with", "Q0 Lane3"}, {"recordlanes", QJsonArray{"Q0 Lane2", "Q0 Lane3"}}}) << "jesd_rx_q0.json" << "q0_ln2, q0_ln3 on Q0_QPLL1: QPLL1 cannot make 10.3125 Gbps from Q0_REFCLK0 at 122.88 MHz: VCO 10.3125 GHz (D 1) would need N / M = ~83.92334, which no N in 16..160 with M in 1..4 gives. No other PLL makes it from 122.88 MHz either, and no other PLL was found that makes it from another clock on Q0_REFCLK0." << QJsonArray{"q0_ln2", "q0_ln3"} << "Q0_QPLL1";
        // clang-format on
    }

    void jsonRefusals()
    {
        QFETCH(QString, params);
        QFETCH(QString, designFile);
        QFETCH(QString, text);
        QFETCH(QJsonArray, lanes);
        QFETCH(QString, pll);
        const HostRun run = check(params, designFile, {"--json"});
        QCOMPARE(run.exitCode, 1);
        const QJsonObject verdict = run.json();
        QCOMPARE(verdict["feasible"].toBool(), false);
        QVERIFY(verdict["lanes"].toArray().isEmpty());
        QJsonObject reason;
        const QJsonArray reasons = verdict["reasons"].toArray();
        const bool conflict = std::any_of(reasons.begin(), reasons.end(), [](const QJsonValue &r) {
            return r["text"].toString().contains(" is already used by ");
        });
        for (const QJsonValue &value : reasons) {
            if (text.isEmpty() || value["text"].toString() == text)
                reason = value.toObject();
            const QString said = value["text"].toString();
            const int clocks = value["suggestedRefClocksMHz"].toArray().size();
            const int plls = value["suggestedPlls"].toArray().size();
            const int sources = value["suggestedRefClockSources"].toArray().size();
            QCOMPARE(said.contains(" that would work on "), clocks > 0);
            QCOMPARE(said.contains(" would make it from "), plls > 0);
            QCOMPARE(said.contains("; use "), sources > 0);
            const QJsonArray pairs = value["suggestedPllClocks"].toArray();
            QStringList pairTexts;
            for (const QJsonValue &pair : pairs)
                pairTexts << pair["pll"].toString() + " at " +
                                 QString::number(pair["refClockMHz"].toDouble()) + " MHz";
            QCOMPARE(said.contains(" that would work: " + pairTexts.join(", ") + "."),
                     !pairs.isEmpty());
            QVERIFY2(!conflict || clocks + plls + sources + pairs.size() == 0, qPrintable(said));
        }
        QCOMPARE(reason["lanes"].toArray(), lanes);
        QCOMPARE(reason["pll"].toString(), pll);
        QVERIFY(check(params, designFile).outLines().contains("  " + reason["text"].toString()));
    }
};

QTEST_GUILESS_MAIN(HostCheckTest)
#include "tst_hostcheck.moc"
