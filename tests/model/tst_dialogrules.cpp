// The rules the dialog fills its choices from, the name tables they resolve through, and the
// rule table that judges a stored set: value rules per key for a device, and the safety rules
// that no set may break.
#include "dialogrules.h"
#include "nametables.h"
#include "parameterkeys.h"
#include "parameterrules.h"

#include <QtTest>

using namespace IPJESD204B;

Q_DECLARE_METATYPE(IPJESD204B::LaneState)
Q_DECLARE_METATYPE(IPJESD204B::QuadPllState)

namespace {

const LaneState F = LaneState::Free;
const LaneState O = LaneState::UsedInOwnDirection;
const LaneState X = LaneState::UsedOtherwise;
const LaneState A = LaneState::Absent;

// Lanes "Q0 Lane0" ... in order with the given states; `exclusive` marks lanes an exclusive
// protocol lists.
QList<LaneOccupancy> occupancy(const QList<LaneState> &states, const QList<int> &exclusive = {})
{
    QList<LaneOccupancy> lanes;
    for (int i = 0; i < states.size(); ++i)
        lanes.append(
            {QStringLiteral("Q%1 Lane%2").arg(i / 4).arg(i % 4), states[i], exclusive.contains(i)});
    return lanes;
}

const DeviceFacts twoQuads{true, QStringLiteral("TQ2-H4"), 2};
const DeviceFacts oneQuad{true, QStringLiteral("TQ2-M1E"), 1};

// A two-lane receive core on quad 0 as the dialog stores it.
IPSERDESIP::ParameterMap validSet()
{
    IPSERDESIP::ParameterMap set = absentValues();
    // clang-format off
    set.insert({{"target_device", "TQ2H4-FF676"}, {"file", "jesd_rx"}, {"module", "jesd_rx"},
                {"recordlanes", QStringList{"Q0 Lane0", "Q0 Lane1"}}, {"PLL_Selection", "QPLL0"},
                {"Receive", true}, {"Both_Receive_and_Transmit", false},
                {"JESD204B_Lane0_connect_with", "Q0 Lane0"}, {"JESD204B_Lane1_connect_with", "Q0 Lane1"}});
    // clang-format on
    for (int lane = 2; lane < 8; ++lane)
        set.insert(QStringLiteral("JESD204B_Lane%1_connect_with").arg(lane), QString());
    return set;
}

} // namespace

