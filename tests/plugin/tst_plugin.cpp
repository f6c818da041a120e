#include "testfiles.h"

#include "jesd204b.h"
#include "pluginloader.h"

#include <protocolpackage.h>
#include <services/packagestatus.h>
#include <services/parametercheck.h>

#include <QtTest>

#include <memory>

class PluginTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_library.setFileName(TestPaths::pluginDir() + QStringLiteral("/libjesd204b.so"));
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        m_instance =
            reinterpret_cast<decltype(m_instance)>(m_library.resolve("qt_plugin_instance"));
        QVERIFY(m_instance && package());
    }

    void singleInstanceUntilDeleted()
    {
        QPointer<QObject> first = m_instance();
        QVERIFY(first && !first->parent());
        QCOMPARE(m_instance(), first.data());
        delete first.data();
        QVERIFY(first.isNull() && qobject_cast<IPSERDESIP::ProtocolPackage *>(m_instance()));
    }

    void protocols_data()
    {
        QTest::addColumn<QByteArray>("ipspec"); // the description file's content; null: no file
        QTest::addColumn<int>("offered");
        QTest::addColumn<QString>("reason"); // the package's, "<file>" for its description
        // clang-format off
        QTest::newRow("no description file") << QByteArray() << 0 << "<file>: no such file";
        QTest::newRow("no version") << QByteArray(R"({"ipcore": {"id": "jesd204b", "name": "J"}})") << 0 << "<file>: the description file needs \"ipcore.id\", \"ipcore.name\" and \"ipcore.version\" as filled texts";
        QTest::newRow("complete; its own data directory gives way to the package's") << QByteArray(R"({"ipcore": {"id": "jesd204b", "name": "JESD204B", "version": "1.0", "dir": {"data": "/somewhere/else"}}})") << 1 << "";
        // clang-format on
    }

    // Each call hands out a fresh protocol that the caller owns, or says why it offers none.
    // The protocol is a plain BaseProtocol to the meta-object system.
    void protocols()
    {
        QFETCH(QByteArray, ipspec);
        QFETCH(int, offered);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        if (!ipspec.isNull())
            TestFiles::put(dir.filePath("jesd204b.ipspec"), ipspec);
        package()->setDirectory(dir.path());
        const QList<IPSERDESIP::BaseProtocol *> first = package()->protocols();
        QCOMPARE(first.size(), offered);
        QCOMPARE(IPSERDESIP::unavailableReasonOf(package()),
                 reason.replace("<file>", dir.filePath("jesd204b.ipspec")));
        if (offered == 0)
            return;
        const QList<IPSERDESIP::BaseProtocol *> second = package()->protocols();
        std::unique_ptr<IPSERDESIP::BaseProtocol> a(first.first()), b(second.value(0));
        QVERIFY(b && a.get() != b.get() && !a->parent() && !b->parent());
        a.reset(); // the package holds no reference: the other one stays intact
        const auto *loaded = dynamic_cast<IPJESD204B::jesd204b *>(b.get());
        QVERIFY(loaded && loaded->parameters().isEmpty() && loaded->version() == "1.0");
        QCOMPARE(loaded->metaObject(), &IPSERDESIP::BaseProtocol::staticMetaObject);
        const IPSERDESIP::ParameterCheck *judge = IPSERDESIP::parameterCheckOf(loaded);
        QVERIFY(judge && !qobject_cast<IPSERDESIP::ParameterCheck *>(b.get()));
        QVERIFY(!judge
                     ->parameterProblem({{"version", "1.0"}, {"Line_Rate", "99"}}, {},
                                        IPSERDESIP::ParameterCheck::Rules::All)
                     .isEmpty());
        QCOMPARE(loaded->ipInfo().value("ipcore.dir.data").toString(), dir.path() + "/data");
    }

    void loader_data()
    {
        QTest::addColumn<QStringList>("files");   // "name=fixture" copies a fixture plug-in
        QTest::addColumn<QStringList>("records"); // "file state IID class: error" per library
        QTest::addColumn<int>("cores");
        const QString fixture = "org.ipcorehost.tests.FixturePackage FixturePackage";
        // clang-format off
        QTest::newRow("a Qt plug-in that is no package") << QStringList{"libobject.so=fixture_object"} << QStringList{"libobject.so NotPackage org.ipcorehost.tests.FixtureObject FixtureObject: not a protocol package (org.ipcorehost.tests.FixtureObject)"} << 0;
        QTest::newRow("the JESD204B core, then a package with its id") << QStringList{"libjesd204b.so", "libtwin.so=fixture_twin"} << QStringList{"libjesd204b.so Offering IPJESD204B.jesd204bpackage/1.0 jesd204bpackage: ", "libtwin.so Duplicate " + fixture + ": ignored, the jesd204b core is already offered by an earlier plug-in"} << 1;
        QTest::newRow("a package that says why it offers nothing") << QStringList{"libreason.so=fixture_reason"} << QStringList{"libreason.so OffersNothing " + fixture + ": no converter table in <dir>"} << 0;
        // clang-format on
    }

    // What the loader records per library, the metadata's interface id and class name read
    // before the library is instantiated.
    void loader()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, records);
        QTemporaryDir work;
        const QString dir =
            files.contains("libjesd204b.so") ? TestFiles::pluginCopy(work.path()) : work.path();
        for (const QString &file : files) {
            const QString name = file.section('=', 0, 0), fixture = file.section('=', 1);
            if (!fixture.isEmpty())
                QVERIFY(QFile::copy(JESD_FIXTURE_DIR "/lib" + fixture + ".so", dir + '/' + name));
        }
        const HostProgram::PluginSet set = HostProgram::loadPlugins(dir);
        const char *states[] = {"NotPlugin", "NotPackage", "Offering", "OffersNothing",
                                "Duplicate"};
        QStringList seen;
        for (const HostProgram::PluginSet::Library &library : set.libraries())
            seen << QString("%1 %2 %3 %4: %5")
                        .arg(QFileInfo(library.file).fileName(),
                             states[static_cast<int>(library.state)], library.iid,
                             library.className, library.error);
        QCOMPARE(seen, records.replaceInStrings("<dir>", dir));
        QTEST(int(set.protocols().size()), "cores");
    }

private:
    IPSERDESIP::ProtocolPackage *package()
    {
        return qobject_cast<IPSERDESIP::ProtocolPackage *>(m_instance());
    }

    QLibrary m_library;
    QObject *(*m_instance)() = nullptr;
};

QTEST_MAIN(PluginTest)
#include "tst_plugin.moc"
