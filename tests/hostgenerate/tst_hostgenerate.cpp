#include "parameterfile.h"

#include <testpaths.h>

#include <QtTest>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result runHost(const QStringList &arguments)
{
    QProcess process;
    process.start(TestPaths::hostProgram(), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

const QStringList OutputFiles{"jesd204b.ini", "jesd204b_top_defines.vh", "top_define.vh"};

} // namespace

class TestHostGenerate : public QObject
{
    Q_OBJECT

private slots:
    void examples_data();
    void examples();
    void badInput_data();
    void badInput();
    void emptySet();
    void unwritableWorkdirKeepsEarlierFiles();
    void synthesis();
    void resources();
    void parameterFileRoundTrip();
};

void TestHostGenerate::examples_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("road: transmit, 2 lanes") << "tx_2lane"
                                             << "jesd_tx";
    QTest::newRow("receive, 2 lanes") << "rx_2lane"
                                      << "jesd_rx";
    QTest::newRow("both, 8 lanes, with design") << "both_8lane"
                                                << "jesd_both";
    QTest::newRow("group B device") << "groupb"
                                    << "jesd_b";
}

void TestHostGenerate::examples()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QTemporaryDir work;
    const QString expected = TestPaths::examplesDir() + "/expected/" + name;
    QStringList arguments{"generate", TestPaths::examplesDir() + "/" + name + ".json", "--workdir",
                          work.path()};
    if (QFileInfo::exists(expected + "/design.json"))
        arguments << "--design" << expected + "/design.json";
    const Result result = runHost(arguments);
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QVERIFY2(result.err.isEmpty(), result.err.constData());
    QCOMPARE(result.out, bytes(expected + "/module_options.txt"));

    const QString dir = work.path() + "/" + file + "/temp/jesd204b";
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), OutputFiles);
    for (const QString &output : OutputFiles)
        QCOMPARE(bytes(dir + "/" + output), bytes(expected + "/" + output));
}

void TestHostGenerate::badInput_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << QByteArray() << QStringList{} << "no such file";
    QTest::newRow("invalid JSON") << QByteArray("{\"file\": ") << QStringList{} << "invalid JSON";
    QTest::newRow("not an object")
        << QByteArray("[\"Q0 Lane0\"]") << QStringList{} << "not a JSON object";
    QTest::newRow("null") << QByteArray("{\"file\": null}") << QStringList{} << "\"file\" is null";
    QTest::newRow("fraction") << QByteArray("{\"ATT\": 7.5}") << QStringList{}
                              << "\"ATT\" holds 7.5";
    QTest::newRow("too large") << QByteArray("{\"ATT\": 1e12}") << QStringList{}
                               << "outside the integer range";
    QTest::newRow("nested object")
        << QByteArray("{\"file\": {\"a\": 1}}") << QStringList{} << "\"file\" is an object";
    QTest::newRow("mixed array") << QByteArray("{\"recordlanes\": [\"Q0 Lane0\", 1]}")
                                 << QStringList{} << "\"recordlanes\" is an array";
    QTest::newRow("other version")
        << QByteArray("{\"version\": \"2.0\"}") << QStringList{} << "\"version\" is \"2.0\"";
    QTest::newRow("unknown device")
        << QByteArray("{\"file\": \"x\"}") << QStringList{"--device", "NOPE"} << "'NOPE'";
    QTest::newRow("malformed design")
        << QByteArray("{\"file\": \"x\"}") << QStringList{"--design", "<params>"} << "";
}

void TestHostGenerate::badInput()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, options);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString params = dir.filePath("params.json");
    if (!content.isEmpty())
        writeBytes(params, content);
    options.replaceInStrings("<params>", params);
    const QString work = dir.filePath("work");
    const Result result = runHost(QStringList{"generate", params, "--workdir", work} + options);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    const QString err = QString::fromUtf8(result.err);
    QCOMPARE(err.count('\n'), 1);
    QVERIFY2(err.contains(reason), qPrintable(err));
    if (options.isEmpty())
        QVERIFY2(err.contains(params), qPrintable(err));
    QVERIFY(!QFileInfo::exists(work));

    if (options.isEmpty()) {
        const Result report = runHost({"resources", params});
        QCOMPARE(report.exitCode, 2);
        QVERIFY(report.out.isEmpty());
        QVERIFY(report.err.contains(params.toUtf8()));
    }
}

void TestHostGenerate::emptySet()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("empty.json"), "{}");
    const Result result =
        runHost({"generate", dir.filePath("empty.json"), "--workdir", dir.filePath("work")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.contains("empty"));
    QVERIFY(!QFileInfo::exists(dir.filePath("work")));
}

