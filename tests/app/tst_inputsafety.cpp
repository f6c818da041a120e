// Bad input as an attacker gives it: every refusal is one line on standard error naming the
// key or file, exit 2, and nothing written; every input is bounded before it is read.
#include "hostrun.h"
#include "jesd204b.h"
#include "parameterfile.h"
#include "testpaths.h"

#include <designfile.h>
#include <idecore.h>
#include <inputfile.h>
#include <serdes.h>

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

#include "testfiles.h"
#include <memory>
#include <sys/stat.h>

using TestSupport::HostRun;
using TestSupport::runHost;

using TestFiles::tree;

namespace {

const QStringList outputNames{"top_define.vh", "jesd204b_top_defines.vh", "jesd204b.ini"};

QJsonObject exampleJson(const QString &name)
{
    return QJsonDocument::fromJson(TestFiles::bytes(TestPaths::examplesDir() + "/" + name))
        .object();
}

IPSERDESIP::ParameterMap readSet(const QString &path)
{
    IPSERDESIP::ParameterMap set;
    QString error;
    if (!HostProgram::readParameterFile(path, &set, &error))
        qFatal("%s", qPrintable(error));
    return set;
}

// Everything below dir, relative, sorted.
struct Result
{
    bool ok = false;
    QStringList ini;
    QStringList moduleOptions;
};

// The plug-in's protocol over the source description, as a host other than ipcore-host uses it.
Result generateDirectly(const IPSERDESIP::ParameterMap &params, const QString &workDir)
{
    IPJESD204B::jesd204b protocol(TestPaths::sourceDir() + "/data");
    if (!protocol.load())
        qFatal("the core description does not load");
    IPSERDESIP::serdes::instance()->setWorkingDir(workDir);
    Core::MessageSink::setHandler([](const QString &, const QString &, QWidget *) {});
    Result result;
    QStringList reserved;
    QString message;
    result.ok =
        protocol.generate(params, result.ini, reserved, result.moduleOptions, message, false);
    Core::MessageSink::setHandler(nullptr);
    return result;
}

// The example set with the changes applied; a null change removes the key.
QJsonObject changedExample(const QString &name, const QJsonObject &changes)
{
    QJsonObject set = exampleJson(name);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isNull())
            set.remove(it.key());
        else
            set.insert(it.key(), it.value());
    }
    return set;
}

QString writeJson(const QTemporaryDir &dir, const QString &name, const QJsonObject &object)
{
    const QString path = dir.filePath(name);
    TestFiles::put(path, QJsonDocument(object).toJson());
    return path;
}

// A file of the given size that takes no space.
QString sparseFile(const QTemporaryDir &dir, const QString &name, qint64 size)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size))
        qFatal("cannot make %s", qPrintable(file.fileName()));
    return file.fileName();
}

// A plug-in folder with a copy of the built plug-in and the given description file.
QString pluginCopy(const QTemporaryDir &dir, const QByteArray &description)
{
    const QString plugins = dir.filePath(QStringLiteral("plugins"));
    QDir().mkpath(plugins);
    QFile::copy(TestPaths::pluginDir() + QStringLiteral("/libjesd204b.so"),
                plugins + QStringLiteral("/libjesd204b.so"));
    if (!description.isNull())
        TestFiles::put(plugins + QStringLiteral("/jesd204b.ipspec"), description);
    return plugins;
}

// One line on standard error, nothing on standard output.
void verifyOneLineRefusal(const HostRun &run, int exitCode, const QString &start)
{
    const QString err = QString::fromUtf8(run.err);
    QVERIFY2(run.exitCode == exitCode, qPrintable(err));
    QVERIFY2(run.out.isEmpty(), run.out.constData());
    QVERIFY2(err.count(QLatin1Char('\n')) == 1 && err.endsWith(QLatin1Char('\n')), qPrintable(err));
    QVERIFY2(err.startsWith(start), qPrintable(err));
}

} // namespace

class TestInputSafety : public QObject
{
    Q_OBJECT

private slots:
    // ---- paths and injection ----