class TestDialogRules : public QObject
{
    Q_OBJECT

private slots:
    void laneOffer_data()
    {
        QTest::addColumn<QList<LaneState>>("states");
        QTest::addColumn<QList<int>>("exclusive");
        QTest::addColumn<QStringList>("offered");
        // clang-format off
        QTest::newRow("all free") << QList<LaneState>{F, F, F, F} << QList<int>{} << QStringList{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3"};
        QTest::newRow("own direction, shareable") << QList<LaneState>{O, F} << QList<int>{} << QStringList{"Q0 Lane0", "Q0 Lane1"};
        QTest::newRow("own direction, exclusive protocol") << QList<LaneState>{O, F} << QList<int>{0} << QStringList{"Q0 Lane1"};
        QTest::newRow("exclusive mark on a free lane is irrelevant") << QList<LaneState>{F} << QList<int>{0} << QStringList{"Q0 Lane0"};
        QTest::newRow("other direction") << QList<LaneState>{X, F, X} << QList<int>{} << QStringList{"Q0 Lane1"};
        QTest::newRow("nothing free") << QList<LaneState>{X, X, A} << QList<int>{} << QStringList{};
        QTest::newRow("second quad") << QList<LaneState>{X, X, X, X, F, O} << QList<int>{} << QStringList{"Q1 Lane0", "Q1 Lane1"};
        // clang-format on
    }

    void laneOffer()
    {
        QFETCH(QList<LaneState>, states);
        QFETCH(QList<int>, exclusive);
        QTEST(offeredLanes(occupancy(states, exclusive)), "offered");
    }

    void laneShareable_data()
    {
        QTest::addColumn<QString>("lane");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<bool>("shareable");
        // clang-format off
        QTest::newRow("nothing taken") << "Q0_LANE0" << QStringList{} << true;
        QTest::newRow("listed") << "Q0_LANE0" << QStringList{"Q0_LANE0"} << false;
        QTest::newRow("part of a listed name") << "Q0_LANE1" << QStringList{"x:Q0_LANE1_TX"} << false;
        QTest::newRow("case matters") << "Q0_LANE1" << QStringList{"q0_lane1"} << true;
        // clang-format on
    }

    void laneShareable()
    {
        QFETCH(QString, lane);
        QFETCH(QStringList, taken);
        QTEST(isLaneShareable(lane, taken), "shareable");
    }

    void laneCount_data()
    {
        QTest::addColumn<int>("offered");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<int>("index");
        QTest::newRow("first fill shows 2") << 8 << "" << 1;
        QTest::newRow("first fill, one lane") << 1 << "" << 0;
        QTest::newRow("kept") << 8 << "4" << 3;
        QTest::newRow("4 with three left shows 3") << 3 << "4" << 2;
        QTest::newRow("nothing offered") << 0 << "4" << -1;
    }

    void laneCount()
    {
        QFETCH(int, offered);
        QFETCH(QString, remembered);
        QStringList counts;
        for (int n = 1; n <= offered; ++n)
            counts << QString::number(n);
        QTEST(laneCountIndex(counts, remembered), "index");
    }

    void pllChoice_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QuadPllState>("quad0");
        QTest::addColumn<QuadPllState>("quad1");
        QTest::addColumn<QStringList>("choices");
        const QuadPllState idle{false, false, {}};
        const QuadPllState busy{true, true, {}};
        // clang-format off
        QTest::newRow("no lanes") << QStringList{} << idle << idle << QStringList{"CPLL"};
        QTest::newRow("free quad") << QStringList{"Q0 Lane0"} << idle << busy << QStringList{"QPLL0", "QPLL1", "CPLL"};
        QTest::newRow("busy quad") << QStringList{"Q0 Lane0"} << busy << idle << QStringList{"CPLL"};
        QTest::newRow("busy quad serving QPLL1") << QStringList{"Q0 Lane0"} << QuadPllState{true, true, {"QPLL1"}} << idle << QStringList{"QPLL1", "CPLL"};
        QTest::newRow("each once over two quads") << QStringList{"Q0 Lane0", "Q1 Lane0", "Q0 Lane1"} << QuadPllState{false, true, {}} << QuadPllState{true, false, {}} << QStringList{"QPLL0", "QPLL1", "CPLL"};
        QTest::newRow("order follows the first lane's quad") << QStringList{"Q0 Lane0", "Q1 Lane0"} << QuadPllState{true, false, {}} << QuadPllState{false, true, {}} << QStringList{"QPLL1", "QPLL0", "CPLL"};
        // clang-format on
    }

    void pllChoice()
    {
        QFETCH(QStringList, lanes);
        QFETCH(QuadPllState, quad0);
        QFETCH(QuadPllState, quad1);
        QTEST(pllChoices(lanes, {quad0, quad1}), "choices");
    }

    void drpConflict_data()
    {
        QTest::addColumn<IPSERDESIP::ParameterMap>("globalData");
        QTest::addColumn<int>("laneSet");
        QTest::addColumn<QString>("module");
        // clang-format off
        QTest::newRow("same lanes") << IPSERDESIP::ParameterMap{{"jesd204bCheckDRP_rx", 3}} << 3 << "rx";
        QTest::newRow("other lanes") << IPSERDESIP::ParameterMap{{"jesd204bCheckDRP_rx", 12}} << 3 << QString();
        QTest::newRow("first by key") << IPSERDESIP::ParameterMap{{"jesd204bCheckDRP_b", 5}, {"jesd204bCheckDRP_a", 5}} << 5 << "a";
        QTest::newRow("text value") << IPSERDESIP::ParameterMap{{"jesd204bCheckDRP_tx", "5"}} << 5 << "tx";
        QTest::newRow("prefix must lead") << IPSERDESIP::ParameterMap{{"x_jesd204bCheckDRP_a", 5}} << 5 << QString();
        // clang-format on
    }