void TestHostGenerate::unwritableWorkdirKeepsEarlierFiles()
{
    QTemporaryDir work;
    const QString example = TestPaths::examplesDir() + "/tx_2lane.json";
    QCOMPARE(runHost({"generate", example, "--workdir", work.path()}).exitCode, 0);
    const QString dir = work.path() + "/jesd_tx/temp/jesd204b";
    QMap<QString, QByteArray> before;
    for (const QString &output : OutputFiles)
        before.insert(output, bytes(dir + "/" + output));

    // Both runs fail at the directory: the working directory, or the core's own directory,
    // lies below a regular file.
    const QString topDefine = dir + "/top_define.vh";
    const Result below = runHost({"generate", example, "--workdir", topDefine});
    QCOMPARE(below.exitCode, 1);
    QVERIFY(below.out.isEmpty());
    QVERIFY2(below.err.contains("failed"), below.err.constData());

    HostProgram::ParameterSet params;
    QString error;
    QVERIFY(HostProgram::readParameterFile(example, &params, &error));
    params.insert("file", "jesd_tx/temp/jesd204b/top_define.vh/again");
    QVERIFY(HostProgram::writeParameterFile(work.filePath("odd.json"), params, &error));
    QCOMPARE(runHost({"generate", work.filePath("odd.json"), "--workdir", work.path()}).exitCode,
             1);

    for (const QString &output : OutputFiles)
        QCOMPARE(bytes(dir + "/" + output), before.value(output));
}

void TestHostGenerate::synthesis()
{
    // A copy of the built plug-in with a placeholder for the vendor's core source.
    QTemporaryDir plugins;
    const QDir built(TestPaths::pluginDir());
    for (const QString &entry : built.entryList(QDir::Files))
        QVERIFY(QFile::copy(built.filePath(entry), plugins.filePath(entry)));
    QVERIFY(QDir(plugins.path()).mkdir("data"));
    QVERIFY(QFile::copy(TestPaths::sourceDir() + "/data/data/jesd204b_top.v",
                        plugins.filePath("data/jesd204b_top.v")));

    QTemporaryDir work;
    const QStringList arguments{"generate",    TestPaths::examplesDir() + "/rx_2lane.json",
                                "--workdir",   work.path(),
                                "--synthesis", "--plugin-dir",
                                plugins.path()};
    const Result missing = runHost(arguments);
    QCOMPARE(missing.exitCode, 1);
    QVERIFY2(missing.err.contains("jesd204b_core_encryption.v not found"), missing.err.constData());
    QVERIFY(missing.out.isEmpty());

    writeBytes(plugins.filePath("data/jesd204b_core_encryption.v"), "// stand-in\n");
    const Result ready = runHost(arguments);
    QVERIFY2(ready.exitCode == 0, ready.err.constData());
    QCOMPARE(ready.out, bytes(TestPaths::examplesDir() + "/expected/rx_2lane/module_options.txt"));
    QCOMPARE(ready.err.count('\n'), 1);
    QVERIFY(ready.err.contains("jesd_rx"));
    QVERIFY(QFileInfo::exists(work.path() + "/jesd_rx/temp/jesd204b/jesd204b_synthesis.json"));
}

void TestHostGenerate::resources()
{
    const Result result = runHost({"resources", TestPaths::examplesDir() + "/groupb.json"});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    const QJsonObject report = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(report.keys(), (QStringList{"bothRateList", "file", "instanceName", "laneList",
                                         "module", "pllList", "protocolName", "refClkFreqList",
                                         "refClkList", "rxRateList", "txRateList"}));
    QCOMPARE(report.value("instanceName").toString(), QStringLiteral("jesd_b:jesd_b"));
    QCOMPARE(report.value("laneList").toArray(), (QJsonArray{"Q0_LANE1_RX", "Q0_LANE0_RX"}));
    QCOMPARE(report.value("pllList").toArray(), (QJsonArray{"Q0_CPLL1", "Q0_CPLL0"}));
    QCOMPARE(report.value("refClkList").toArray(), (QJsonArray{"MCLK", "MCLK"}));
    QCOMPARE(report.value("refClkFreqList").toArray(), (QJsonArray{"153.600", "153.600"}));
    QCOMPARE(report.value("rxRateList").toArray(), (QJsonArray{"6.144", "6.144"}));
    QCOMPARE(report.value("txRateList").toArray(), (QJsonArray{"0", "0"}));
}

void TestHostGenerate::parameterFileRoundTrip()
{
    QTemporaryDir dir;
    const HostProgram::ParameterSet params{{"version", "1.0"},
                                           {"Receive", true},
                                           {"ATT", -7},
                                           {"recordlanes", QStringList{"Q0 Lane0"}},
                                           {"file", QString()}};
    QString error;
    const QString path = dir.filePath("set.json");
    QVERIFY2(HostProgram::writeParameterFile(path, params, &error), qPrintable(error));
    HostProgram::ParameterSet read;
    QVERIFY2(HostProgram::readParameterFile(path, &read, &error), qPrintable(error));
    QCOMPARE(read, params);
    QCOMPARE(read.value("ATT").userType(), int(QMetaType::Int));

    // A value a file cannot hold is refused and the earlier file stays.
    const QByteArray before = bytes(path);
    QVERIFY(!HostProgram::writeParameterFile(path, {{"Line_Rate", 4.9152}}, &error));
    QVERIFY2(error.contains("\"Line_Rate\""), qPrintable(error));
    QCOMPARE(bytes(path), before);
}

QTEST_MAIN(TestHostGenerate)
#include "tst_hostgenerate.moc"
