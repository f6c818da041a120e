// Bad input as an attacker gives it: every refusal is one line on standard error naming the key
// or file, exit 2, and nothing written; every input is bounded before it is read. In-process,
// values of every JSON type go through the readers the way every host hands them over.
#include "appfixture.h"
#include "hostrun.h"

#include <design/designfile.h>
#include <devicedb.h>
#include <services/inputfile.h>
#include <services/message.h>

#include <QJsonArray>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

using namespace AppFixture;
using TestSupport::HostRun;
using TestSupport::runHost;

namespace {

struct JsonSample
{
    const char *name;
    QJsonValue value;
    bool readable; // whether a parameter file may hold it
};

QList<JsonSample> jsonSamples()
{
    // clang-format off
    return {{"null", QJsonValue(QJsonValue::Null), false}, {"bool", true, true},
            {"int", 3, true}, {"double", 2.5, false}, {"huge", 1e300, false},
            {"string", QStringLiteral("1"), true}, {"empty string", QString(), true},
            {"lane names", QJsonArray{QStringLiteral("Q1 Lane2"), QStringLiteral("Q0 Lane3")}, true},
            {"mixed array", QJsonArray{1, QStringLiteral("x")}, false},
            {"object", QJsonObject{{QStringLiteral("a"), 1}}, false}};
    // clang-format on
}

// Everything a generation produces, flattened: its answer, lines, files and resource report.
QStringList generationSnapshot(const IPSERDESIP::ParameterMap &params)
{
    QTemporaryDir work;
    const auto protocol = loadedProtocol();
    const Generation result = generate(*protocol, params, work.path());
    QStringList all{QString::number(result.ok)};
    all << result.ini << QStringLiteral("--") << result.moduleOptions;
    for (const QByteArray &bytes :
         outputs(generationDir(work.path(), params.value("file").toString())))
        all << QString::fromUtf8(bytes);
    const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(params));
    if (report)
        all << report->instanceName << report->laneList << report->pllList << report->refClkList
            << report->refClkFreqList << report->bothRateList << report->rxRateList
            << report->txRateList;
    return all;
}

// What the model holds, for "left exactly as it was".
QStringList modelState()
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    QStringList state;
    const QMap<QString, IPSERDESIP::Instance *> all = model->allInstance();
    for (auto it = all.constBegin(); it != all.constEnd(); ++it)
        state << it.key() + QLatin1Char('=') + it.value()->owner();
    const IPSERDESIP::ParameterMap data = model->globalData();
    for (auto it = data.constBegin(); it != data.constEnd(); ++it)
        state << it.key() + QLatin1Char(':') + it.value().toString();
    state << QString::number(model->getFreqByRefsrc(QStringLiteral("Q1_REFCLK0")));
    return state;
}

} // namespace

