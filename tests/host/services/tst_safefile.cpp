#include <idecore.h>
#include <ipcore.h>
#include <services/safefile.h>

#include <QtTest>

#include <cerrno>
#include <memory>
#include <optional>

#include "testfiles.h"
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using HostFiles::Target;

using TestFiles::put, TestFiles::tree;

namespace {

// The system calls with one of them failing: the n-th call of `which` sets errno and fails.
class FaultyOps : public HostFiles::FileOps
{
public:
    enum Call { Write, Sync, Rename };
    // error 0: the process dies there instead, as a killed run does.
    FaultyOps(Call which, int nth, int error) : m_which(which), m_nth(nth), m_error(error) {}

    long write(int fd, const char *data, unsigned long size) const override
    {
        // The first call writes half: the writer must come back for the rest before the
        // failing call, or it commits a cut file.
        if (m_which == Write && size > 1 && !m_halved) {
            m_halved = true;
            return FileOps::write(fd, data, size / 2);
        }
        return hit(Write) ? -1 : FileOps::write(fd, data, size);
    }
    int sync(int fd) const override { return hit(Sync) ? -1 : FileOps::sync(fd); }
    int rename(int fromDirFd, const char *from, int toDirFd, const char *to) const override
    {
        return hit(Rename) ? -1 : FileOps::rename(fromDirFd, from, toDirFd, to);
    }

private:
    bool hit(Call call) const
    {
        if (call != m_which || ++m_count < m_nth)
            return false;
        if (m_error == 0)
            ::_exit(9);
        errno = m_error;
        return true;
    }
    Call m_which;
    int m_nth;
    int m_error;
    mutable int m_count = 0;
    mutable bool m_halved = false;
};

} // namespace

