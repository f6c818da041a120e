// What the host program writes when the file system works against it: links planted below the
// work folder, values that point outside it, a full disk, a size limit, and two runs at once.
// Every failure is one line and exit 1, and no file that existed before changes.
#include "testpaths.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QtTest>

#include <cerrno>
#include <memory>

#include "testfiles.h"
#include <sys/mount.h>

using TestFiles::put;

namespace {

const QStringList OutputNames{"top_define.vh", "jesd204b_top_defines.vh", "jesd204b.ini"};

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    // Lines on standard error, without the questions a batch run answers itself.
    int errLineCount() const
    {
        int count = 0;
        for (const QByteArray &line : err.split('\n'))
            count += !line.isEmpty() && !line.startsWith("Question: ");
        return count;
    }
};

QProcess *start(const QStringList &arguments, const QStringList &environment = {},
                qint64 fileSizeLimit = 0)
{
    auto *process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    process->setProcessEnvironment(env);
    if (fileSizeLimit > 0)
        process->start("prlimit", QStringList{QString("--fsize=%1").arg(fileSizeLimit),
                                              TestPaths::hostProgram()} +
                                      arguments);
    else
        process->start(TestPaths::hostProgram(), arguments);
    return process;
}

Run finish(QProcess *process)
{
    const std::unique_ptr<QProcess> owned(process);
    Run run;
    if (!process->waitForFinished(60000) || process->exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process->exitCode();
    run.out = process->readAllStandardOutput();
    run.err = process->readAllStandardError();
    return run;
}

Run run(const QStringList &arguments, const QStringList &environment = {}, qint64 fileSizeLimit = 0)
{
    return finish(start(arguments, environment, fileSizeLimit));
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                      : "<no file>";
}

// Every entry below dir with its content, so that a changed or left-over file shows.
QStringList snapshot(const QString &dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        entries << QDir(dir).relativeFilePath(path) + " " +
                       (info.isSymLink() ? "-> " + info.symLinkTarget()
                        : info.isFile()  ? QString::number(qHash(bytes(path)))
                                         : QString("dir"));
    }
    entries.sort();
    return entries;
}

QString example(const QString &name)
{
    return TestPaths::examplesDir() + "/" + name;
}

// An example set with its "file" replaced, written below dir.
QString setWithFile(const QString &dir, const QString &name, const QString &file)
{
    QJsonObject set = QJsonDocument::fromJson(bytes(example(name))).object();
    set.insert("file", file);
    const QString path =
        dir + "/" + QFileInfo(name).baseName() + "-" + QString::number(qHash(file)) + ".json";
    put(path, QJsonDocument(set).toJson());
    return path;
}

