// "ipcore-host configure", headless: its snapshots, batch runs in a design, the refusals.
#include "hostrun.h"
#include "testfiles.h"

#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::readJson;
using TestFiles::writeJson;
using TestSupport::HostRun;

namespace {

// Runs `ipcore-host configure` with the build's plug-ins, headless and without a session.
HostRun configure(const QStringList &arguments)
{
    const TestSupport::HostSetup headless{
        {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=", "DISPLAY="}, 0, 120000};
    return TestSupport::runHost(
        QStringList{"configure", "--plugin-dir", TestPaths::pluginDir()} + arguments, headless);
}

const QString twoQuads = QStringLiteral("TQ2H4-FF676");

// The files generate writes for a set in the design, each with its content's hash.
QStringList generated(const QString &set, const QString &design, const QString &workDir)
{
    const HostRun run = TestSupport::runHost({"generate", "--plugin-dir", TestPaths::pluginDir(),
                                              "--design", design, "--workdir", workDir, set});
    return run.exitCode == 0 ? TestFiles::tree(workDir, true) : QStringList{run.err};
}

} // namespace

class HostConfigureTest : public QObject
{
    Q_OBJECT

private slots:
    // The snapshot, quiet headless: every tab's title and picture, and the lanes each lane row
    // offers. Inside a design it shows the dialog as it opens there and leaves the design as it
    // was; designs/jesd_rx_q0.json: another core receives on Q0 lanes 2 and 3.
    void snapshot_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("design");     // an example design; empty: none
        QTest::addColumn<QJsonObject>("stored"); // opened with --edit unless empty
        QTest::addColumn<QStringList>("offered");
        const QStringList quad0{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3"};
        const QStringList quad1{"Q1 Lane0", "Q1 Lane1", "Q1 Lane2", "Q1 Lane3"};
        // clang-format off
        QTest::newRow("one quad") << "TQ2S1-FG324" << "" << QJsonObject() << quad0;
        QTest::newRow("new core in a design") << twoQuads << "designs/jesd_rx_q0.json" << QJsonObject() << QStringList{"Q0 Lane0", "Q0 Lane1"} + quad1;
        // The core that holds the two lanes gets them back, and keeps its receive mode.
        QTest::newRow("the core holding them") << twoQuads << "designs/jesd_rx_q0.json" << QJsonObject{{"version", "1.0"}, {"Receive", true}, {"Both_Receive_and_Transmit", false}, {"file", "adc.v"}, {"module", "jesd_rx"}} << quad0 + quad1;
        // clang-format on
    }
    void snapshot()
    {
        QFETCH(QString, device);
        QFETCH(QString, design);
        QFETCH(QJsonObject, stored);
        QFETCH(QStringList, offered);
        const QString dir = m_dir.filePath(QStringLiteral("snapshot-") + QTest::currentDataTag());
        QStringList arguments{"--device", device, "--snapshot", dir};
        const QByteArray designBytes = TestFiles::bytes(TestPaths::example(design));
        if (!design.isEmpty())
            arguments << "--design" << TestFiles::put(dir + ".design.json", designBytes);
        if (!stored.isEmpty())
            arguments << "--edit" << writeJson(dir + ".stored.json", stored);
        const HostRun run = configure(arguments);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.isEmpty() && run.err.isEmpty(), run.err.constData());
        const QJsonArray tabs = readJson(dir + QStringLiteral("/dialog.json"))["tabs"].toArray();
        QStringList titles;
        for (const QJsonValue &tab : tabs) {
            titles << tab["title"].toString();
            QVERIFY2(!QImage(dir + '/' + tab["image"].toString()).isNull(),
                     qPrintable(tab["image"].toString()));
        }
        QCOMPARE(titles, (QStringList{"JESD204B Core Configuration", "PHY Configuration", "AFE",
                                      "Optional Ports Configuration"}));
        const QJsonObject phy = tabs.at(1)["widgets"].toObject();
        for (int row = 0; row < 8; ++row) {
            const QJsonValue box = phy[QStringLiteral("Lane%1Connect").arg(row)];
            QCOMPARE(box["items"].toArray(), QJsonArray::fromStringList(offered));
        }
        if (!design.isEmpty()) {
            QCOMPARE(TestFiles::bytes(arguments.at(5)), designBytes);
            return;
        }
        // One entry of each kind the snapshot describes.
        QCOMPARE(phy["refClkSource"]["items"].toArray(),
                 (QJsonArray{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFIN", "MCLK"}));
        QCOMPARE(phy["refClkSource"]["itemData"].toArray(), (QJsonArray{0, 1, 2, 3}));
        QCOMPARE(phy["Lane4Connect"]["visible"].toBool(true), false);
        QCOMPARE(phy["Lane2Connect"]["enabled"], QJsonValue(false));
        QCOMPARE(phy["radioButton32Bit"]["checked"].toBool(), true);
        QCOMPARE(tabs.at(2)["widgets"]["attSpinBox"]["value"].toInt(), 7);
        // Labels of one name in several forms stay apart, one set per tab.
        QCOMPARE(tabs.at(0)["widgets"]["label"]["text"].toString(),
                 QStringLiteral("Default F(Octets per Frame):"));
        QCOMPARE(tabs.at(2)["widgets"]["label"]["text"].toString(), QStringLiteral("(0~19)"));
    }

    // A core accepted in batch mode joins the design; the next one gets the lanes left free.
    void batchAcceptJoinsTheDesign_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("bias declined") << "no";
        QTest::newRow("bias accepted") << "yes";
    }
    void batchAcceptJoinsTheDesign()
    {
        QFETCH(QString, answer);
        const QString design =
            writeJson(m_dir.filePath("design-" + answer + ".json"), {{"device", twoQuads}});
        const QString first = m_dir.filePath("first-" + answer + ".json");
        const HostRun run =
            configure({"--design", design, "--batch", "--answer", answer, "--output", first,
                       "--project-dir", m_dir.path(), "--name", "core_a"});
        QCOMPARE(run.exitCode, 0);
        // The question is all a headless batch run says.
        QCOMPARE(run.errLines(), (QStringList{"Question: Q0 Lane2, Q0 Lane3 BIAS will also be "
                                              "changed to 7, whether to accept or not? ",
                                              ""}));
        const QJsonObject set = readJson(first);
        QCOMPARE(set["recordlanes"].toArray(), (QJsonArray{"Q0 Lane0", "Q0 Lane1"}));
        QCOMPARE(set["ifChangedAllOfBias"], QJsonValue(answer == QLatin1String("yes")));
        QCOMPARE(set["FFE_CM"], QJsonValue(0));

        // clang-format off
        const QString transmit = writeJson(m_dir.filePath("core_b.json"), {{"version", "1.0"}, {"Transmit", true}, {"Both_Receive_and_Transmit", false}, {"file", "core_b"}, {"module", "core_b"}, {"DRP_Ports", true}});
        // clang-format on
        // Without --output the set goes to standard output, and nothing else does.
        const HostRun second = configure(
            {"--design", design, "--edit", transmit, "--batch", "--project-dir", m_dir.path()});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.json()["recordlanes"].toArray(), (QJsonArray{"Q0 Lane2", "Q0 Lane3"}));
        QStringList names;
        for (const QJsonValue &instance : readJson(design)["instances"].toArray())
            names << instance["name"].toString();
        QCOMPARE(names, (QStringList{"core_a:core_a", "core_b:core_b"}));

        // Reopened in the design, a core clashes neither with its own lanes nor its DRP record.
        const QString stored = writeJson(m_dir.filePath("core_b_stored.json"), second.json());
        const HostRun reopened = configure(
            {"--design", design, "--edit", stored, "--batch", "--project-dir", m_dir.path()});
        QVERIFY2(reopened.exitCode == 0, qPrintable(reopened.errLines().join('\n')));
        QCOMPARE(reopened.json()["recordlanes"].toArray(), (QJsonArray{"Q0 Lane2", "Q0 Lane3"}));
        QCOMPARE(readJson(design)["instances"].toArray().size(), 2);
    }

    // A design with two receivers on quad 0 that both took the whole quad's bias, set to 5
    // since: core-a (module core_a) on lanes 0 and 1, core_b on lanes 2 and 3.
    QString biasDesign(const QString &tag)
    {
        const QString dir = m_dir.filePath(tag);
        QDir().mkpath(dir);
        const QString design = writeJson(dir + "/design.json", {{"device", twoQuads}});
        const QStringList common{"--design", design,          "--batch", "--answer",
                                 "yes",      "--project-dir", dir};
        if (configure(common + QStringList{"--name", "core-a", "--output", dir + "/a.json"})
                .exitCode != 0)
            return {};
        const QStringList lanes{"Q0 Lane2", "Q0 Lane3", "Q0 Lane0", "Q0 Lane1"};
        QJsonObject b{{"file", "core_b"}, {"module", "core_b"}};
        for (int i = 0; i < 4; ++i)
            b.insert(QString("JESD204B_Lane%1_connect_with").arg(i), lanes[i]);
        writeJson(dir + "/b.json", TestFiles::changedJson(dir + "/a.json", b));
        if (configure(common + QStringList{"--edit", dir + "/b.json", "--output", dir + "/b.json"})
                .exitCode != 0)
            return {};
        return writeJson(
            design, TestFiles::changedJson(design, {{"globalData", QJsonObject{{"Q0_BIAS", 5}}}}));
    }

    // Editing a core changes nothing in the design it did not change: an unchanged edit keeps
    // its generated files, and a core that declines the bias leaves the one the other core
    // published.
    void editKeepsTheDesign_data()
    {
        QTest::addColumn<bool>("declined");
        QTest::addColumn<QString>("watched"); // the core whose generated files must stay
        QTest::newRow("unchanged edit") << false << "a";
        QTest::newRow("bias declined, the other core's stays") << true << "b";
    }
    void editKeepsTheDesign()
    {
        QFETCH(bool, declined);
        QFETCH(QString, watched);
        const QString design = biasDesign(QTest::currentDataTag());
        QVERIFY(!design.isEmpty());
        const QString dir = QFileInfo(design).path();
        const QString set = dir + '/' + watched + ".json";
        const QStringList before = generated(set, design, dir + "/before");
        const QString ini = "/" + readJson(set)["file"].toString() + "/temp/jesd204b/jesd204b.ini";
        QVERIFY2(TestFiles::bytes(dir + "/before" + ini).contains("q0_rx_eq_bias 5"),
                 qPrintable(before.join('\n')));

        const QString edited =
            writeJson(dir + "/edited.json",
                      TestFiles::changedJson(dir + "/a.json", {{"ifChangedAllOfBias", !declined}}));
        const HostRun run =
            configure({"--design", design, "--edit", edited, "--batch", "--project-dir", dir});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errLines().join('\n')));
        QCOMPARE(generated(set, design, dir + "/after"), before);
    }

