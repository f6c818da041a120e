// The program as a whole: its commands and their usage errors, the plug-in loader, --version,
// the logging categories on standard error, and what generate, transport and resources write.
#include "hostrun.h"
#include "testfiles.h"
#include "testpaths.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::bytes;
using TestSupport::HostRun;
using TestSupport::HostSetup;
using TestSupport::runHost;

namespace {

const QStringList allCategories{"ipcore.plugins", "ipcore.serdes", "ipcore.solver",
                                "ipcore.design"};

// The categories that printed at least one line, and any line that belongs to none of them.
QSet<QString> printedCategories(const QByteArray &err, QStringList *strays)
{
    QSet<QString> printed;
    const QRegularExpression line(QStringLiteral("^(ipcore\\.[a-z]+): \\S"));
    for (const QString &text : QString::fromUtf8(err).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch() && allCategories.contains(match.captured(1)))
            printed << match.captured(1);
        else
            *strays << text;
    }
    return printed;
}

} // namespace

class HostProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "<dir>": a fresh directory
        QTest::addColumn<QString>("dirHolds");      // "junk": a library that is no plug-in
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // of stdout; on failure, the first of stderr
                                                // ("..." at the end: any end)
        const QStringList inDir{"list", "--plugin-dir", "<dir>"};
        const QString noPlugin =
            QStringLiteral("ipcore-host list: <dir>: no protocol plug-in found");
        // clang-format off
        QTest::newRow("list") << QStringList{"list"} << "" << 0 << QStringList{"id:         jesd204b", "name:       JESD204B", "version:    1.0", "categories: Interfaces, High-Speed Serial", "summary:    JESD204B link between data converters and logic on up to eight SERDES lanes"};
        QTest::newRow("device by name") << QStringList{"list", "--device", "TQ2-S1"} << "" << 0 << QStringList{"device:     TQ2-S1 supported"};
        QTest::newRow("device by part-number id") << QStringList{"list", "--device", "TQ3H8-FF900"} << "" << 0 << QStringList{"device:     TQ3-H8 supported"};
        QTest::newRow("devices") << QStringList{"devices"} << "" << 0 << QStringList{"TQ2M1-BG256\tTQ2-M1", "TQ2S1-FG324\tTQ2-S1"};
        QTest::newRow("empty plug-in directory") << inDir << "" << 1 << QStringList{noPlugin};
        QTest::newRow("library that is no plug-in") << inDir << "junk" << 1 << QStringList{noPlugin};
        QTest::newRow("the loader says why it refuses a file") << inDir + QStringList{"--verbose"} << "junk" << 1 << QStringList{"ipcore.plugins: looking for plug-ins in <dir>", "ipcore.plugins: refused <dir>/libjunk.so: ...", noPlugin};
        QTest::newRow("plug-in without its description") << inDir << "libjesd204b.so" << 1 << QStringList{"ipcore-host list: <dir>/libjesd204b.so: the plug-in offers no IP core: <dir>/jesd204b.ipspec: no such file"};
        QTest::newRow("missing directory") << QStringList{"list", "--plugin-dir", "<dir>/nothing"} << "" << 2 << QStringList{"ipcore-host list: <dir>/nothing: no such directory"};
        QTest::newRow("unknown option") << QStringList{"list", "--frobnicate"} << "" << 2 << QStringList{"ipcore-host list: Unknown option 'frobnicate'."};
        QTest::newRow("option without value") << QStringList{"list", "--plugin-dir"} << "" << 2 << QStringList{"ipcore-host list: Missing value after '--plugin-dir'."};
        QTest::newRow("unknown device") << QStringList{"list", "--device", "TQ9-X"} << "" << 2 << QStringList{"ipcore-host list: device 'TQ9-X' is not in the device database"};
        QTest::newRow("stray argument") << QStringList{"devices", "extra"} << "" << 2 << QStringList{"ipcore-host devices: unexpected argument 'extra'"};
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "" << 2 << QStringList{"ipcore-host: unknown command 'frobnicate'", "Usage: ipcore-host <command> [options]"};
        QTest::newRow("version with a command") << QStringList{"--version", "list"} << "" << 2 << QStringList();
        QTest::newRow("usage names the command") << QStringList{"check", "--help"} << "" << 0 << QStringList{"Usage: ipcore-host check [options] PARAMS.json"};
        // clang-format on
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, dirHolds);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        if (dirHolds == "junk")
            TestFiles::put(dir.filePath("libjunk.so"), "not a shared object");
        else if (!dirHolds.isEmpty())
            QVERIFY(QFile::copy(TestPaths::pluginDir() + "/" + dirHolds, dir.filePath(dirHolds)));
        arguments.replaceInStrings("<dir>", dir.path());
        lines.replaceInStrings("<dir>", dir.path());

        const HostRun host = runHost(arguments, HostSetup{{"QT_LOGGING_RULES"}});
        QCOMPARE(host.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY(host.out.isEmpty());
            const QStringList err = host.errLines();
            for (int i = 0; i < lines.size(); ++i)
                QVERIFY2(lines[i].endsWith("...") ? err.value(i).startsWith(lines[i].chopped(3))
                                                  : err.value(i) == lines[i],
                         host.err.constData());
            return;
        }
        QVERIFY2(host.err.isEmpty(), host.err.constData());
        for (const QString &line : lines)
            QVERIFY2(QString::fromUtf8(host.out).split('\n').contains(line), host.out.constData());
    }

    // Every "$ build/bin/ipcore-host ..." of the README runs, in order in one folder, and prints
    // what the README shows: "..." stands for any lines, a line ending in "..." for any end.
    void readmeExamples()
    {
        QFile readme(TestPaths::sourceDir() + "/README.md");
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(readme.readAll()).split('\n');
        QTemporaryDir dir;
        int commands = 0;
        const QString prompt = "    $ build/bin/ipcore-host ";
        // The indented lines after line i up to the next prompt, without their indent.
        const auto shownAfter = [&lines](int &i) {
            QStringList shown;
            while (i + 1 < lines.size() && lines[i + 1].startsWith("    ") &&
                   !lines[i + 1].startsWith("    $ "))
                shown << lines[++i].mid(4);
            return shown;
        };
        for (int i = 0; i < lines.size(); ++i) {
            // A file the README shows with cat is the input of the commands after it.
            if (lines[i].startsWith("    $ cat ")) {
                const QString name = dir.filePath(lines[i].mid(10));
                TestFiles::put(name, (shownAfter(i).join('\n') + '\n').toUtf8());
                continue;
            }
            if (!lines[i].startsWith(prompt))
                continue;
            QStringList arguments = lines[i].mid(prompt.size()).split(' ', Qt::SkipEmptyParts);
            for (QString &argument : arguments) {
                if (argument.startsWith("examples/"))
                    argument = TestPaths::sourceDir() + '/' + argument;
                else if (!argument.startsWith('-') &&
                         (argument.endsWith(".json") || argument == "out" ||
                          QFileInfo::exists(dir.filePath(argument))))
                    argument = dir.filePath(argument);
            }
            const QStringList shown = shownAfter(i);
            const HostRun run = runHost(arguments);
            // Paths below the scratch folder print as the README names them.
            const QStringList printed =
                QString::fromUtf8(run.out + run.err).remove(dir.path() + '/').split('\n');
            int at = 0;
            bool skipping = false;
            for (const QString &line : shown) {
                if (line == "...") {
                    skipping = true;
                    continue;
                }
                const auto matches = [&line](const QString &text) {
                    return line.endsWith("...") ? text.startsWith(line.chopped(3)) : text == line;
                };
                while (skipping && at < printed.size() && !matches(printed[at]))
                    ++at;
                QVERIFY2(at < printed.size() && matches(printed[at]),
                         qPrintable(line + "\nnot where the README shows it in:\n" +
                                    printed.join('\n')));
                ++at;
                skipping = false;
            }
            ++commands;
        }
        QVERIFY(commands >= 4);
    }

    // The program's version from the build, the core's from its description file.
    void version()
    {
        const QJsonObject core =
            TestFiles::readJson(TestPaths::sourceDir() + "/data/jesd204b.ipspec")["ipcore"]
                .toObject();
        const HostRun host = runHost({"--version"});
        QVERIFY2(host.exitCode == 0 && host.err.isEmpty(), host.err.constData());
        QCOMPARE(host.outLines(),
                 (QStringList{QStringLiteral("ipcore-host %1").arg(JESD_PROJECT_VERSION),
                              QStringLiteral("core %1 %2 (%3)")
                                  .arg(core["id"].toString(), core["version"].toString(),
                                       core["name"].toString())}));
    }

    void logCategories_data()
    {
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<QString>("rules"); // QT_LOGGING_RULES; empty: unset
        QTest::addColumn<QStringList>("printed");
        // clang-format off
        QTest::newRow("quiet by default") << false << "" << QStringList{};
        QTest::newRow("--verbose") << true << "" << allCategories;
        QTest::newRow("one category by its rule") << false << "ipcore.solver.debug=true" << QStringList{"ipcore.solver"};
        QTest::newRow("rules override --verbose") << true << "ipcore.serdes.debug=false;ipcore.plugins.debug=false" << QStringList{"ipcore.solver", "ipcore.design"};
        // clang-format on
    }

    // The design holds the PLL the set needs at another rate: every part has work to report.
    void logCategories()
    {
        QFETCH(bool, verbose);
        QFETCH(QString, rules);
        QFETCH(QStringList, printed);
        QStringList arguments{"check", TestPaths::example("rx_2lane.json"), "--design",
                              TestPaths::example("designs/jesd_rx_q0.json")};
        if (verbose)
            arguments << "--verbose";
        const HostRun host = runHost(
            arguments,
            HostSetup{{rules.isEmpty() ? "QT_LOGGING_RULES" : "QT_LOGGING_RULES=" + rules}});
        QCOMPARE(host.exitCode, 1);
        QStringList strays;
        const QSet<QString> got = printedCategories(host.err, &strays);
        QVERIFY2(strays.isEmpty(), qPrintable(strays.join('\n')));
        QCOMPARE(got, QSet<QString>(printed.begin(), printed.end()));
        QVERIFY(!host.out.contains("ipcore.")); // logging goes to standard error only
    }

    // An empty RUNPATH entry searches the current folder: a library planted there would run.
    void noEmptyRunPathEntry()
    {
        QProcess readelf;
        readelf.start("readelf", {"-d", TestPaths::hostProgram()});
        if (!readelf.waitForFinished(10000) || readelf.exitCode() != 0)
            QSKIP("readelf is not available");
        const QRegularExpressionMatch path =
            QRegularExpression(R"(R(UN)?PATH\)\s+Library r(un)?path: \[([^\]]*)\])")
                .match(QString::fromUtf8(readelf.readAllStandardOutput()));
        QVERIFY(path.hasMatch());
        QVERIFY2(!path.captured(3).split(':').contains(QString()), qPrintable(path.captured(3)));
    }

    void examples_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("withTemplate");
        // clang-format off
        QTest::newRow("transmit, 2 lanes") << "tx_2lane" << "jesd_tx" << false;
        QTest::newRow("receive, 2 lanes, with template") << "rx_2lane" << "jesd_rx" << true;
        QTest::newRow("both, 8 lanes, with design and template") << "both_8lane" << "jesd_both" << true;
        QTest::newRow("group B device") << "groupb" << "jesd_b" << false;
        // clang-format on
    }

    // The example files pin typical configurations down to the byte, beside the host's own
    // files too.
    void examples()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(bool, withTemplate);
        QTemporaryDir work;
        const QString expected = TestPaths::example("expected/" + name);
        QStringList arguments{"generate", TestPaths::example(name + ".json"), "--workdir",
                              work.path()};
        if (QFileInfo::exists(expected + "/design.json"))
            arguments << "--design" << expected + "/design.json";
        if (withTemplate)
            arguments << "--with-template";
        const HostRun result = runHost(arguments);
        QVERIFY2(result.exitCode == 0 && result.err.isEmpty(), result.err.constData());
        QCOMPARE(result.out, bytes(expected + "/module_options.txt"));

        const QDir dir(work.path() + "/" + file + "/temp/jesd204b");
        const QStringList outputs{"jesd204b.ini", "jesd204b_top_defines.vh", "top_define.vh"};
        QStringList all = outputs;
        if (withTemplate)
            all << file + ".sdc" << file + "_inst.v";
        all.sort();
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), all);
        for (const QString &output : outputs)
            QCOMPARE(bytes(dir.filePath(output)), bytes(expected + "/" + output));
    }

    // The modules go beside the core, committed with it, as the transport command writes them.
    void withTransport()
    {
        QTemporaryDir work;
        const QStringList mode{"--m", "2", "--s", "2", "--np", "16", "--workdir"};
        const HostRun generated = runHost(
            QStringList{"generate", TestPaths::example("rx_2lane.json"), "--with-transport"} +
            mode + QStringList{work.filePath("g")});
        QVERIFY2(generated.exitCode == 0, generated.err.constData());
        const QDir dir(work.filePath("g/jesd_rx/transport"));
        QCOMPARE(dir.entryList(QDir::Files), QStringList{"jesd_rx_rx_transport.v"});
        const HostRun written =
            runHost(QStringList{"transport", TestPaths::example("rx_2lane.json")} + mode +
                    QStringList{work.filePath("t")});
        QVERIFY2(written.exitCode == 0, written.err.constData());
        const QByteArray module = bytes(dir.filePath("jesd_rx_rx_transport.v"));
        QVERIFY(module.contains("module jesd_rx_rx_transport ("));
        QCOMPARE(bytes(work.filePath("t/jesd_rx/transport/jesd_rx_rx_transport.v")), module);
    }

    void synthesis()
    {
        QTemporaryDir work;
        const QString plugins = TestFiles::pluginCopy(work.path());
        QStringList arguments{"generate", TestPaths::example("rx_2lane.json"), "--synthesis"};
        arguments << "--workdir" << work.filePath("w") << "--plugin-dir" << plugins;
        const HostRun missing = runHost(arguments);
        QVERIFY2(missing.exitCode == 1 && missing.out.isEmpty() &&
                     missing.err.contains("jesd204b_core_encryption.v not found"),
                 missing.err.constData());

        TestFiles::put(plugins + "/data/jesd204b_core_encryption.v", {});
        const HostRun ready = runHost(arguments);
        QVERIFY2(ready.exitCode == 0 && ready.err.count('\n') == 1 && ready.err.contains("jesd_rx"),
                 ready.err.constData());
    }

    void resources()
    {
        const HostRun result = runHost({"resources", TestPaths::example("groupb.json")});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        const QJsonObject report = result.json();
        QCOMPARE(report.keys(), (QStringList{"bothRateList", "file", "instanceName", "laneList",
                                             "module", "pllList", "protocolName", "refClkFreqList",
                                             "refClkList", "rxRateList", "txRateList"}));
        QCOMPARE(report.value("laneList").toArray(), (QJsonArray{"Q0_LANE1_RX", "Q0_LANE0_RX"}));
        QCOMPARE(report.value("refClkList").toArray(), (QJsonArray{"MCLK", "MCLK"}));
    }
};

QTEST_GUILESS_MAIN(HostProgramTest)
#include "tst_hostprogram.moc"
