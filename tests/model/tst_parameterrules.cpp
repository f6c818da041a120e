// The rule table that the dialog fills its choices from and that judges a stored set: value
// rules per key for a device, and the safety rules that no set may break.
#include "dialogrules.h"
#include "parameterkeys.h"
#include "parameterrules.h"

#include <QtTest>

using namespace IPJESD204B;

namespace {

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

class TestParameterRules : public QObject
{
    Q_OBJECT

private slots:
    void validSetsPass()
    {
        QCOMPARE(ParameterRules::valueProblem(validSet(), twoQuads), QString());
        QCOMPARE(ParameterRules::valueProblem(validSet(), oneQuad), QString());
        QCOMPARE(ParameterRules::safetyProblem(validSet()), QString());
    }

    // Every default the dialog starts from keeps its own key's rule.
    void absentValuesKeepTheirRules()
    {
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

QTEST_GUILESS_MAIN(TestParameterRules)
#include "tst_parameterrules.moc"