// The host's one file writer: links, folders it must not leave, failures at every
// step of the write, batches that commit together or not at all, and the encodings of generateFile.
class SafeFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        reports.clear();
        Core::MessageSink::setHandler([](const QString &title, const QString &text, QWidget *) {
            reports << title + ": " + text;
        });
    }

    void cleanup() { Core::MessageSink::setHandler(nullptr); }

    void refusesWhatIsNoPlainFile_data()
    {
        QTest::addColumn<QString>("plant"); // what stands where the writer goes
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("link to a file") << "file-link" << "is a symbolic link";
        QTest::newRow("dangling link") << "dangling" << "is a symbolic link";
        QTest::newRow("folder on the way is a link") << "out-link" << "out is a symbolic link";
        QTest::newRow("device node") << "device" << "is not a regular file";
        QTest::newRow("a folder") << "folder" << "is a folder";
        // clang-format on
    }

    void refusesWhatIsNoPlainFile()
    {
        QFETCH(QString, plant);
        QFETCH(QString, reason);
        const QString work = m_dir->filePath("work");
        const QString elsewhere = m_dir->filePath("elsewhere");
        QVERIFY(QDir().mkpath(work + "/out") && QDir().mkpath(elsewhere + "/sub"));
        put(elsewhere + "/victim", "keep me\n");
        const QString at = work + "/out/f.txt";
        bool planted = true;
        if (plant == "file-link")
            planted = QFile::link(elsewhere + "/victim", at);
        else if (plant == "dangling")
            planted = QFile::link(elsewhere + "/not-yet", at);
        else if (plant == "out-link")
            planted = QDir(work + "/out").removeRecursively() &&
                      QFile::link(elsewhere + "/sub", work + "/out");
        else if (plant == "folder")
            planted = QDir().mkpath(at);
        else if (plant == "device" &&
                 ::mknod(QFile::encodeName(at).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("a device node needs root");
        QVERIFY(planted);
        const QStringList before = tree(m_dir->path(), true); // the victim's content too

        QString error;
        QVERIFY(!HostFiles::writeFile(Target{work, "out/f.txt"}, "new\n", &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(tree(m_dir->path(), true), before);
    }

    void staysInsideItsFolder_data()
    {
        QTest::addColumn<QString>("path"); // relative to the working folder's parent
        QTest::addColumn<bool>("inside");
        QTest::newRow("below") << "work/a/b.vh" << true;
        QTest::newRow("dot-dot inside") << "work/a/../b.vh" << true;
        QTest::newRow("the folder itself") << "work" << false;
        QTest::newRow("sibling") << "work/../x.vh" << false;
        QTest::newRow("name that starts like it") << "work2/x.vh" << false;
    }

    void staysInsideItsFolder()
    {
        QFETCH(QString, path);
        QFETCH(bool, inside);
        const QString work = m_dir->filePath("work");
        Target target;
        QString error;
        QCOMPARE(HostFiles::targetBelow(work, m_dir->filePath(path), &target, &error), inside);
        if (!inside)
            QVERIFY2(error.contains("outside " + work), qPrintable(error));
        else
            QCOMPARE(target.path(), QDir::cleanPath(m_dir->filePath(path)));
    }

    void lateFailure_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("error");
        QTest::newRow("final flush") << int(FaultyOps::Sync) << 1 << EIO;
        QTest::newRow("write after half") << int(FaultyOps::Write) << 2 << ENOSPC;
        QTest::newRow("first rename") << int(FaultyOps::Rename) << 1 << EIO;
        QTest::newRow("second rename, first rolled back") << int(FaultyOps::Rename) << 2 << EIO;
    }

    // The earlier file survives however late the failure comes, with the system's reason.
    void lateFailure()
    {
        QFETCH(int, call);
        QFETCH(int, nth);
        QFETCH(int, error);
        const QString kept = m_dir->filePath("kept.vh");   // had an earlier version
        const QString fresh = m_dir->filePath("fresh.vh"); // did not exist
        put(kept, "earlier\n");
        const QStringList before = tree(m_dir->path());
        const FaultyOps ops(FaultyOps::Call(call), nth, error);
        QString reason;
        bool ok = false;
        {
            HostFiles::WriteBatch batch(ops);
            ok = batch.stage(Target{m_dir->path(), "kept.vh"}, "later and longer\n", &reason) &&
                 batch.stage(Target{m_dir->path(), "fresh.vh"}, "new\n", &reason) &&
                 batch.commit(&reason);
        }
        QVERIFY(!ok);
        QVERIFY2(reason.endsWith(qt_error_string(error)), qPrintable(reason));
        QVERIFY(!reason.contains("Unknown error"));
        QCOMPARE(TestFiles::bytes(kept), QByteArray("earlier\n"));
        QVERIFY(!QFileInfo::exists(fresh));
        QCOMPARE(tree(m_dir->path()), before);
    }

    // A run killed at any step of its commit: the next run that takes the lock finds every
    // file from one run, and no scratch of the dead one (its staging folder included).
    void killedCommit_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<int>("nth");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<bool>("generation"); // staged in a private folder, else beside
        QTest::newRow("while staging") << int(FaultyOps::Write) << 2 << false << true;
        QTest::newRow("at the flush") << int(FaultyOps::Sync) << 3 << false << true;
        QTest::newRow("first rename") << int(FaultyOps::Rename) << 1 << true << true;
        QTest::newRow("second rename") << int(FaultyOps::Rename) << 2 << true << true;
        QTest::newRow("third rename") << int(FaultyOps::Rename) << 3 << true << true;
        QTest::newRow("second rename, beside") << int(FaultyOps::Rename) << 2 << true << false;
    }
    void killedCommit()
    {
        QFETCH(int, call);
        QFETCH(int, nth);
        QFETCH(bool, committed);
        QFETCH(bool, generation);
        const QString work = m_dir->path();
        const QStringList names{"a.vh", "b.vh", "c.ini"};
        for (const QString &name : names)
            put(work + '/' + name, "old " + name.toUtf8() + '\n');
        const QString lock = HostFiles::folderLockPath(work);
        const pid_t child = ::fork();
        if (child == 0) {
            const FaultyOps ops(FaultyOps::Call(call), nth, 0);
            HostFiles::WriteBatch batch(ops);
            std::optional<HostFiles::GenerationScope> scope;
            if (generation)
                scope.emplace(batch, work);
            QString error;
            bool ok = batch.lock(lock, 1000, &error);
            for (const QString &name : names)
                ok = ok &&
                     (generation
                          ? HostFiles::writeGenerated(work + '/' + name,
                                                      "new " + name.toUtf8() + '\n', &error)
                          : batch.stage(Target{work, name}, "new " + name.toUtf8() + '\n', &error));
            ::_exit(ok && batch.commit(&error) ? 0 : 1);
        }
        int status = 0;
        QVERIFY(::waitpid(child, &status, 0) == child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 9);
        {
            HostFiles::WriteBatch next;
            QString error;
            QVERIFY2(next.lock(lock, 1000, &error), qPrintable(error));
        }
        for (const QString &name : names)
            QCOMPARE(TestFiles::bytes(work + '/' + name),
                     QByteArray(committed ? "new " : "old ") + name.toUtf8() + '\n');
        QCOMPARE(tree(work), names);
    }

    void batchCommitsTogether()
    {
        const QString work = m_dir->filePath("work");
        {
            HostFiles::WriteBatch batch;
            QString error;
            QVERIFY(batch.makeFolders(Target{work, "a/b"}, &error));
            QVERIFY(batch.stage(Target{work, "a/b/x"}, "x\n", &error));
            QByteArray staged;
            QVERIFY(batch.staged(work + "/a/./b/x", &staged) && staged == "x\n");
            QVERIFY(!QFileInfo::exists(work + "/a/b/x")); // not before the commit
        }
        // Never committed: the folders the batch made go with it.
        QCOMPARE(tree(work), QStringList());

        HostFiles::WriteBatch batch;
        QString error;
        QVERIFY(batch.makeFolders(Target{work, "a"}, &error));
        QVERIFY(batch.stage(Target{work, "a/x"}, "x\n", &error) &&
                batch.stage(Target{work, "a/y"}, "y\n", &error) && batch.commit(&error));
        QCOMPARE(TestFiles::bytes(work + "/a/x") + TestFiles::bytes(work + "/a/y"),
                 QByteArray("x\ny\n"));
        QCOMPARE(tree(work), (QStringList{"a", "a/x", "a/y"}));
    }

    void lockIsExclusive()
    {
        const QString lock = HostFiles::folderLockPath(m_dir->path());
        HostFiles::WriteBatch first;
        HostFiles::WriteBatch second;
        QString error;
        QVERIFY(first.lock(lock, 0, &error) && first.lock(lock, 0, &error));
        QVERIFY(!second.lock(lock, 200, &error));
        QVERIFY2(error.contains("another run is writing"), qPrintable(error));
    }

    // What holds a lock's name when no run holds it: a name no run makes is refused at once
    // and named; a lock file no live run holds is taken over.
    void lockKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal"); // empty: taken over
        // clang-format off
        QTest::newRow("dangling link") << "link" << "is a symbolic link";
        QTest::newRow("folder") << "folder" << "is a folder";
        QTest::newRow("garbage") << "garbage" << "";
        QTest::newRow("empty, its run killed before it wrote it") << "empty" << "";
        QTest::newRow("stale regular file") << "stale" << "";
        // clang-format on
    }
    void lockKinds()
    {
        QFETCH(QString, kind);
        QFETCH(QString, refusal);
        const QString lock = HostFiles::folderLockPath(m_dir->path());
        QFile file(lock);
        if (kind == "link")
            QVERIFY(QFile::link(m_dir->filePath("gone"), lock));
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(lock));
        else if (kind == "garbage")
            put(lock, "not a lock\n");
        else if (kind == "empty")
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                                     QFileDevice::FileModificationTime));
        else if (const pid_t child = ::fork(); child == 0) // a run that dies holding it
            ::_exit(QLockFile(lock).lock() ? 0 : 1);
        else
            QVERIFY(::waitpid(child, nullptr, 0) == child && QFileInfo(lock).isFile());
        file.close();
        HostFiles::WriteBatch batch;
        QString error;
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(batch.lock(lock, 5000, &error) == refusal.isEmpty(), qPrintable(error));
        QVERIFY(clock.elapsed() < 2000);
        if (!refusal.isEmpty())
            QVERIFY2(error.contains(refusal) && error.contains(lock) && !error.contains('\n'),
                     qPrintable(error));
    }

    // A scratch folder goes where a folder can be made, never to "/", and leaves nothing.
    void scratchFolder_data()
    {
        QTest::addColumn<QString>("tmpdir"); // below the test's folder
        QTest::addColumn<QString>("parent"); // where the folder is made; "" below the test's
        // clang-format off
        QTest::newRow("TMPDIR a folder") << "t" << "";
        QTest::newRow("TMPDIR missing") << "missing" << "/tmp";
        QTest::newRow("TMPDIR a file") << "file" << "/tmp";
        // clang-format on
    }
    void scratchFolder()
    {
        QFETCH(QString, tmpdir);
        QFETCH(QString, parent);
        QVERIFY(QDir().mkdir(m_dir->filePath("t")));
        put(m_dir->filePath("file"), "x");
        const QByteArray earlier = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_dir->filePath(tmpdir)));
        QString made;
        {
            const HostFiles::ScratchFolder scratch;
            made = scratch.path();
            put(scratch.filePath("x"), "x");
        }
        qputenv("TMPDIR", earlier);
        QCOMPARE(QFileInfo(made).path(), parent.isEmpty() ? m_dir->filePath(tmpdir) : parent);
        QVERIFY(!QFileInfo::exists(made));
    }

    void encodings_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QByteArray>("expected");
        const bool little = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
        // clang-format off
        // "a±" and an empty line: U+0061 U+00B1, each line ended by U+000A.
        QTest::newRow("default UTF-8") << QString() << QByteArray("a\xc2\xb1\n\n");
        QTest::newRow("UTF-16, one byte-order mark") << "UTF-16" << (little ? QByteArray("\xff\xfe" "a\0\xb1\0\n\0\n\0", 10) : QByteArray("\xfe\xff" "\0a\0\xb1\0\n\0\n", 10));
        QTest::newRow("UTF-16LE, no mark") << "UTF-16LE" << QByteArray("a\0\xb1\0\n\0\n\0", 8);
        QTest::newRow("single byte") << "ISO-8859-1" << QByteArray("a\xb1\n\n");
        QTest::newRow("unknown, earlier file kept") << "no-such-encoding" << QByteArray("earlier\n");
        // clang-format on
    }

    void encodings()
    {
        QFETCH(QString, codec);
        QFETCH(QByteArray, expected);
        const QString path = m_dir->filePath("out.txt");
        put(path, "earlier\n");
        const bool known = expected != "earlier\n";
        QCOMPARE(IPCore::generateFile(path, {QStringLiteral("a\u00b1"), QString()}, nullptr, codec),
                 known);
        QCOMPARE(TestFiles::bytes(path), expected);
        QCOMPARE(reports, known ? QStringList()
                                : QStringList{"Error: Cannot write " + path +
                                              ": unknown encoding \"no-such-encoding\""});
    }

    // Under a generation scope the core's writes stay below the working folder and are staged.
    void generationScope()
    {
        const QString work = m_dir->filePath("work");
        HostFiles::WriteBatch batch;
        {
            const HostFiles::GenerationScope scope(batch, work);
            QVERIFY(!IPCore::makeDirs(work + "/../escape", "Core"));
            QVERIFY(!IPCore::generateFile(work + "/../x.vh", {"x"}, nullptr, {}));
            QVERIFY(IPCore::makeDirs(work + "/c/temp", "Core"));
            QVERIFY(IPCore::generateFile(work + "/c/temp/x.vh", {"x"}, nullptr, {}));
            // Staged in a private folder: nothing but the lock beside the target yet.
            QCOMPARE(QDir(work + "/c/temp").entryList(QDir::Files | QDir::Hidden),
                     QStringList{".ipcore-host.lock"});
        }
        QCOMPARE(reports.size(), 2);
        QVERIFY2(reports.at(0).contains("outside " + work), qPrintable(reports.at(0)));
        QVERIFY(!QFileInfo::exists(m_dir->filePath("escape")) &&
                !QFileInfo::exists(m_dir->filePath("x.vh")));
        QString error;
        QVERIFY(batch.commit(&error));
        QCOMPARE(TestFiles::bytes(work + "/c/temp/x.vh"), QByteArray("x\n"));
        QCOMPARE(tree(work + "/c/temp"), (QStringList{".ipcore-host.lock", "x.vh"}));
    }

private:
    static inline QStringList reports; // what the sink received, "title: text"
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(SafeFileTest)
#include "tst_safefile.moc"