    // A clock typed with more digits than the configuration line keeps: check and configure
    // prove the line's clock alike, and the design stores that clock.
    void clockAsConfigured_data()
    {
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("stored");
        // clang-format off
        QTest::newRow("122.8804") << "122.8804" << "4.9152" << "122.88";
        QTest::newRow("245.76004") << "245.76004" << "9.8304" << "245.76";
        // clang-format on
    }
    void clockAsConfigured()
    {
        QFETCH(QString, clock);
        QFETCH(QString, rate);
        const QString dir = m_dir.filePath(QStringLiteral("clock-") + clock);
        QDir().mkpath(dir);
        const QJsonObject set =
            TestFiles::changedJson(TestPaths::example("tx_2lane.json"),
                                   {{"Reference_CLK_Frequency", clock}, {"Line_Rate", rate}});
        const QString design = writeJson(dir + "/design.json", {{"device", set["target_device"]}});
        const QString params = writeJson(dir + "/set.json", set);
        const HostRun checked = TestSupport::runHost(
            {"check", "--plugin-dir", TestPaths::pluginDir(), "--design", design, params});
        QVERIFY2(checked.exitCode == 0, checked.out.constData());
        const HostRun run =
            configure({"--design", design, "--edit", params, "--batch", "--project-dir", dir});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errLines().join('\n')));
        QTEST(readJson(design)["refClocks"].toArray().at(0)["frequency"].toString(), "stored");
    }

    // Every shipped example is a set the dialog writes: opened and accepted, it comes back.
    void examplesComeBackUnchanged_data()
    {
        QTest::addColumn<QString>("example");
        const QStringList examples =
            QDir(TestPaths::examplesDir()).entryList({QStringLiteral("*.json")}, QDir::Files);
        QVERIFY(!examples.isEmpty());
        for (const QString &example : examples)
            QTest::newRow(qPrintable(example)) << TestPaths::example(example);
    }
    void examplesComeBackUnchanged()
    {
        QFETCH(QString, example);
        const HostRun run =
            configure({"--edit", example, "--batch", "--project-dir", m_dir.path()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errLines().join('\n')));
        QCOMPARE(run.json(), readJson(example));
    }

    void refusals_data()
    {
        QTest::addColumn<QJsonObject>("stored"); // opened with --edit unless empty
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // a whole line of standard error
        const QStringList batch{"--device", twoQuads, "--batch"};
        const QString usage = QStringLiteral("ipcore-host configure: ");
        // clang-format off
        QTest::newRow("other version") << QJsonObject{{"version", "2.0"}} << batch << 1 << usage + "the dialog did not open: Error: This version of specified IP Config file is incompatible with current IP Core Generator.";
        QTest::newRow("calculate") << QJsonObject{{"version", "1.0"}, {"Transmit", true}, {"Both_Receive_and_Transmit", false}} << batch + QStringList{"--calculate"} << 0 << "Succeed: Succeed";
        QTest::newRow("calculate, infeasible") << QJsonObject{{"version", "1.0"}, {"Transmit", true}, {"Both_Receive_and_Transmit", false}, {"Line_Rate", "8.0"}, {"Reference_CLK_Frequency", "156.25"}} << batch + QStringList{"--calculate"} << 1 << "";
        QTest::newRow("calculate alone") << QJsonObject() << QStringList{"--device", twoQuads, "--calculate"} << 2 << usage + "--calculate and --answer need --batch";
        QTest::newRow("two modes") << QJsonObject() << batch + QStringList{"--snapshot", "x"} << 2 << usage + "--batch and --snapshot exclude each other";
        QTest::newRow("snapshot with output") << QJsonObject() << QStringList{"--device", twoQuads, "--snapshot", "x", "--output", "y"} << 2 << usage + "--snapshot configures nothing: --output does not apply";
        QTest::newRow("odd answer") << QJsonObject() << batch + QStringList{"--answer", "maybe"} << 2 << usage + "--answer takes yes or no, not 'maybe'";
        QTest::newRow("unknown device") << QJsonObject() << QStringList{"--device", "TQ9-X", "--batch"} << 2 << usage + "device 'TQ9-X' is not in the device database";
        QTest::newRow("no device") << QJsonObject() << QStringList{"--batch"} << 2 << usage + "no device: give --device ID (see ipcore-host devices)";
        QTest::newRow("no display") << QJsonObject() << QStringList{"--device", twoQuads} << 2 << usage + "no display to show the dialog on; use --batch or --snapshot";
        // A new core's module name must be free in the design, whatever its file is called; the
        // refusal comes before the dialog opens, the design as it was.
        const QString taken = usage + "<bias>: the design already holds a module named core_a (core core-a:core_a); give --name another name";
        QTest::newRow("module name taken, other file") << QJsonObject() << QStringList{"--design", "<bias>", "--batch", "--name", "core_a"} << 2 << taken;
        QTest::newRow("module name taken, same file") << QJsonObject() << QStringList{"--design", "<bias>", "--batch", "--name", "core-a"} << 2 << taken;
        // clang-format on
    }
    void refusals()
    {
        QFETCH(QJsonObject, stored);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString input = m_dir.filePath(QStringLiteral("stored.json"));
        writeJson(input, stored);
        if (!stored.isEmpty())
            arguments << "--edit" << input << "--project-dir" << m_dir.path();
        // The design the row names, or the input: neither changes.
        const QString design =
            arguments.contains("<bias>") ? biasDesign(QTest::currentDataTag()) : input;
        const QByteArray designBytes = TestFiles::bytes(design);
        arguments.replaceInStrings("<bias>", design);
        message.replace("<bias>", design);
        const HostRun run = configure(arguments);
        QCOMPARE(TestFiles::bytes(design), designBytes);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((message.isEmpty() || run.errLines().contains(message)) &&
                     (exitCode == 0 || run.err.count('\n') == 1), // a failure is one line
                 qPrintable(run.errLines().join('\n')));
        QCOMPARE(run.out.isEmpty(), exitCode != 0);
        // Only OK decides the bias; Calculate leaves it unrecorded.
        QVERIFY(!run.json().contains("ifChangedAllOfBias"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(HostConfigureTest)

#include "tst_hostconfigure.moc"
