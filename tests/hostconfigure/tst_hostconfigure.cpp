#include "testpaths.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

// Runs `ipcore-host configure` headless with the build's plug-ins.
Run configure(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(TestPaths::hostProgram(),
                  QStringList{QStringLiteral("configure"), QStringLiteral("--plugin-dir"),
                              TestPaths::pluginDir()} +
                      arguments);
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.errLines = QString::fromUtf8(process.readAllStandardError()).split('\n');
    return run;
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool writeJson(const QString &path, const QJsonObject &object)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(object).toJson()) > 0;
}

QStringList strings(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &item : value.toArray())
        out << item.toString();
    return out;
}

const QString twoQuads = QStringLiteral("TQ2H4-FF676");

} // namespace

class HostConfigureTest : public QObject
{
    Q_OBJECT

private slots:
    void snapshotDescribesEveryTab();
    void snapshotAfterEdit();
    void batchAccepts_data();
    void batchAccepts();
    void batchRefusals_data();
    void batchRefusals();
    void batchCalculate_data();
    void batchCalculate();
    void acceptedCoreJoinsTheDesign();
    void badUsage_data();
    void badUsage();

private:
    QTemporaryDir m_dir;
};

void HostConfigureTest::snapshotDescribesEveryTab()
{
    const QString dir = m_dir.filePath(QStringLiteral("snapshot-new"));
    const Run run = configure({"--device", "TQ2S1-FG324", "--snapshot", dir, "--name", "link0"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());

    const QJsonObject root = readJson(dir + QStringLiteral("/dialog.json"));
    QCOMPARE(root.value("class").toString(), QStringLiteral("IPJESD204B::jesd204bdlg"));
    QCOMPARE(root.value("fileName").toString(), QStringLiteral("link0"));
    QCOMPARE(root.value("device").toString(), QStringLiteral("TQ2S1-FG324"));
    QVERIFY(!root.value("labelText").toString().isEmpty());
    QVERIFY(!root.value("figurePins").toArray().isEmpty());

    const QJsonArray tabs = root.value("tabs").toArray();
    QStringList titles;
    for (const QJsonValue &tab : tabs) {
        titles << tab["title"].toString();
        const QImage image(dir + '/' + tab["image"].toString());
        QVERIFY2(!image.isNull(), qPrintable(tab["image"].toString()));
    }
    QCOMPARE(titles, (QStringList{"JESD204B Core Configuration", "PHY Configuration", "AFE",
                                  "Optional Ports Configuration"}));

    const QJsonObject phy = tabs.at(1)["widgets"].toObject();
    const QJsonObject source = phy["refClkSource"].toObject();
    QCOMPARE(source["class"].toString(), QStringLiteral("QComboBox"));
    QCOMPARE(strings(source["items"]),
             (QStringList{"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFIN", "MCLK"}));
    QCOMPARE(source["itemData"].toArray(), (QJsonArray{0, 1, 2, 3}));
    QCOMPARE(source["currentText"].toString(), QStringLiteral("Q0 REFCLK0"));
    QCOMPARE(phy["Lane3Connect"]["visible"].toBool(), true);
    QCOMPARE(phy["Lane4Connect"]["visible"].toBool(), false);
    QCOMPARE(phy["Lane2Connect"]["enabled"].toBool(), false);
    QCOMPARE(phy["radioButton32Bit"]["checked"].toBool(), true);
    QCOMPARE(phy["lineRate"]["text"].toString(), QStringLiteral("4.9152"));

    const QJsonObject afe = tabs.at(2)["widgets"].toObject();
    QCOMPARE(afe["attSpinBox"]["value"].toInt(), 7);
    QCOMPARE(afe["attSpinBox"]["enabled"].toBool(), false);
    QCOMPARE(afe["c0Lael"]["text"].toString(), QStringLiteral("40"));
    // Labels of one name in several forms stay apart, one set per tab.
    QCOMPARE(tabs.at(0)["widgets"]["label"]["text"].toString(),
             QStringLiteral("Default F(Octets per Frame):"));
    QCOMPARE(afe["label"]["text"].toString(), QStringLiteral("(0~19)"));
}

void HostConfigureTest::snapshotAfterEdit()
{
    const QString stored = m_dir.filePath(QStringLiteral("transmit.json"));
    QVERIFY(writeJson(stored, {{"version", "1.0"},
                               {"Transmit", true},
                               {"Both_Receive_and_Transmit", false},
                               {"Number_of_lanes", "1"},
                               {"JESD204B_Lane0_connect_with", "Q1 Lane2"},
                               {"file", "tx_core"}}));
    const QString dir = m_dir.filePath(QStringLiteral("snapshot-edit"));
    const Run run = configure({"--device", twoQuads, "--edit", stored, "--snapshot", dir});
    QCOMPARE(run.exitCode, 0);

    const QJsonObject root = readJson(dir + QStringLiteral("/dialog.json"));
    QCOMPARE(root.value("fileName").toString(), QStringLiteral("tx_core"));
    const QJsonArray tabs = root.value("tabs").toArray();
    QCOMPARE(tabs.at(0)["widgets"]["Transmit"]["checked"].toBool(), true);
    QCOMPARE(tabs.at(0)["widgets"]["LMFCBuffer"]["enabled"].toBool(), false);
    QCOMPARE(tabs.at(1)["widgets"]["Lane0Connect"]["currentText"].toString(),
             QStringLiteral("Q1 Lane2"));
    QCOMPARE(tabs.at(2)["widgets"]["groupBoxRx"]["visible"].toBool(), false);
    QCOMPARE(tabs.at(2)["widgets"]["groupBoxTx"]["visible"].toBool(), true);
}

void HostConfigureTest::batchAccepts_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("wholeQuads");

    QTest::newRow("bias declined") << "no" << false;
    QTest::newRow("bias accepted") << "yes" << true;
}