class InputsTest : public QObject
{
    Q_OBJECT

private slots:
    // The program's gate on a set changed from rx_2lane: the safety rules hold with --as-is,
    // the value rules without, for every command that reads a set; nothing is written. Value
    // rules give way to --as-is: a stored set is reproduced as the plug-in makes it.
    void gate_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QStringList>("options"); // "<design>": one for TQ2H4-FF676
        QTest::addColumn<QString>(
            "refusal"); // after "ipcore-host <command>: <params>: "; empty: accepted
        const QStringList asIs{"--as-is"};
        QJsonArray flood;
        for (int i = 0; i < 100000; ++i)
            flood.append("Q0 Lane0");
        // clang-format off
        QTest::newRow("directive, as it is") << "generate" << QJsonObject{{"module", "jesd_rx\n`define DRP_PORT_EN"}} << asIs << "\"module\" ";
        QTest::newRow("clock nan") << "generate" << QJsonObject{{"Clock_Frequency", "nan"}} << QStringList() << "\"Clock_Frequency\" is \"nan\"; allowed: a decimal number from 1 to 100";
        QTest::newRow("clock nan, as it is") << "generate" << QJsonObject{{"Clock_Frequency", "nan"}} << asIs << "";
        QTest::newRow("lanes negative") << "resources" << QJsonObject{{"Number_of_lanes", "-3"}} << QStringList() << "\"Number_of_lanes\" is \"-3\"";
        QTest::newRow("lanes a billion, as it is") << "resources" << QJsonObject{{"Number_of_lanes", "999999999"}, {"JESD204B_Lane999999999_connect_with", ""}} << asIs << "";
        QTest::newRow("lane flood, as it is") << "generate" << QJsonObject{{"recordlanes", flood}} << asIs << "\"recordlanes\" holds 100000 lanes; allowed: at most 8";
        QTest::newRow("design for another chip, as it is") << "generate" << QJsonObject() << asIs + QStringList{"--design", "<design>"} << "";
        // Outside the dialog's ranges, check refuses before its link rules or the solver.
        QTest::newRow("F over its field") << "check" << QJsonObject{{"Default_F", "300"}} << QStringList() << "\"Default_F\" is \"300\"; allowed: a whole number from 1 to 256";
        QTest::newRow("edited in the dialog") << "configure" << QJsonObject{{"Number_of_lanes", "abc"}} << QStringList() << "\"Number_of_lanes\" is \"abc\"; allowed: a whole number from 1 to 4 on TQ2-M1E";
        QTest::newRow("value of a wrong type") << "generate" << QJsonObject{{"Line_Rate", QJsonObject()}} << QStringList() << "\"Line_Rate\" ";
        // clang-format on
    }

    void gate()
    {
        QFETCH(QString, command);
        QFETCH(QJsonObject, changes);
        QFETCH(QStringList, options);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString params =
            writeJson(dir.filePath("params.json"), changedJson(example("rx_2lane.json"), changes));
        if (options.contains("<design>"))
            options.replaceInStrings(
                "<design>", writeJson(dir.filePath("design.json"), {{"device", "TQ2H4-FF676"}}));
        QStringList arguments = QStringList{command, params} + options;
        QString start = QStringLiteral("ipcore-host %1: %2: %3").arg(command, params, refusal);
        if (command == QLatin1String("generate"))
            arguments << "--workdir" << dir.path();
        if (command == QLatin1String("configure")) { // no output either
            arguments = QStringList{command, "--edit", params, "--batch", "--output", params + "o"};
            start.replace("configure: ", "configure: nothing configured: ");
        }
        const HostRun run = runHost(arguments);
        if (refusal.isEmpty()) {
            QVERIFY2(run.exitCode == 0 && run.err.isEmpty(),
                     qPrintable(QString::number(run.exitCode) + run.err));
            return;
        }
        const QString err = QString::fromUtf8(run.err); // one line, nothing on standard output
        QVERIFY2(run.exitCode == 2 && run.out.isEmpty() && err.count('\n') == 1 &&
                     err.endsWith('\n') && err.startsWith(start),
                 qPrintable(err + run.out));
        QCOMPARE(TestFiles::tree(dir.path()), QStringList{"params.json"});
        // The plug-in's own generate holds the safety rules for any host that calls it.
        if (command == QLatin1String("generate") && options == QStringList{"--as-is"}) {
            QVERIFY(!generate(*loadedProtocol(), readSet(params), dir.path()).ok);
            QCOMPARE(TestFiles::tree(dir.path()), QStringList{"params.json"});
        }
    }

    // Through a shell: a byte the locale cannot decode would become another name (refused,
    // exit 2); four file descriptors fail the read of the set (the machine's failure, exit 1).
    void shellRuns_data()
    {
        QTest::addColumn<QString>("line"); // $0 the program, $1 the set, $2 a folder
        QTest::addColumn<int>("exitCode");
        const QString run = "exec \"$0\" generate \"$1\" --workdir \"$2\"";
        QTest::newRow("invalid UTF-8") << run + "$'\\xef'" << 2;
        // Nothing open but the standard streams, and at most four descriptors.
        const QString closeAll =
            "for fd in $(ls /proc/$$/fd); do [ $fd -gt 2 ] && eval \"exec $fd>&-\"; done; ";
        QTest::newRow("four descriptors") << closeAll + "ulimit -n 4 && " + run << 1;
    }
    void shellRuns()
    {
        QFETCH(QString, line);
        QFETCH(int, exitCode);
        if (line.contains("ulimit") && qEnvironmentVariableIsSet("UBSAN_OPTIONS"))
            QSKIP("the sanitizer's runtime needs descriptors of its own");
        QTemporaryDir dir;
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        shell.setProcessEnvironment(environment);
        shell.start("bash", {"-c", line, TestPaths::hostProgram(), example("tx_2lane.json"),
                             dir.filePath("w")});
        QVERIFY(shell.waitForFinished(20000));
        const QByteArray err = shell.readAllStandardError();
        QVERIFY2(shell.exitCode() == exitCode && err.count('\n') == 1, err.constData());
        QCOMPARE(TestFiles::tree(dir.path()), QStringList());
    }

    // generate refuses in one line and creates nothing: one row per reader the program bounds
    // (the readers' own cases are the host's tables), then what the program itself decides.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("content");    // of <input>; <zero>: /dev/zero, <fifo>: a FIFO
        QTest::addColumn<QStringList>("arguments"); // after "generate"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("reason"); // the line after "ipcore-host generate: "
        const QStringList work{"<input>", "--workdir", "<dir>/work"};
        const QStringList design = QStringList{example("rx_2lane.json"), "--design"} + work;
        const QByteArray x("{\"file\": \"x\"}");
        // clang-format off
        QTest::newRow("params /dev/zero") << QByteArray("<zero>") << work << 2 << "/dev/zero: not a regular file (a device, pipe or socket is not read)";
        QTest::newRow("params cut short") << QByteArray("{\"target_device\": ") << work << 2 << "<input>: invalid JSON at offset 18: unterminated object";
        QTest::newRow("params an array") << QByteArray("[1, 2]") << work << 2 << "<input>: not a JSON object; a parameter set is an object of keys and values";
        QTest::newRow("design FIFO") << QByteArray("<fifo>") << design << 2 << "<input>: cannot read the design: not a regular file (a device, pipe or socket is not read)";
        QTest::newRow("design cut short") << QByteArray("{\"lanes\": [") << design << 2 << "<input>: not valid JSON at offset 11: unterminated array";
        QTest::newRow("design for another chip") << QByteArray(R"({"device": "TQ2H4-FF676"})") << design << 2 << "<input> is a design for TQ2H4-FF676, the core targets TQ2M1E-BG256";
        QTest::newRow("unknown device") << x << work + QStringList{"--device", "NOPE"} << 2 << "device 'NOPE' is not in the device database";
        QTest::newRow("set judged on the given device") << TestFiles::bytes(example("both_8lane.json")) << work + QStringList{"--device", "TQ2M1-BG256"} << 2 << "<input>: \"recordlanes\" is \"Q1 Lane0\"; allowed: lanes of TQ2-M1: \"Q0 Lane0\", \"Q0 Lane1\", \"Q0 Lane2\", \"Q0 Lane3\"";
        QTest::newRow("empty set") << QByteArray("{}") << work + QStringList{"--as-is"} << 1 << "<input>: the parameter set is empty; nothing was generated";
        QTest::newRow("transport without its mode") << x << work + QStringList{"--with-transport", "--m", "2"} << 2 << "--s is required (--m, --s and --np give the converter's mode)";
        QTest::newRow("working directory below a file") << x << QStringList{"<input>", "--workdir", "<input>/work", "--as-is"} << 1 << "Cannot create the directory <input>/work/x/temp/jesd204b: cannot create the working folder <input>/work: Not a directory";
        // clang-format on
    }

    void refusals()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath("input");
        if (content == "<zero>")
            path = QStringLiteral("/dev/zero");
        else if (content == "<fifo>")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            TestFiles::put(path, content);
        arguments.replaceInStrings("<input>", path).replaceInStrings("<dir>", dir.path());
        const HostRun run = runHost(QStringList{"generate"} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QString::fromUtf8(run.err),
                 "ipcore-host generate: " + reason.replace("<input>", path) + '\n');
        QVERIFY(!QFileInfo::exists(dir.filePath("work")));
    }

    // A plug-in folder with a copy of the built plug-in: the description file reader's cause
    // reaches the user through the loader's line; a second copy of the library is ignored.
    void pluginFolder_data()
    {
        QTest::addColumn<QByteArray>("description"); // the description file; empty: the built one
        QTest::addColumn<QStringList>("arguments");  // "<plugins>": the folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("errLines");
        // clang-format off
        QTest::newRow("description cut short") << QByteArray("{\"ipcore\": ") << QStringList{"generate", example("rx_2lane.json"), "--workdir", "<plugins>/w", "--plugin-dir", "<plugins>"} << 1 << QStringList{"ipcore-host generate: <plugins>: no plug-in offers the jesd204b core: <plugins>/jesd204b.ipspec: invalid JSON at offset 11: unterminated object", ""};
        QTest::newRow("second copy of the plug-in") << QByteArray() << QStringList{"list", "--plugin-dir", "<plugins>", "<copy>"} << 0 << QStringList{"ipcore-host list: warning: <plugins>/libjesd204b_copy.so: ignored, the jesd204b core is already offered by an earlier plug-in", ""};
        // clang-format on
    }

    void pluginFolder()
    {
        QFETCH(QByteArray, description);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, errLines);
        QTemporaryDir dir;
        const QString plugins = TestFiles::pluginCopy(dir.path());
        if (!description.isEmpty())
            TestFiles::put(plugins + "/jesd204b.ipspec", description);
        if (arguments.removeAll("<copy>"))
            QVERIFY(QFile::copy(plugins + "/libjesd204b.so", plugins + "/libjesd204b_copy.so"));
        const HostRun run = runHost(arguments.replaceInStrings("<plugins>", plugins));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.errLines(), errLines.replaceInStrings("<plugins>", plugins));
        QVERIFY(exitCode == 0 || run.out.isEmpty());
        QCOMPARE(run.out.count("id:         jesd204b"), exitCode == 0 ? 1 : 0);
        QVERIFY(!QFileInfo::exists(plugins + "/w"));
    }

    // A set is refused by the host's reader in one line naming the key, or read the way every
    // reader converts values: a value of another type generates what its converted value does.
    void parameterOfEveryType_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QVariant>("converted"); // what every reader makes of the value
        QTest::addColumn<bool>("readable");
        // Every key of the example, by how the readers take it, which is how the dialog stores
        // it: text, a flag, a whole number (the text as a base-10 integer, 0 when it is none: a
        // flag or a fraction reads as 0) or the lane list.
        const QJsonObject stored = readJson(example("both_8lane.json"));
        QCOMPARE(stored.size(), 48);
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            for (const JsonSample &sample : jsonSamples()) {
                const QVariant v = sample.value.toVariant();
                const QVariant converted = it->isBool()     ? QVariant(v.toBool())
                                           : it->isDouble() ? v.toString().toInt(nullptr, 10)
                                           : it->isArray()  ? QVariant(v.toStringList())
                                                            : QVariant(v.toString());
                // Only the exact version text opens a stored set.
                QTest::addRow("%s = %s", qPrintable(it.key()), sample.name)
                    << it.key() << sample.value << converted
                    << (sample.readable && it.key() != QLatin1String("version"));
            }
        }
    }

    void parameterOfEveryType()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QVariant, converted);
        QFETCH(bool, readable);
        QJsonObject json = readJson(example("both_8lane.json"));
        json.insert(key, value);
        IPSERDESIP::ParameterMap read;
        QString error;
        QCOMPARE(HostProgram::parameterSetFromJson(json, &read, &error), readable);
        if (!readable)
            QVERIFY2(error.contains('"' + key + '"') && !error.contains('\n'), qPrintable(error));
        const IPSERDESIP::ParameterMap raw = json.toVariantMap();
        IPSERDESIP::ParameterMap plain = raw;
        plain.insert(key, converted);
        QCOMPARE(generationSnapshot(raw), generationSnapshot(plain));
    }

    // A design is loaded or refused with one line naming the file and the entry, the model
    // left as it was.
    void designEntryOfEveryType_data()
    {
        QTest::addColumn<QString>("path"); // "key" or "list/field" of the list's first entry
        QTest::addColumn<QJsonValue>("value");
        const QStringList paths =
            QStringLiteral("description device lanes plls refClocks instances globalData pllTable "
                           "lanes/lane lanes/status lanes/rate lanes/rxSource lanes/txSource "
                           "lanes/owner plls/pll plls/vcoGHz plls/refClock plls/owner "
                           "refClocks/source refClocks/frequency refClocks/useCount "
                           "refClocks/owner instances/name instances/protocol instances/lanes "
                           "globalData/Q1_BIAS globalData/GLOBAL_RESET_ENABLE")
                .split(' ');
        for (const QString &path : paths) {
            for (const JsonSample &sample : jsonSamples())
                QTest::addRow("%s = %s", qPrintable(path), sample.name) << path << sample.value;
        }
    }

    void designEntryOfEveryType()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QJsonObject design = readJson(example("designs/quillan_q1.json"));
        const QString key = path.section('/', 0, 0);
        const QString field = path.section('/', 1);
        if (field.isEmpty()) {
            design.insert(key, value);
        } else { // a field of an object or of a list's first entry
            const bool isList = design.value(key).isArray();
            QJsonArray list = design.value(key).toArray();
            QJsonObject entry = isList ? list.first().toObject() : design.value(key).toObject();
            entry.insert(field, value);
            if (isList)
                list.replace(0, entry);
            design.insert(key, isList ? QJsonValue(list) : QJsonValue(entry));
        }
        QTemporaryDir dir;
        const QString file = writeJson(dir.filePath("design.json"), design);
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->reset();
        model->setDevice(Core::IdeCore::deviceDataBase()->findDevice("TQ2H4-FF676"));
        QString error;
        QVERIFY2(IPSERDESIP::DesignFile::load(example("designs/jesd_rx_q0.json"), &error),
                 qPrintable(error));
        const QStringList before = modelState();
        if (IPSERDESIP::DesignFile::load(file, &error))
            return; // a value the format admits
        QVERIFY2(error.startsWith(file + ": ") && !error.contains('\n'), qPrintable(error));
        QVERIFY2(error.contains(field.isEmpty() ? key : field), qPrintable(error));
        QCOMPARE(modelState(), before);
    }
};

QTEST_MAIN(InputsTest)
#include "tst_inputs.moc"