QList<QByteArray> outputs(const QString &dir)
{
    QList<QByteArray> all;
    for (const QString &name : OutputNames)
        all << bytes(dir + "/" + name);
    return all;
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

class WriteSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // ---- paths -------------------------------------------------------------------------------

    void escapes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::newRow("generate ..") << "generate"
                                     << "..";
        QTest::newRow("generate ../../x") << "generate"
                                          << "../../x";
        QTest::newRow("check ..") << "check"
                                  << "..";
        QTest::newRow("check ../../x") << "check"
                                       << "../../x";
    }

    // Nothing lands outside the work folder, nor outside check's private scratch folder.
    void escapes()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        const QString root = m_dir->path();
        QVERIFY(QDir().mkpath(root + "/a/b/work") && QDir().mkpath(root + "/tmp"));
        const QString set = setWithFile(root, "tx_2lane.json", file);
        const QStringList before = snapshot(root);
        QStringList arguments{command, set};
        if (command == "generate")
            arguments << "--workdir" << root + "/a/b/work";
        const Run result = run(arguments, {"TMPDIR=" + root + "/tmp"});
        QVERIFY2(result.exitCode == 1 || result.exitCode == 2, result.err.constData());
        QCOMPARE(result.errLineCount(), 1);
        QCOMPARE(snapshot(root), before);
    }

    void checkWritesOnlyItsRecord()
    {
        const QString root = m_dir->path();
        QVERIFY(QDir().mkpath(root + "/tmp"));
        const Run result = run({"check", example("tx_2lane.json"), "--csr", root + "/out.csr"},
                               {"TMPDIR=" + root + "/tmp"});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(snapshot(root + "/tmp"), QStringList());
        QCOMPARE(QDir(root).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csr"});
    }

    void links_data()
    {
        QTest::addColumn<QString>("at");     // below the generation folder's parent chain
        QTest::addColumn<QString>("target"); // what the planted link points to
        const QString gen = "jesd_tx/temp/jesd204b";
        QTest::newRow("target file") << gen + "/top_define.vh"
                                     << "victim";
        QTest::newRow("dangling") << gen + "/jesd204b.ini"
                                  << "not-there";
        QTest::newRow("link to a folder") << "jesd_tx/temp"
                                          << "elsewhere";
        QTest::newRow("generation folder") << gen << "elsewhere";
        QTest::newRow("device node") << gen + "/jesd204b_top_defines.vh"
                                     << "/dev/null";
    }

    void links()
    {
        QFETCH(QString, at);
        QFETCH(QString, target);
        const QString root = m_dir->path();
        const QString work = root + "/work";
        QVERIFY(QDir().mkpath(QFileInfo(work + "/" + at).path()) &&
                QDir().mkpath(root + "/elsewhere"));
        put(root + "/victim", "keep\n");
        QVERIFY(
            QFile::link(target.startsWith('/') ? target : root + "/" + target, work + "/" + at));
        const QStringList before = snapshot(root);
        const Run result = run({"generate", example("tx_2lane.json"), "--workdir", work});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.errLineCount(), 1);
        QVERIFY2(result.err.contains("is a symbolic link"), result.err.constData());
        QCOMPARE(snapshot(root), before);
    }

    // ---- full disk ---------------------------------------------------------------------------

    void fullDisk_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::newRow("design file") << "design";
        QTest::newRow("parameter set over itself") << "parameters";
        QTest::newRow("generated files") << "generate";
        QTest::newRow("synthesis manifest") << "manifest";
        QTest::newRow("snapshot") << "snapshot";
        QTest::newRow("check record") << "record";
    }

    void fullDisk()
    {
        QFETCH(QString, writer);
        const QString disk = m_dir->path();
        const QByteArray mountPoint = QFile::encodeName(disk);
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=512k,mode=0700") != 0)
            QSKIP("mounting a tmpfs needs root");
        const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });

        const QStringList noDisplay{"QT_QPA_PLATFORM=offscreen"};
        QStringList arguments;
        qint64 pagesFree = 0;
        if (writer == "design") {
            QVERIFY(QFile::copy(example("designs/empty.json"), disk + "/D.json"));
            arguments = QStringList{"configure", "--batch",        "--device", "TQ2-S1",
                                    "--design",  disk + "/D.json", "--output", disk + "/p.json"};
        } else if (writer == "parameters") {
            QVERIFY(QFile::copy(example("tx_2lane.json"), disk + "/p.json"));
            arguments = QStringList{"configure",      "--batch",  "--edit",
                                    disk + "/p.json", "--output", disk + "/p.json"};
        } else if (writer == "generate" || writer == "manifest") {
            QStringList gen{"generate",  example("tx_2lane.json"), "--workdir",
                            disk + "/w", "--plugin-dir",           pluginsWithSources()};
            QVERIFY(run(gen).exitCode == 0);
            if (writer == "manifest") {
                // Room for the three staged files, none for the manifest after them.
                for (const QByteArray &file : outputs(disk + "/w/jesd_tx/temp/jesd204b"))
                    pagesFree += (file.size() + 4095) / 4096;
                gen << "--synthesis";
            }
            arguments = gen;
        } else if (writer == "snapshot") {
            QVERIFY(QDir().mkpath(disk + "/shots"));
            arguments =
                QStringList{"configure", "--snapshot", disk + "/shots", "--device", "TQ2-S1"};
        } else {
            put(disk + "/r.csr", "earlier record\n");
            arguments = QStringList{"check", example("tx_2lane.json"), "--csr", disk + "/r.csr"};
        }
        QVERIFY(fillDisk(disk, pagesFree));
        const QStringList before = snapshot(disk);

        const Run result = run(arguments, noDisplay);
        QVERIFY2(result.exitCode == 1, result.err.constData());
        QVERIFY2(result.err.endsWith(qt_error_string(ENOSPC).toUtf8() + "\n"),
                 result.err.constData());
        QCOMPARE(result.errLineCount(), 1);
        QCOMPARE(snapshot(disk), before);
    }

    // The design gets the core only when the parameter set can be written too.
    void designAndOutputTogether()
    {
        const QString design = m_dir->filePath("D.json");
        QVERIFY(QFile::copy(example("designs/empty.json"), design));
        const QByteArray earlier = bytes(design);
        const Run result = run({"configure", "--batch", "--device", "TQ2-S1", "--design", design,
                                "--output", m_dir->filePath("missing/p.json")},
                               {"QT_QPA_PLATFORM=offscreen"});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(qt_error_string(ENOENT).toUtf8()), result.err.constData());
        QCOMPARE(bytes(design), earlier);
    }

    // ---- concurrency -------------------------------------------------------------------------

    // Two new cores into one design at once: each run that succeeds is in the design, a run
    // that fails says why and writes nothing, and no lane is held twice.
    void concurrentDesignUpdates()
    {
        for (int round = 0; round < 4; ++round) {
            const QString design = m_dir->filePath(QString("D%1.json").arg(round));
            QVERIFY(QFile::copy(example("designs/empty.json"), design));
            QList<QProcess *> processes;
            for (int i = 0; i < 2; ++i)
                processes << start({"configure", "--batch", "--answer", "yes", "--device", "TQ2-S1",
                                    "--design", design, "--output",
                                    m_dir->filePath(QString("p%1-%2.json").arg(round).arg(i))},
                                   {"QT_QPA_PLATFORM=offscreen"});
            int succeeded = 0;
            for (int i = 0; i < 2; ++i) {
                const Run result = finish(processes.at(i));
                const QString output = m_dir->filePath(QString("p%1-%2.json").arg(round).arg(i));
                QVERIFY2(result.exitCode == 0 || result.exitCode == 1, result.err.constData());
                QCOMPARE(QFileInfo::exists(output), result.exitCode == 0);
                if (result.exitCode == 0)
                    ++succeeded;
                else // refused at the design under its lock, or by the dialog that saw it
                    QVERIFY2(result.err.contains(design.toUtf8()) ||
                                 result.err.contains("is already used by"),
                             result.err.constData());
            }
            const QJsonObject root = QJsonDocument::fromJson(bytes(design)).object();
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
        const QStringList sets{setWithFile(root, "tx_2lane.json", "core"),
                               setWithFile(root, "both_8lane.json", "core")};
        QList<QList<QByteArray>> expected;
        for (const QString &set : sets) {
            QTemporaryDir clean;
            QVERIFY(run({"generate", set, "--workdir", clean.path()}).exitCode == 0);
            expected << outputs(clean.path() + "/core/temp/jesd204b");
        }
        QVERIFY(expected.at(0) != expected.at(1));
        for (int round = 0; round < 12; ++round) {
            QProcess *first = start({"generate", sets.at(0), "--workdir", root + "/w"});
            QProcess *second = start({"generate", sets.at(1), "--workdir", root + "/w"});
            const Run a = finish(first);
            const Run b = finish(second);
            QVERIFY2(a.exitCode == 0 && b.exitCode == 0, a.err + b.err);
            const QList<QByteArray> now = outputs(root + "/w/core/temp/jesd204b");
            QVERIFY2(now == expected.at(0) || now == expected.at(1),
                     qPrintable(QString::number(round)));
        }
    }

    // ---- limits ------------------------------------------------------------------------------

    void sizeLimit_data()
    {
        QTest::addColumn<bool>("earlierFiles");
        QTest::newRow("over an earlier generation") << true;
        QTest::newRow("into an empty folder") << false;
    }

    // Under a file-size limit that the first file fits and the last does not: no signal death,
    // one line, and the folder as it was.
    void sizeLimit()
    {
        QFETCH(bool, earlierFiles);
        const QString root = m_dir->path();
        const QString bigSet = setWithFile(root, "both_8lane.json", "core");
        QTemporaryDir clean;
        QVERIFY(run({"generate", bigSet, "--workdir", clean.path()}).exitCode == 0);
        const QList<QByteArray> big = outputs(clean.path() + "/core/temp/jesd204b");
        const qint64 limit = big.last().size() / 2;
        QVERIFY(big.at(0).size() < limit && big.at(1).size() < limit);
        if (earlierFiles)
            QVERIFY(run({"generate", setWithFile(root, "tx_2lane.json", "core"), "--workdir",
                         root + "/w"})
                        .exitCode == 0);
        const QStringList before = snapshot(root);

        const Run result = run({"generate", bigSet, "--workdir", root + "/w"}, {}, limit);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.errLineCount(), 1);
        QVERIFY2(result.err.contains(qt_error_string(EFBIG).toUtf8()), result.err.constData());
        QStringList after = snapshot(root);
        if (!earlierFiles) // the work folder itself is the caller's, and may stay
            after.removeAll("w dir");
        QCOMPARE(after, before);
    }

    // ---- messages ----------------------------------------------------------------------------

    void headlessConfigureIsQuiet_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("batch") << "--batch";
        QTest::newRow("snapshot") << "--snapshot";
    }

    void headlessConfigureIsQuiet()
    {
        QFETCH(QString, mode);
        QStringList arguments{"configure", "--device", "TQ2-S1", mode};
        if (mode == "--snapshot")
            arguments << m_dir->filePath("shots");
        else
            arguments << "--output" << m_dir->filePath("p.json");
        const Run result =
            run(arguments, {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=", "DISPLAY="});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY2(!result.err.contains("XDG_RUNTIME_DIR") &&
                     !result.err.contains("propagateSizeHints"),
                 result.err.constData());
    }

private:
    // A copy of the built plug-in with a stand-in for the vendor's core source, which the
    // synthesis step only has to find.
    QString pluginsWithSources()
    {
        const QString dir = m_plugins.path();
        if (QFileInfo::exists(dir + "/libjesd204b.so"))
            return dir;
        QDir(dir).mkdir("data");
        for (const QString file : {"libjesd204b.so", "jesd204b.ipspec", "data/jesd204b_top.v"})
            QFile::copy(TestPaths::pluginDir() + "/" + file, dir + "/" + file);
        put(dir + "/data/jesd204b_core_encryption.v", "module stand_in; endmodule\n");
        return dir;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QTemporaryDir m_plugins;
};

QTEST_GUILESS_MAIN(WriteSafetyTest)
#include "tst_writesafety.moc"