    void drpConflict()
    {
        QFETCH(IPSERDESIP::ParameterMap, globalData);
        QFETCH(int, laneSet);
        QFETCH(QString, module);
        const QString found = drpConflictingModule(globalData, laneSet);
        QCOMPARE(found.isNull(), module.isNull());
        QCOMPARE(found, module);
    }

    void fieldCorrection_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        // F 1..256 (4), K 1..32 (32), clock 1..100 MHz (10.0), line rate 1..12.5 Gbps
        // without a trailing point (4.9152), reference clock 50..500 MHz (122.88).
        // clang-format off
        QTest::newRow("F empty") << "F" << "" << "4";
        QTest::newRow("F 0") << "F" << "0" << "4";
        QTest::newRow("F 1") << "F" << "1" << "1";
        QTest::newRow("F 256") << "F" << "256" << "256";
        QTest::newRow("F 257") << "F" << "257" << "4";
        QTest::newRow("K 33") << "K" << "33" << "32";
        QTest::newRow("clock 0.5") << "clock" << "0.5" << "10.0";
        QTest::newRow("clock 1.") << "clock" << "1." << "1.";
        QTest::newRow("rate 12.5") << "rate" << "12.5" << "12.5";
        QTest::newRow("rate trailing point") << "rate" << "5." << "4.9152";
        QTest::newRow("rate 0.99") << "rate" << "0.99" << "4.9152";
        QTest::newRow("refclk 50") << "refclk" << "50" << "50";
        QTest::newRow("refclk 500.01") << "refclk" << "500.01" << "122.88";
        // clang-format on
    }

    void fieldCorrection()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        // clang-format off
        const QMap<QString, const FieldRange *> ranges{{"F", &Fields::DefaultF}, {"K", &Fields::DefaultK},
            {"clock", &Fields::ClockFrequency}, {"rate", &Fields::LineRate}, {"refclk", &Fields::RefClockFrequency}};
        // clang-format on
        QTEST(correctedField(text, *ranges.value(field)), "kept");
    }

    // The name tables the dialog's lane, PLL and clock choices resolve through.
    void laneRows()
    {
        const QList<LaneRow> &rows = NameTables::lanes();
        QCOMPARE(rows.size(), 8);
        for (int i = 0; i < rows.size(); ++i) {
            const LaneRow &row = rows.at(i);
            const QString q = QString::number(i / 4);
            const QString l = QString::number(i % 4);
            QCOMPARE(row.quad * 4 + row.laneInQuad, i);
            // The PLL a selection names for the lane: its quad's or its own; names as shown only.
            const auto pll = [&row](const char *selection) {
                return NameTables::pllResource(selection, row).value_or("none");
            };
            QCOMPARE(
                (QStringList{row.displayName, row.resource, row.rxResource, row.txResource,
                             row.lanePrefix, row.quadPrefix, pll("CPLL"), pll("QPLL0"),
                             pll("QPLL1"), pll("qpll0")}),
                QStringLiteral("Q%1 Lane%2|Q%1_LANE%2|Q%1_LANE%2_RX|Q%1_LANE%2_TX|q%1_ln%2|q%1|"
                               "Q%1_CPLL%2|Q%1_QPLL0|Q%1_QPLL1|none")
                    .arg(q, l)
                    .split('|'));
            QCOMPARE(NameTables::laneByDisplayName(row.displayName)->resource, row.resource);
        }
        for (const char *name : {"q0 lane0", "Q0  Lane0", "Q2 Lane0", "Q0 Lane0 ", ""})
            QVERIFY2(!NameTables::laneByDisplayName(name), name);
        for (const QuadRow &row : NameTables::quads()) {
            QCOMPARE(
                (QStringList{row.displayPrefix, row.optionPrefix, row.enableLine, row.qpll0Resource,
                             row.qpll1Resource, row.biasKey, row.biasLineTemplate.arg(7)}),
                QStringLiteral("Q%1|q%1|q%1_enable true|Q%1_QPLL0|Q%1_QPLL1|Q%1_BIAS|"
                               "q%1_rx_eq_bias 7")
                    .arg(row.quad)
                    .split('|'));
        }
    }

    // Each source's frequency line names that source's own pin: a refin is a "gpio" pin.
    void refClockRows()
    {
        const QRegularExpression form("^Q(\\d) (REFCLK|REFIN)(\\d?)$");
        QCOMPARE(NameTables::refClocks().size(), 12);
        for (const RefClockRow &row : NameTables::refClocks()) {
            const QRegularExpressionMatch pin = form.match(row.displayName);
            const QString option =
                row.displayName == "MCLK"
                    ? QStringLiteral("mclk")
                    : QStringLiteral("q%1_%2%3")
                          .arg(pin.captured(1), pin.captured(2) == "REFIN" ? "gpio" : "refclk",
                               pin.captured(3));
            QVERIFY2(pin.hasMatch() || row.displayName == "MCLK", qPrintable(row.displayName));
            QCOMPARE(NameTables::frequencyTemplate(row.displayName)->arg("122.88"),
                     option + "_freq 122.88");
        }
        // Only the display names, exactly as the dialog shows them.
        for (const char *name : {"mclk", "Q0_REFCLK0", "Q0 refclk0"})
            QVERIFY2(!NameTables::frequencyTemplate(name), name);
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

    // The valid set passes, and so does every default the dialog starts from, each in its key.
    void absentValuesKeepTheirRules()
    {
        QCOMPARE(ParameterRules::valueProblem(validSet(), twoQuads), QString());
        QCOMPARE(ParameterRules::valueProblem(validSet(), oneQuad), QString());
        QCOMPARE(ParameterRules::safetyProblem(validSet()), QString());
        const IPSERDESIP::ParameterMap defaults = absentValues();
        for (auto it = defaults.begin(); it != defaults.end(); ++it) {
            IPSERDESIP::ParameterMap set = validSet();
            set.insert(it.key(), it.value());
            QVERIFY2(ParameterRules::valueProblem(set, twoQuads).isEmpty(), qPrintable(it.key()));
        }
    }

    void valueRules_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");  // invalid: the key removed
        QTest::addColumn<int>("quads");       // of the device; 0: a device the host does not know
        QTest::addColumn<QString>("refusal"); // start of the message; empty: accepted
        // clang-format off
        QTest::newRow("module empty") << "module" << QVariant("") << 2 << "\"module\" is \"\"; allowed: a Verilog identifier";
        QTest::newRow("module with blank") << "module" << QVariant("my core") << 2 << "\"module\" is \"my core\"";
        QTest::newRow("module keyword") << "module" << QVariant("module") << 2 << "\"module\" is \"module\"";
        QTest::newRow("module leading dollar") << "module" << QVariant("$core") << 2 << "\"module\" is \"$core\"";
        QTest::newRow("module keyword in other case") << "module" << QVariant("Module") << 2 << "";
        QTest::newRow("lanes zero") << "Number_of_lanes" << QVariant("0") << 2 << "\"Number_of_lanes\" is \"0\"; allowed: a whole number from 1 to 8 on TQ2-H4";
        QTest::newRow("lanes nine") << "Number_of_lanes" << QVariant("9") << 2 << "\"Number_of_lanes\" is \"9\"";
        QTest::newRow("lanes eight on one quad") << "Number_of_lanes" << QVariant("8") << 1 << "\"Number_of_lanes\" is \"8\"; allowed: a whole number from 1 to 4 on TQ2-M1E";
        QTest::newRow("clock exponent") << "Clock_Frequency" << QVariant("1e1") << 2 << "\"Clock_Frequency\" is \"1e1\"; allowed: a decimal number from 1 to 100";
        QTest::newRow("clock above") << "Clock_Frequency" << QVariant("100.5") << 2 << "\"Clock_Frequency\" is \"100.5\"";
        QTest::newRow("F zero") << "Default_F" << QVariant("0") << 2 << "\"Default_F\" is \"0\"; allowed: a whole number from 1 to 256";
        QTest::newRow("K 33") << "Default_K" << QVariant("33") << 2 << "\"Default_K\" is \"33\"";
        QTest::newRow("line rate trailing point") << "Line_Rate" << QVariant("5.") << 2 << "\"Line_Rate\" is \"5.\"";
        QTest::newRow("line rate top") << "Line_Rate" << QVariant("12.5") << 2 << "";
        QTest::newRow("refclk below") << "Reference_CLK_Frequency" << QVariant("49.9") << 2 << "\"Reference_CLK_Frequency\" is \"49.9\"";
        QTest::newRow("LMFC not offered") << "LMFC_Buffer" << QVariant("300") << 2 << "\"LMFC_Buffer\" is \"300\"; allowed: \"128\", \"256\", \"512\", \"1024\"";
        QTest::newRow("PLL unknown") << "PLL_Selection" << QVariant("QPLL2") << 2 << "\"PLL_Selection\" is \"QPLL2\"; allowed: \"QPLL0\", \"QPLL1\", \"CPLL\"";
        QTest::newRow("swing between steps") << "DIFFERENTIAL_SWING" << QVariant("200mV") << 2 << "\"DIFFERENTIAL_SWING\" is \"200mV\"";
        QTest::newRow("ATT above") << "ATT" << QVariant(11) << 2 << "\"ATT\" is \"11\"";
        QTest::newRow("C0 below") << "FFE_C0" << QVariant(20) << 2 << "\"FFE_C0\" is \"20\"; allowed: a whole number from 21 to 40";
        QTest::newRow("flag as text") << "DRP_Ports" << QVariant("true") << 2 << "\"DRP_Ports\" is \"true\"; allowed: true or false";
        QTest::newRow("refclk of another quad") << "Reference_CLK_Source" << QVariant("Q1 REFCLK0") << 1 << "\"Reference_CLK_Source\" is \"Q1 REFCLK0\"";
        QTest::newRow("lane on a missing quad") << "JESD204B_Lane1_connect_with" << QVariant("Q1 Lane1") << 1 << "\"JESD204B_Lane1_connect_with\" is \"Q1 Lane1\"; allowed: a lane of TQ2-M1E";
        QTest::newRow("used lane unconnected") << "JESD204B_Lane1_connect_with" << QVariant("") << 2 << "\"JESD204B_Lane1_connect_with\" is \"\"";
        QTest::newRow("unused lane unconnected") << "JESD204B_Lane2_connect_with" << QVariant("") << 2 << "";
        QTest::newRow("recorded lane on a missing quad") << "recordlanes" << QVariant(QStringList{"Q0 Lane0", "Q1 Lane0"}) << 1 << "\"recordlanes\" is \"Q1 Lane0\"";
        QTest::newRow("recorded lane unknown") << "recordlanes" << QVariant(QStringList{"Q0 Lane9"}) << 2 << "\"recordlanes\" is \"Q0 Lane9\"";
        QTest::newRow("no target device") << "target_device" << QVariant() << 2 << "\"target_device\" is missing; a parameter set needs \"target_device\", \"file\", \"module\", \"recordlanes\", \"PLL_Selection\"";
        QTest::newRow("unknown device") << "target_device" << QVariant("TQ2H4-FF676") << 0 << "\"target_device\" is \"TQ2H4-FF676\"; allowed: a device";
        // clang-format on
    }

    void valueRules()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, quads);
        QFETCH(QString, refusal);
        IPSERDESIP::ParameterMap set = validSet();
        if (value.isValid())
            set.insert(key, value);
        else
            set.remove(key);
        const QString problem =
            ParameterRules::valueProblem(set, quads == 2   ? twoQuads
                                              : quads == 1 ? oneQuad
                                                           : DeviceFacts{false, QString(), 0});
        if (refusal.isEmpty())
            QCOMPARE(problem, QString());
        else
            QVERIFY2(problem.startsWith(refusal), qPrintable(problem));
        QVERIFY(!problem.contains(QLatin1Char('\n')));
    }

    void safetyRules_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("inserted");
        // Each key the dialog stores, since each reaches some generated line.
        // clang-format off
        const QStringList keys{"module", "file", "Number_of_lanes", "LMFC_Buffer", "Line_Rate",
            "PLL_Selection", "Reference_CLK_Source", "Reference_CLK_Frequency", "Clock_Frequency",
            "Default_F", "Default_K", "Default_Scrambling_ON", "Default_SYSREF_Always",
            "Default_SYSREF_Required_on_Re-Sync", "DIFFERENTIAL_SWING", "SD_THRESHOLD", "FFE_C0",
            "Loopback_Mode", "JESD204B_Lane0_connect_with", "recordlanes", "target_device"};
        // clang-format on
        const QList<QPair<const char *, QString>> injections{
            {"newline", QStringLiteral("\n`define DRP_PORT_EN")},
            {"NUL", QString(QChar(0))},
            {"backtick", QStringLiteral("`include")},
            {"double quote", QStringLiteral("\"/etc/passwd\"")},
            {"line separator", QString(QChar(0x2028))}};
        for (const QString &key : keys) {
            for (const auto &injection : injections)
                QTest::addRow("%s %s", qPrintable(key), injection.first) << key << injection.second;
        }
    }

    // Refused whatever the rest of the set holds: with the value rules and without.
    void safetyRules()
    {
        QFETCH(QString, key);
        QFETCH(QString, inserted);
        IPSERDESIP::ParameterMap set = validSet();
        if (key == QLatin1String("recordlanes"))
            set.insert(key, QStringList{QStringLiteral("Q0 Lane0"),
                                        QStringLiteral("Q0 Lane1") + inserted});
        else
            set.insert(key, set.value(key).toString() + inserted);
        const QString problem = ParameterRules::safetyProblem(set);
        QVERIFY2(problem.startsWith(QLatin1Char('"') + key + QStringLiteral("\" ")),
                 qPrintable(problem));
        QCOMPARE(ParameterRules::valueProblem(set, twoQuads), problem);
        // The message itself stays one line of printable text.
        for (const QChar c : problem)
            QVERIFY(c.category() != QChar::Other_Control && c != QChar(0x2028));
    }

    void pathsAndLists_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("refused");
        // clang-format off
        QTest::newRow("file parent") << "file" << QVariant("..") << true;
        QTest::newRow("file empty") << "file" << QVariant("") << true;
        QTest::newRow("file current") << "file" << QVariant(".") << true;
        QTest::newRow("file absolute") << "file" << QVariant("/tmp/x") << true;
        QTest::newRow("file backslash") << "file" << QVariant("a\\b") << true;
        QTest::newRow("file 256 bytes") << "file" << QVariant(QString(256, 'a')) << true;
        QTest::newRow("file 255 bytes") << "file" << QVariant(QString(255, 'a')) << false;
        QTest::newRow("file with dots inside") << "file" << QVariant("a..b") << false;
        QTest::newRow("nine lanes") << "recordlanes" << QVariant(QStringList{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3", "Q1 Lane0", "Q1 Lane1", "Q1 Lane2", "Q1 Lane3", "Q9 Lane9"}) << true;
        QTest::newRow("lane twice") << "recordlanes" << QVariant(QStringList{"Q0 Lane0", "Q0 Lane0"}) << true;
        QTest::newRow("eight lanes") << "recordlanes" << QVariant(QStringList{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3", "Q1 Lane0", "Q1 Lane1", "Q1 Lane2", "Q1 Lane3"}) << false;
        // clang-format on
    }

    void pathsAndLists()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(bool, refused);
        IPSERDESIP::ParameterMap set = validSet();
        set.insert(key, value);
        const QString problem = ParameterRules::safetyProblem(set);
        QCOMPARE(!problem.isEmpty(), refused);
        if (refused)
            QVERIFY2(problem.startsWith(QLatin1Char('"') + key + QLatin1Char('"')),
                     qPrintable(problem));
    }

    void shownValueEscapes_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("newline") << "a\nb" << "\"a\\nb\"";
        QTest::newRow("quote") << "a\"b" << "\"a\\\"b\"";
        QTest::newRow("NUL") << QString("a") + QChar(0) << "\"a\\u0000\"";
        QTest::newRow("long") << QString(70, 'x') << "\"" + QString(60, 'x') + "...\"";
        // clang-format on
    }

    void shownValueEscapes()
    {
        QFETCH(QString, value);
        QTEST(ParameterRules::shownValue(value), "shown");
    }
};

QTEST_GUILESS_MAIN(TestDialogRules)
#include "tst_dialogrules.moc"