    void injection_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QStringList>("options");
        const QList<QPair<const char *, QString>> injections{
            {"directive", QStringLiteral("\n`define DRP_PORT_EN")},
            {"carriage return", QStringLiteral("\r`define X")},
            {"NUL", QString(QChar(0))},
            {"include", QStringLiteral("`include \"/etc/passwd\"")},
            {"quote", QStringLiteral("\"")}};
        // The keys that reach each kind of line; tst_parameterrules holds the rule for every key.
        const QStringList keys{"module",    "file",          "Number_of_lanes", "LMFC_Buffer",
                               "Line_Rate", "PLL_Selection", "Clock_Frequency", "recordlanes"};
        for (const QString &key : keys) {
            for (const auto &injection : injections) {
                const QJsonValue value =
                    key == QLatin1String("recordlanes")
                        ? QJsonValue(QJsonArray{QStringLiteral("Q0 Lane0"),
                                                QStringLiteral("Q0 Lane1") + injection.second})
                        : QJsonValue(exampleJson("both_8lane.json").value(key).toString() +
                                     injection.second);
                QTest::addRow("%s %s, as it is", qPrintable(key), injection.first)
                    << key << value << QStringList{"--as-is"};
            }
            QTest::addRow("%s directive, checked", qPrintable(key))
                << key << QJsonValue(QStringLiteral("x\n`define X")) << QStringList();
        }
    }

    // Refused before anything is written, with or without the value rules.
    void injection()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString params =
            writeJson(dir, "params.json", changedExample("both_8lane.json", {{key, value}}));
        const QString work = dir.filePath("work");
        QVERIFY(QDir().mkpath(work));
        const HostRun run = runHost(QStringList{"generate", params, "--workdir", work} + options);
        verifyOneLineRefusal(run, 2,
                             QStringLiteral("ipcore-host generate: %1: \"%2\" ").arg(params, key));
        QCOMPARE(tree(dir.path()), (QStringList{"params.json", "work"}));
    }

    // Every line of every file a core gives has the one form its file allows.
    void generatedLinesKeepTheirForm_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"both_8lane", "groupb", "rx_2lane", "tx_2lane"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void generatedLinesKeepTheirForm()
    {
        QFETCH(QString, name);
        QTemporaryDir work;
        const HostRun run = runHost({"generate", TestPaths::examplesDir() + "/" + name + ".json",
                                     "--workdir", work.path()});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QRegularExpression option(QStringLiteral("^-[A-Za-z0-9_$]+ [A-Za-z0-9_.]+$"));
        for (const QString &line : run.outLines())
            QVERIFY2(option.match(line).hasMatch(), qPrintable(line));
        const QRegularExpression define(QStringLiteral("^`define [A-Za-z_]+( [A-Za-z0-9_.]+)?$"));
        const QRegularExpression record(QStringLiteral("^[a-z0-9_]+ [A-Za-z0-9_.]+$"));
        const QString folder = work.path() + "/" +
                               exampleJson(name + ".json").value("file").toString() +
                               "/temp/jesd204b/";
        for (const QString &file : outputNames) {
            const QList<QByteArray> lines = TestFiles::bytes(folder + file).split('\n');
            QVERIFY(lines.size() > 1 && lines.last().isEmpty());
            for (const QByteArray &line : lines.mid(0, lines.size() - 1)) {
                const auto &form = file.endsWith(".vh") ? define : record;
                QVERIFY2(form.match(QString::fromUtf8(line)).hasMatch(), line.constData());
            }
        }
    }

    // ---- value rules ----

    void valueRules_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QString>("refusal"); // after "ipcore-host <command>: <params>: "
        // clang-format off
        QTest::newRow("module empty") << "generate" << QJsonObject{{"module", ""}} << "\"module\" is \"\"";
        QTest::newRow("module with blank") << "generate" << QJsonObject{{"module", "my core"}} << "\"module\" is \"my core\"";
        QTest::newRow("module keyword") << "generate" << QJsonObject{{"module", "module"}} << "\"module\" is \"module\"";
        QTest::newRow("module with backtick") << "generate" << QJsonObject{{"module", "`LANE"}} << "\"module\" is \"`LANE\"";
        QTest::newRow("module non-ASCII") << "generate" << QJsonObject{{"module", QString::fromUtf8("\xc3\xa9")}} << "\"module\" is \"\xc3\xa9\"";
        QTest::newRow("lanes zero") << "generate" << QJsonObject{{"Number_of_lanes", "0"}} << "\"Number_of_lanes\" is \"0\"; allowed: a whole number from 1 to 4 on TQ2-M1E";
        QTest::newRow("lanes negative") << "resources" << QJsonObject{{"Number_of_lanes", "-3"}} << "\"Number_of_lanes\" is \"-3\"";
        QTest::newRow("lanes text") << "check" << QJsonObject{{"Number_of_lanes", "abc"}} << "\"Number_of_lanes\" is \"abc\"";
        QTest::newRow("lanes a billion") << "check" << QJsonObject{{"Number_of_lanes", "999999999"}, {"JESD204B_Lane999999999_connect_with", ""}} << "\"Number_of_lanes\" is \"999999999\"";
        // Outside the dialog's ranges, check refuses before its link rules or the solver.
        QTest::newRow("F over its field") << "check" << QJsonObject{{"Default_F", "300"}} << "\"Default_F\" is \"300\"; allowed: a whole number from 1 to 256";
        QTest::newRow("clock over the dialog's range") << "check" << QJsonObject{{"Reference_CLK_Frequency", "4000"}} << "\"Reference_CLK_Frequency\" is \"4000\"; allowed: a decimal number from 50 to 500";
        QTest::newRow("clock nan") << "generate" << QJsonObject{{"Clock_Frequency", "nan"}} << "\"Clock_Frequency\" is \"nan\"; allowed: a decimal number from 1 to 100";
        QTest::newRow("unknown device") << "generate" << QJsonObject{{"target_device", "NOPE"}} << "\"target_device\" is \"NOPE\"";
        QTest::newRow("unknown device, resources") << "resources" << QJsonObject{{"target_device", "NOPE"}} << "\"target_device\" is \"NOPE\"";
        QTest::newRow("lane on a missing quad") << "resources" << QJsonObject{{"JESD204B_Lane1_connect_with", "Q1 Lane1"}} << "\"JESD204B_Lane1_connect_with\" is \"Q1 Lane1\"; allowed: a lane of TQ2-M1E";
        QTest::newRow("recorded lane on a missing quad") << "generate" << QJsonObject{{"recordlanes", QJsonArray{"Q0 Lane0", "Q1 Lane1"}}} << "\"recordlanes\" is \"Q1 Lane1\"";
        QTest::newRow("lane twice") << "generate" << QJsonObject{{"recordlanes", QJsonArray{"Q0 Lane0", "Q0 Lane0"}}} << "\"recordlanes\" names \"Q0 Lane0\" twice";
        QTest::newRow("no module") << "generate" << QJsonObject{{"module", QJsonValue::Null}} << "\"module\" is missing";
        QTest::newRow("file up and out") << "check" << QJsonObject{{"file", "../../x"}} << "\"file\" is \"../../x\"";
        QTest::newRow("file with NUL") << "generate" << QJsonObject{{"file", QString("a") + QChar(0) + "b"}} << "\"file\" is \"a\\u0000b\"";
        // clang-format on
    }

    void valueRules()
    {
        QFETCH(QString, command);
        QFETCH(QJsonObject, changes);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString params =
            writeJson(dir, "params.json", changedExample("rx_2lane.json", changes));
        QStringList arguments{command, params};
        if (command == QLatin1String("generate"))
            arguments << "--workdir" << dir.path();
        const HostRun run = runHost(arguments, 20000);
        verifyOneLineRefusal(
            run, 2, QStringLiteral("ipcore-host %1: %2: %3").arg(command, params, refusal));
        QCOMPARE(tree(dir.path()), QStringList{"params.json"});
    }

    void wholeSets_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no core keys") << QByteArray("{\"x\": 1}") << "\"target_device\" is missing";
        QTest::newRow("empty") << QByteArray("{}") << "\"target_device\" is missing";
    }

    void wholeSets()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        TestFiles::put(dir.filePath("params.json"), content);
        for (const QString command : {"generate", "resources", "check"}) {
            const HostRun run =
                runHost({command, dir.filePath("params.json"), "--workdir", dir.path()});
            if (command != QLatin1String("generate") && run.exitCode == 2 &&
                run.err.contains("Unknown option"))
                continue;
            verifyOneLineRefusal(run, 2,
                                 QStringLiteral("ipcore-host %1: %2: %3")
                                     .arg(command, dir.filePath("params.json"), refusal));
        }
    }

    // A design made for another chip is refused; --as-is keeps the stored set's behaviour.
    void designForAnotherDevice()
    {
        QTemporaryDir dir;
        const QString design = writeJson(dir, "design.json", {{"device", "TQ2H4-FF676"}});
        const QString params = TestPaths::examplesDir() + "/rx_2lane.json";
        const HostRun checked =
            runHost({"generate", params, "--workdir", dir.path(), "--design", design});
        verifyOneLineRefusal(checked, 2,
                             "ipcore-host generate: " + design + " is a design for TQ2H4-FF676");
        const HostRun asIs =
            runHost({"generate", params, "--workdir", dir.path(), "--design", design, "--as-is"});
        QVERIFY2(asIs.exitCode == 0, asIs.err.constData());
    }

    // Value rules give way to --as-is: a stored set is reproduced as the plug-in makes it.
    void asIsReproducesStoredSets_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QJsonObject>("changes");
        QTest::newRow("clock nan") << "generate" << QJsonObject{{"Clock_Frequency", "nan"}};
        QTest::newRow("module keyword") << "generate" << QJsonObject{{"module", "module"}};
        QTest::newRow("lanes a billion")
            << "resources"
            << QJsonObject{{"Number_of_lanes", "999999999"},
                           {"JESD204B_Lane999999999_connect_with", ""}};
    }

    void asIsReproducesStoredSets()
    {
        QFETCH(QString, command);
        QFETCH(QJsonObject, changes);
        QTemporaryDir dir;
        const QString params =
            writeJson(dir, "params.json", changedExample("rx_2lane.json", changes));
        QStringList arguments{command, params, "--as-is"};
        if (command == QLatin1String("generate"))
            arguments << "--workdir" << dir.path();
        const HostRun run = runHost(arguments, 20000);
        QVERIFY2(run.exitCode == 0 && run.err.isEmpty(),
                 qPrintable(QString::number(run.exitCode) + run.err));
        if (command == QLatin1String("generate")) {
            const Result direct = generateDirectly(readSet(params), dir.path() + "/direct");
            QCOMPARE(run.outLines(), direct.moduleOptions);
        }
    }

    // ---- limits ----

    void inputFiles_data()
    {
        QTest::addColumn<QString>("what"); // zero, fifo, directory, large
        QTest::addColumn<QString>("role"); // params, design
        QTest::addColumn<QString>("reason");
        for (const char *role : {"params", "design"}) {
            QTest::addRow("%s /dev/zero", role) << "zero" << role << "not a regular file";
            QTest::addRow("%s FIFO", role) << "fifo" << role << "not a regular file";
            QTest::addRow("%s directory", role) << "directory" << role << "is a directory";
            QTest::addRow("%s over 16 MiB", role)
                << "large" << role << "16777217 bytes is over the limit of 16777216 bytes";
        }
    }

    void inputFiles()
    {
        QFETCH(QString, what);
        QFETCH(QString, role);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath("input");
        if (what == QLatin1String("zero"))
            path = QStringLiteral("/dev/zero");
        else if (what == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (what == QLatin1String("directory"))
            QVERIFY(QDir().mkdir(path));
        else
            sparseFile(dir, "input", IPSERDESIP::MaxInputFileBytes + 1);
        QStringList arguments{"check"};
        arguments << (role == QLatin1String("params")
                          ? path
                          : TestPaths::examplesDir() + "/rx_2lane.json");
        if (role == QLatin1String("design"))
            arguments << "--design" << path;
        const HostRun run = runHost(arguments, 10000);
        QVERIFY2(run.exitCode == 2, run.err.constData());
        QVERIFY2(run.err.count('\n') == 1 && run.err.contains(reason.toUtf8()) &&
                     run.err.contains(path.toUtf8()),
                 run.err.constData());
    }

    void designBounds_data()
    {
        QTest::addColumn<QJsonObject>("design");
        QTest::addColumn<QString>("entry");
        const QJsonObject clock{{"source", "Q0_REFCLK0"}, {"frequency", "122.88"}};
        QJsonObject huge = clock;
        huge.insert("useCount", 2147483647);
        QTest::newRow("useCount of 2^31-1")
            << QJsonObject{{"refClocks", QJsonArray{huge}}} << "refClocks[0].useCount";
        QJsonObject many = clock;
        many.insert("useCount", 1024);
        QJsonArray clocks;
        for (int i = 0; i < 1025; ++i)
            clocks.append(many);
        QTest::newRow("uses summed over a million")
            << QJsonObject{{"refClocks", clocks}} << "refClocks[1024].useCount";
        const QJsonObject wide{{"min", 1}, {"max", 1024}};
        QTest::newRow("divider ranges of 1024")
            << QJsonObject{{"pllTable",
                            QJsonObject{
                                {"QPLL0", QJsonObject{{"N", wide}, {"M", wide}, {"D", wide}}}}}}
            << "pllTable.QPLL0";
        QTest::newRow("divider combinations just over")
            << QJsonObject{{"pllTable",
                            QJsonObject{
                                {"CPLL", QJsonObject{{"N1", QJsonObject{{"min", 1}, {"max", 16}}},
                                                     {"N2", QJsonObject{{"min", 1}, {"max", 64}}},
                                                     {"M", QJsonObject{{"min", 1}, {"max", 8}}},
                                                     {"D", QJsonObject{{"min", 1}, {"max", 9}}}}}}}}
            << "pllTable.CPLL";
    }

    // Refused by generate, check and configure alike, before the model is touched.
    void designBounds()
    {
        QFETCH(QJsonObject, design);
        QFETCH(QString, entry);
        QTemporaryDir dir;
        const QString path = writeJson(dir, "design.json", design);
        const QString params = TestPaths::examplesDir() + "/rx_2lane.json";
        for (const QStringList &arguments : {QStringList{"check", params, "--design", path},
                                             QStringList{"generate", params, "--workdir",
                                                         dir.filePath("work"), "--design", path}}) {
            const HostRun run = runHost(arguments, 20000);
            verifyOneLineRefusal(
                run, 2,
                QStringLiteral("ipcore-host %1: %2: %3: ").arg(arguments.first(), path, entry));
        }
        QVERIFY(!QFileInfo::exists(dir.filePath("work")));
    }

    // The same clock named on 100,000 entries, as a design of many cores repeats it.
    void largeDesignLoads()
    {
        QJsonArray clocks;
        for (int i = 0; i < 100000; ++i)
            clocks.append(QJsonObject{{"source", i % 2 ? "Q0_REFCLK0" : "Q1_REFCLK1"},
                                      {"frequency", "122.88"},
                                      {"owner", QStringLiteral("core%1").arg(i)}});
        QTemporaryDir dir;
        const QString path =
            writeJson(dir, "design.json", {{"device", "TQ2H4-FF676"}, {"refClocks", clocks}});
        QString error;
        QVERIFY2(IPSERDESIP::DesignFile::load(path, &error), qPrintable(error));
        QCOMPARE(IPSERDESIP::serdes::instance()->getFreqByRefsrc("Q0 REFCLK0"), 122.88);
    }

    void recordedLaneFlood()
    {
        QJsonArray lanes;
        for (int i = 0; i < 100000; ++i)
            lanes.append("Q0 Lane0");
        QTemporaryDir dir;
        const QString params = writeJson(dir, "params.json",
                                         changedExample("rx_2lane.json", {{"recordlanes", lanes}}));
        const HostRun run =
            runHost({"generate", params, "--as-is", "--workdir", dir.path()}, 20000);
        verifyOneLineRefusal(run, 2,
                             "ipcore-host generate: " + params +
                                 ": \"recordlanes\" holds 100000 lanes; allowed: at most 8");
    }

    // ---- messages of the readers ----

    void descriptionFile_data()
    {
        QTest::addColumn<QByteArray>("description"); // null: a sparse file over the limit
        QTest::addColumn<QString>("cause");
        QTest::newRow("malformed")
            << QByteArray("{\"ipcore\": ") << "jesd204b.ipspec: invalid JSON at offset 11";
        QTest::newRow("not an object")
            << QByteArray("[1]") << "jesd204b.ipspec: a description file is a JSON object";
        QTest::newRow("without id")
            << QByteArray("{\"ipcore\": {\"name\": \"x\"}}")
            << "\"ipcore.id\", \"ipcore.name\" and \"ipcore.version\" as filled texts";
        QTest::newRow("over the limit")
            << QByteArray() << "jesd204b.ipspec: 16777217 bytes is over the limit";
        QTest::newRow("link to /dev/zero")
            << QByteArray("zero") << "jesd204b.ipspec: not a regular file";
    }

    void descriptionFile()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString plugins = pluginCopy(dir, description.isEmpty() ? QByteArray() : description);
        if (description.isEmpty())
            QVERIFY(QFile::rename(sparseFile(dir, "big", IPSERDESIP::MaxInputFileBytes + 1),
                                  plugins + "/jesd204b.ipspec"));
        if (description == "zero")
            QVERIFY(QFile::remove(plugins + "/jesd204b.ipspec") &&
                    QFile::link("/dev/zero", plugins + "/jesd204b.ipspec"));
        const HostRun run = runHost({"generate", TestPaths::examplesDir() + "/rx_2lane.json",
                                     "--workdir", dir.path(), "--plugin-dir", plugins});
        verifyOneLineRefusal(
            run, 1, "ipcore-host generate: " + plugins + ": no plug-in offers the jesd204b core: ");
        QVERIFY2(run.err.contains(cause.toUtf8()), run.err.constData());
    }

    void secondCopyOfThePlugIn()
    {
        QTemporaryDir dir;
        const QString plugins =
            pluginCopy(dir, TestFiles::bytes(TestPaths::pluginDir() + "/jesd204b.ipspec"));
        QVERIFY(QFile::copy(plugins + "/libjesd204b.so", plugins + "/libjesd204b_copy.so"));
        const HostRun run = runHost({"list", "--plugin-dir", plugins});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out).count("id:         jesd204b"), 1);
        QCOMPARE(run.errLines(),
                 (QStringList{"ipcore-host list: warning: " + plugins +
                                  "/libjesd204b_copy.so: ignored, the jesd204b core is "
                                  "already offered by an earlier plug-in",
                              ""}));
    }

    void editSaysWhyNothingWasConfigured()
    {
        QTemporaryDir dir;
        const QString params = writeJson(
            dir, "params.json", changedExample("rx_2lane.json", {{"Number_of_lanes", "abc"}}));
        const HostRun run = runHost(
            {"configure", "--edit", params, "--batch", "--output", dir.filePath("out.json")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("ipcore-host configure: nothing configured: " + params.toUtf8() +
                                  ": \"Number_of_lanes\" is \"abc\"; allowed: "),
                 run.err.constData());
        QVERIFY(!QFileInfo::exists(dir.filePath("out.json")));
    }
};

QTEST_MAIN(TestInputSafety)
#include "tst_inputsafety.moc"
