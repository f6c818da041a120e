// What is written when the file system works against it: a link planted below the work folder,
// a full disk under each writer, a size limit, and two runs at once. The program fails in one
// line with exit 1 and changes no file that existed; the plug-in's generate, called in-process,
// answers false with every file old or new and whole.
#include "appfixture.h"
#include "configureoptions.h"
#include "hostrun.h"

#include <design/designfile.h>
#include <services/message.h>

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

#include <cerrno>
#include <sys/mount.h>
#include <unistd.h>

using namespace AppFixture;
using TestFiles::put;
using TestSupport::HostRun;
using TestSupport::HostSetup;
using TestSupport::runHost;

namespace {

const HostSetup offscreen{{"QT_QPA_PLATFORM=offscreen"}};

// Lines on standard error, without the questions a batch run answers itself.
int errLineCount(const HostRun &run)
{
    return run.errLines().filter(QRegularExpression("^(?!Question: ).")).size();
}

// The eight-lane set, generating into the two-lane set's folder as m_new does.
QString eightLanesAsTx(const QString &dir)
{
    return writeJson(dir + "/both.json",
                     changedJson(example("both_8lane.json"), {{"file", "jesd_tx"}}));
}

// Fills the disk below dir, then frees the given number of whole pages.
bool fillDisk(const QString &dir, qint64 pagesFree)
{
    QFile filler(dir + "/filler");
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    const qint64 whole = QFileInfo(filler).size() / 4096 * 4096;
    return filler.resize(qMax<qint64>(0, whole - pagesFree * 4096));
}

} // namespace

class WritesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_old = readSet(example("tx_2lane.json"));
        m_new = readSet(example("both_8lane.json"));
        m_new.insert("file", m_old.value("file"));
        QTemporaryDir clean;
        const QString dir = generationDir(clean.path(), m_old.value("file").toString());
        QVERIFY(generate(*loadedProtocol(), m_old, clean.path()).ok);
        m_oldBytes = outputs(dir);
        QVERIFY(generate(*loadedProtocol(), m_new, clean.path()).ok);
        m_newBytes = outputs(dir);
    }

    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // check's scratch folder goes, its record is all it leaves.
    void checkWritesOnlyItsRecord()
    {
        const QString root = m_dir->path();
        QVERIFY(QDir().mkpath(root + "/tmp"));
        const HostRun result =
            runHost({"check", example("tx_2lane.json"), "--csr", root + "/r.csr"},
                    HostSetup{{"TMPDIR=" + root + "/tmp"}});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(tree(root + "/tmp", true), QStringList());
        QCOMPARE(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"r.csr"});
    }

    // A write refused or failing: a folder on the way planted as a link (whether a generation
    // or the dialog's calculation record meets it), an output that is one of the inputs (by the
    // same name, another name or a link), an output folder that is missing (the design gets
    // the core only when the set can be written too), a standard output that cannot be written.
    // One line, and no file changed (but what generate writes before its standard output).
    void failedWrites_data()
    {
        QTest::addColumn<QString>("link"); // below the test's folder, to elsewhere/
        // Run in the test's folder, which holds P.json (tx_2lane), D.json (an empty design),
        // sub/, L.json a link to P.json and H.json a hard link; ">/dev/full": standard output.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said"); // a pattern the line matches
        const QString input = " is the input ";
        const QString noOutput =
            "cannot write to standard output(: " + qt_error_string(ENOSPC) + ")?$";
        const QStringList configure{"configure", "--batch", "--device", "TQ2-S1",
                                    "--design",  "D.json",  "--output"};
        const QStringList check{"check", "P.json", "--csr"};
        // clang-format off
        QTest::newRow("generate, link") << "work/jesd_tx/temp" << QStringList{"generate", "P.json", "--workdir", "<root>/work"} << 1 << "is a symbolic link";
        QTest::newRow("configure's record, link") << "work/temp" << QStringList{"configure", "--batch", "--calculate", "--answer", "yes", "--device", "TQ2-S1", "--project-dir", "<root>/work"} << 1 << "is a symbolic link";
        QTest::newRow("configure, same name") << "" << configure + QStringList{"D.json"} << 2 << input;
        QTest::newRow("configure, other name") << "" << configure + QStringList{"./sub/../D.json"} << 2 << input;
        QTest::newRow("check, same name") << "" << check + QStringList{"P.json"} << 2 << input;
        QTest::newRow("check, symbolic link") << "" << check + QStringList{"L.json"} << 2 << input;
        QTest::newRow("check, hard link") << "" << check + QStringList{"H.json"} << 2 << input;
        QTest::newRow("design and a missing output folder") << "" << configure + QStringList{"missing/p.json"} << 1 << QRegularExpression::escape(qt_error_string(ENOENT));
        QTest::newRow("generate, standard output") << "" << QStringList{"generate", "P.json", "--workdir", "w", ">/dev/full"} << 1 << noOutput;
        QTest::newRow("check, standard output") << "" << QStringList{"check", "P.json", ">/dev/full"} << 1 << noOutput;
        QTest::newRow("check --json, standard output") << "" << QStringList{"check", "P.json", "--json", ">/dev/full"} << 1 << noOutput;
        QTest::newRow("plan --json, standard output") << "" << QStringList{"plan", "--fs", "500", "-m", "2", "-l", "2", "--np", "16", "-s", "1", "--json", ">/dev/full"} << 1 << noOutput;
        QTest::newRow("resources, standard output") << "" << QStringList{"resources", "P.json", ">/dev/full"} << 1 << noOutput;
        QTest::newRow("devices, standard output") << "" << QStringList{"devices", ">/dev/full"} << 1 << noOutput;
        // The design does not hold a core whose set is lost.
        QTest::newRow("configure, design, standard output") << "" << configure.mid(0, 6) + QStringList{">/dev/full"} << 1 << noOutput;
        // clang-format on
    }
    void failedWrites()
    {
        QFETCH(QString, link);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        const QString root = m_dir->path();
        QVERIFY(QFile::copy(example("tx_2lane.json"), root + "/P.json") &&
                QFile::copy(example("designs/empty.json"), root + "/D.json") &&
                QDir().mkdir(root + "/sub") && QFile::link("P.json", root + "/L.json") &&
                ::link(QFile::encodeName(root + "/P.json").constData(),
                       QFile::encodeName(root + "/H.json").constData()) == 0);
        if (!link.isEmpty())
            QVERIFY(QDir().mkpath(QFileInfo(root + '/' + link).path()) &&
                    QDir().mkpath(root + "/elsewhere/jesd204b") &&
                    QFile::link(root + "/elsewhere", root + '/' + link));
        const QStringList before = tree(root, true);
        HostSetup setup = offscreen;
        setup.workingDirectory = root;
        if (arguments.removeAll(">/dev/full"))
            setup.standardOutputFile = "/dev/full";
        const HostRun run = runHost(arguments.replaceInStrings("<root>", root), setup);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QRegularExpression(said).match(QString::fromUtf8(run.err)).hasMatch() &&
                     errLineCount(run) == 1,
                 run.err.constData());
        if (arguments.first() != "generate" || setup.standardOutputFile.isEmpty())
            QCOMPARE(tree(root, true), before);
    }

    void fullDisk_data()
    {
        QTest::addColumn<QString>(
            "preset"); // "name=example" copied onto the disk, "name/" a folder
        QTest::addColumn<QStringList>("arguments"); // "<disk>": the full disk
        const QString tx = example("tx_2lane.json");
        // clang-format off
        QTest::newRow("design file") << "D.json=designs/empty.json" << QStringList{"configure", "--batch", "--device", "TQ2-S1", "--design", "<disk>/D.json", "--output", "<disk>/p.json"};
        QTest::newRow("parameter set over itself") << "p.json=tx_2lane.json" << QStringList{"configure", "--batch", "--edit", "<disk>/p.json", "--output", "<disk>/p.json"};
        QTest::newRow("synthesis manifest") << "" << QStringList{"generate", tx, "--workdir", "<disk>/w", "--synthesis"};
        QTest::newRow("snapshot") << "shots/" << QStringList{"configure", "--snapshot", "<disk>/shots", "--device", "TQ2-S1"};
        QTest::newRow("check record") << "r.csr=tx_2lane.json" << QStringList{"check", tx, "--csr", "<disk>/r.csr"};
        // clang-format on
    }

    void fullDisk()
    {
        QFETCH(QString, preset);
        QFETCH(QStringList, arguments);
        const QString disk = m_dir->path();
        // A small tmpfs of its own: a disk that really fills.
        if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0,
                    "mode=0700,size=512k") != 0)
            QSKIP("mounting a tmpfs needs root");
        const auto unmount =
            qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        arguments.replaceInStrings("<disk>", disk);
        if (preset.endsWith('/'))
            QVERIFY(QDir().mkpath(disk + '/' + preset));
        else if (!preset.isEmpty())
            QVERIFY(QFile::copy(example(preset.section('=', 1)),
                                disk + '/' + preset.section('=', 0, 0)));
        qint64 pagesFree = 0;
        if (arguments.contains("--synthesis")) {
            arguments << "--plugin-dir" << pluginsWithSources();
            QVERIFY(runHost(arguments.mid(0, 4) + arguments.mid(5)).exitCode == 0);
            // Room for the three staged files and the folder's lock, none for the manifest.
            for (const QByteArray &file : outputs(disk + "/w/jesd_tx/temp/jesd204b"))
                pagesFree += (file.size() + 4095) / 4096;
            pagesFree += 1;
        }
        QVERIFY(fillDisk(disk, pagesFree));
        const QStringList before = tree(disk, true);

        const HostRun result = runHost(arguments, offscreen);
        QVERIFY2(result.exitCode == 1, result.err.constData());
        QVERIFY2(result.err.endsWith(qt_error_string(ENOSPC).toUtf8() + "\n"),
                 result.err.constData());
        QCOMPARE(errLineCount(result), 1);
        QCOMPARE(tree(disk, true), before);
    }

    // A design update merges only the global data the core published: what another run wrote
    // between the load and the update stays.
    void designMergeKeepsOthersKeys()
    {
        const QString design =
            writeJson(m_dir->filePath("D.json"), {{"globalData", QJsonObject{{"keep", "a"}}}});
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->reset();
        model->setDevice(
            Core::IdeCore::deviceDataBase()->findDevice(m_old.value("target_device").toString()));
        QString error;
        QVERIFY2(IPSERDESIP::DesignFile::load(design, &error), qPrintable(error));
        model->setData("published", "p");
        writeJson(design, {{"globalData", QJsonObject{{"keep", "b"}, {"other", "c"}}}});

        const std::unique_ptr<IPSERDESIP::Message> report(loadedProtocol()->resources(m_old));
        QVERIFY2(IPSERDESIP::DesignFile::addInstance(design, *report, &error), qPrintable(error));
        QCOMPARE(TestFiles::readJson(design).value("globalData").toObject(),
                 (QJsonObject{{"keep", "b"}, {"other", "c"}, {"published", "p"}}));
    }

    // Two new cores into one design at once: each run that succeeds is in the design, a run
    // that fails says why and writes nothing, and no lane is held twice.
    void concurrentDesignUpdates()
    {
        for (int round = 0; round < 4; ++round) {
            const QString design = m_dir->filePath(QString("D%1.json").arg(round));
            QVERIFY(QFile::copy(example("designs/empty.json"), design));
            const auto output = [&](int i) {
                return m_dir->filePath(QString("p%1-%2.json").arg(round).arg(i));
            };
            std::unique_ptr<QProcess> processes[2];
            for (int i = 0; i < 2; ++i)
                processes[i] =
                    TestSupport::startHost({"configure", "--batch", "--answer", "yes", "--device",
                                            "TQ2-S1", "--design", design, "--output", output(i)},
                                           offscreen);
            int succeeded = 0;
            for (int i = 0; i < 2; ++i) {
                const HostRun result = TestSupport::finishHost(*processes[i]);
                QCOMPARE(QFileInfo::exists(output(i)), result.exitCode == 0);
                succeeded += result.exitCode == 0;
                // refused at the design under its lock, or by the dialog that saw it, in one line
                QVERIFY2(result.exitCode == 0 ||
                             (result.exitCode == 1 && result.err.count('\n') == 1 &&
                              (result.err.contains(design.toUtf8()) ||
                               result.err.contains("is already used by"))),
                         result.err.constData());
            }
            const QJsonObject root = TestFiles::readJson(design);
            QCOMPARE(root.value("instances").toArray().size(), succeeded);
            QVERIFY(succeeded >= 1);
            QStringList lanes;
            for (const QJsonValue &lane : root.value("lanes").toArray())
                lanes << lane.toObject().value("lane").toString();
            QCOMPARE(lanes.size(), QSet<QString>(lanes.begin(), lanes.end()).size());
        }
    }

    // Two sets into one folder at once: the three files always come from one of the runs.
    void concurrentGenerations()
    {
        const QString root = m_dir->path();
        // The in-process sets: the program must make the plug-in's bytes.
        const QStringList sets{example("tx_2lane.json"), eightLanesAsTx(root)};
        const QList<QList<QByteArray>> expected{m_oldBytes, m_newBytes};
        for (int round = 0; round < 12; ++round) {
            const auto first = TestSupport::startHost({"generate", sets[0], "--workdir", root});
            const auto second = TestSupport::startHost({"generate", sets[1], "--workdir", root});
            const HostRun a = TestSupport::finishHost(*first);
            const HostRun b = TestSupport::finishHost(*second);
            QVERIFY2(a.exitCode == 0 && b.exitCode == 0, a.err + b.err);
            const QList<QByteArray> now = outputs(generationDir(root, "jesd_tx"));
            QVERIFY2(expected.contains(now), qPrintable(QString::number(round)));
        }
    }

    // Under a file-size limit that the first file fits and the last does not: no signal death,
    // one line, and nothing left in the work folder.
    void sizeLimit()
    {
        const QString root = m_dir->path();
        const QString bigSet = eightLanesAsTx(root);
        HostSetup limited;
        limited.fileSizeLimit = m_newBytes.last().size() / 2;
        QVERIFY(qMax(m_newBytes[0].size(), m_newBytes[1].size()) < limited.fileSizeLimit);
        QVERIFY(QDir().mkdir(root + "/w"));
        const QStringList before = tree(root, true);

        const HostRun result = runHost({"generate", bigSet, "--workdir", root + "/w"}, limited);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(errLineCount(result), 1);
        QVERIFY2(result.err.contains(qt_error_string(EFBIG).toUtf8()), result.err.constData());
        QCOMPARE(tree(root, true), before);
    }

    // The in-process writes stop at the first target that cannot be replaced: the file before
    // it is new and whole, the rest the earlier ones byte for byte, no scratch file is left, and
    // once the fault is gone the same call succeeds.
    void faultDuringWrite()
    {
        const QString work = m_dir->path();
        QVERIFY(generate(*loadedProtocol(), m_old, work).ok);
        const QString dir = generationDir(work, m_old.value("file").toString());
        const QString blocked = dir + "/" + outputNames.at(1);
        QVERIFY(QFile::remove(blocked) &&
                QDir().mkpath(blocked + "/keep")); // no rename replaces it
        const QStringList before = TestFiles::tree(work);

        const Generation result = generate(*loadedProtocol(), m_new, work);
        QVERIFY(!result.ok);
        const QList<QByteArray> now = outputs(dir);
        QCOMPARE(now.at(0), m_newBytes.at(0));
        QCOMPARE(now.at(2), m_oldBytes.at(2));
        QCOMPARE(TestFiles::tree(work), before);
        QCOMPARE(result.reports.size(), 1);
        QVERIFY2(result.reports.first().contains(outputNames.at(1)),
                 qPrintable(result.reports.first()));

        QVERIFY(QDir(blocked).removeRecursively());
        QVERIFY(generate(*loadedProtocol(), m_new, work).ok);
        QCOMPARE(outputs(dir), m_newBytes);
    }

private:
    QString pluginsWithSources()
    {
        if (m_plugins.isEmpty())
            m_plugins = TestFiles::pluginCopy(m_pluginsDir.path(), "module stand_in; endmodule\n");
        return m_plugins;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QTemporaryDir m_pluginsDir;
    QString m_plugins;
    IPSERDESIP::ParameterMap m_old; // two lanes
    IPSERDESIP::ParameterMap m_new; // eight lanes, same output directory
    QList<QByteArray> m_oldBytes;
    QList<QByteArray> m_newBytes;
};

QTEST_MAIN(WritesTest)
#include "tst_writes.moc"