void HostConfigureTest::batchAccepts()
{
    QFETCH(QString, answer);
    QFETCH(bool, wholeQuads);

    const QString output = m_dir.filePath(QStringLiteral("accepted-%1.json").arg(answer));
    const Run run = configure({"--device", twoQuads, "--batch", "--answer", answer, "--output",
                               output, "--project-dir", m_dir.path(), "--name", "link_a"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.errLines.contains(QStringLiteral(
        "Question: Q0 Lane2, Q0 Lane3 BIAS will also be changed to 7, whether to accept or "
        "not? ")));
    const QJsonObject set = readJson(output);
    QCOMPARE(set.value("version").toString(), QStringLiteral("1.0"));
    QCOMPARE(set.value("file").toString(), QStringLiteral("link_a"));
    QCOMPARE(set.value("target_device").toString(), twoQuads);
    QCOMPARE(strings(set.value("recordlanes")), (QStringList{"Q0 Lane0", "Q0 Lane1"}));
    QCOMPARE(set.value("ifChangedAllOfBias").toBool(), wholeQuads);
    QVERIFY(set.value("ifChangedAllOfBias").isBool());
    QCOMPARE(set.value("FFE_CM").toInt(-1), 0);

    // Without --output the set goes to standard output, and nothing else does.
    const Run toStdout = configure({"--edit", output, "--batch", "--project-dir", m_dir.path()});
    QCOMPARE(toStdout.exitCode, 0);
    const QJsonObject again = QJsonDocument::fromJson(toStdout.out.toUtf8()).object();
    QCOMPARE(again, set);
}

void HostConfigureTest::batchRefusals_data()
{
    QTest::addColumn<QJsonObject>("stored");
    QTest::addColumn<QString>("message");

    QTest::newRow("no version")
        << QJsonObject{{"Receive", true}}
        << "Error: This version of specified IP Config file is incompatible with current IP "
           "Core Generator.";
    QTest::newRow("weak main tap")
        << QJsonObject{{"version", "1.0"}, {"FFEMODE", "Manual"}, {"FFE_CM", 10}, {"FFE_C1", 10}}
        << "Warning: C0 must be greater than 20.";
}

void HostConfigureTest::batchRefusals()
{
    QFETCH(QJsonObject, stored);
    QFETCH(QString, message);

    const QString input = m_dir.filePath(QStringLiteral("refused.json"));
    QVERIFY(writeJson(input, stored));
    const QString output = m_dir.filePath(QStringLiteral("refused-out.json"));
    const Run run = configure({"--device", twoQuads, "--edit", input, "--batch", "--output", output,
                               "--project-dir", m_dir.path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errLines.contains(message), qPrintable(run.errLines.join('\n')));
    QVERIFY(!QFile::exists(output));
    QVERIFY(run.out.isEmpty());
}

void HostConfigureTest::batchCalculate_data()
{
    QTest::addColumn<QString>("lineRate");
    QTest::addColumn<QString>("refClock");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("feasible") << "4.9152"
                              << "122.88" << 0;
    QTest::newRow("infeasible") << "8.0"
                                << "156.25" << 1;
}

void HostConfigureTest::batchCalculate()
{
    QFETCH(QString, lineRate);
    QFETCH(QString, refClock);
    QFETCH(int, exitCode);

    const QString input = m_dir.filePath(QStringLiteral("calculate.json"));
    QVERIFY(writeJson(input, {{"version", "1.0"},
                              {"Transmit", true},
                              {"Both_Receive_and_Transmit", false},
                              {"Line_Rate", lineRate},
                              {"Reference_CLK_Frequency", refClock}}));
    const Run run = configure({"--device", twoQuads, "--edit", input, "--batch", "--calculate",
                               "--project-dir", m_dir.path()});
    QCOMPARE(run.exitCode, exitCode);
    const bool succeeded = exitCode == 0;
    QCOMPARE(run.errLines.contains(QStringLiteral("Succeed: Succeed")), succeeded);
    if (succeeded) {
        const QJsonObject set = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(set.value("Line_Rate").toString(), lineRate);
        // Only OK decides the bias; Calculate leaves it unrecorded.
        QVERIFY(!set.contains("ifChangedAllOfBias"));
    } else {
        QVERIFY(run.out.isEmpty());
    }
}

void HostConfigureTest::acceptedCoreJoinsTheDesign()
{
    const QString design = m_dir.filePath(QStringLiteral("design.json"));
    QVERIFY(writeJson(design, {{"device", twoQuads}}));
    const QString first = m_dir.filePath(QStringLiteral("first.json"));
    const QString second = m_dir.filePath(QStringLiteral("second.json"));
    QCOMPARE(configure({"--design", design, "--batch", "--name", "core_a", "--output", first,
                        "--project-dir", m_dir.path()})
                 .exitCode,
             0);
    // A transmit core next to it is offered only the lanes the first one left free.
    const QString transmit = m_dir.filePath(QStringLiteral("core_b.json"));
    QVERIFY(writeJson(transmit, {{"version", "1.0"},
                                 {"Transmit", true},
                                 {"Both_Receive_and_Transmit", false},
                                 {"file", "core_b"},
                                 {"module", "core_b"}}));
    QCOMPARE(configure({"--design", design, "--edit", transmit, "--batch", "--output", second,
                        "--project-dir", m_dir.path()})
                 .exitCode,
             0);
    QCOMPARE(strings(readJson(first).value("recordlanes")), (QStringList{"Q0 Lane0", "Q0 Lane1"}));
    QCOMPARE(strings(readJson(second).value("recordlanes")), (QStringList{"Q0 Lane2", "Q0 Lane3"}));
    QStringList names;
    for (const QJsonValue &instance : readJson(design).value("instances").toArray())
        names << instance["name"].toString();
    QCOMPARE(names, (QStringList{"core_a:core_a", "core_b:core_b"}));
}

void HostConfigureTest::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("calculate alone") << QStringList{"--device", twoQuads, "--calculate"}
                                     << "--calculate and --answer need --batch";
    QTest::newRow("two modes") << QStringList{"--device", twoQuads, "--batch", "--snapshot", "x"}
                               << "--batch and --snapshot exclude each other";
    QTest::newRow("odd answer") << QStringList{"--device", twoQuads, "--batch", "--answer", "maybe"}
                                << "--answer takes yes or no, not 'maybe'";
    QTest::newRow("unknown device") << QStringList{"--device", "TQ9-X", "--batch"}
                                    << "device 'TQ9-X' is not in the device database";
    QTest::newRow("no device") << QStringList{"--batch"}
                               << "no device: give --device ID (see ipcore-host devices)";
    QTest::newRow("no display") << QStringList{"--device", twoQuads}
                                << "no display to show the dialog on; use --batch or --snapshot";
}

void HostConfigureTest::badUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const Run run = configure(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errLines.contains(QStringLiteral("ipcore-host configure: ") + message),
             qPrintable(run.errLines.join('\n')));
    QVERIFY(run.out.isEmpty());
}

QTEST_GUILESS_MAIN(HostConfigureTest)

#include "tst_hostconfigure.moc"
