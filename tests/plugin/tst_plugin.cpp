#include "testfiles.h"

#include "jesd204b.h"

#include <parametercheck.h>
#include <protocolpackage.h>

#include <QPluginLoader>
#include <QtTest>

#include <memory>

// Qt's object-lifetime hooks (the ones debugging tools use) let the test count every QObject
// created and destroyed while the package works, including objects it never hands out.
QT_BEGIN_NAMESPACE
extern Q_CORE_EXPORT quintptr qtHookData[];
QT_END_NAMESPACE

namespace {

enum HookIndex { AddQObjectHook = 3, RemoveQObjectHook = 4 };
int createdObjects = 0, destroyedObjects = 0;

template <typename Work> void countObjects(Work work)
{
    createdObjects = destroyedObjects = 0;
    qtHookData[AddQObjectHook] = reinterpret_cast<quintptr>(+[](QObject *) { ++createdObjects; });
    qtHookData[RemoveQObjectHook] =
        reinterpret_cast<quintptr>(+[](QObject *) { ++destroyedObjects; });
    work();
    qtHookData[AddQObjectHook] = qtHookData[RemoveQObjectHook] = 0;
}

} // namespace

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

    // What a host reads before it loads the library: the interface id and the class name.
    void metadata()
    {
        const QJsonObject meta = QPluginLoader(m_library.fileName()).metaData();
        QCOMPARE(meta.value("IID").toString(), QString("IPJESD204B.jesd204bpackage/1.0"));
        QCOMPARE(meta.value("className").toString(), QString("jesd204bpackage"));
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
        // clang-format off
        QTest::newRow("no description file") << QByteArray() << 0;
        QTest::newRow("no version") << QByteArray(R"({"ipcore": {"id": "jesd204b", "name": "J"}})") << 0;
        QTest::newRow("complete; its own data directory gives way to the package's") << QByteArray(R"({"ipcore": {"id": "jesd204b", "name": "JESD204B", "version": "1.0", "dir": {"data": "/somewhere/else"}}})") << 1;
        // clang-format on
    }

    // Only the protocol handed out, with the value rules it carries, outlives the call; each
    // call hands out a fresh one. The protocol is a plain BaseProtocol to the meta-object system.
    void protocols()
    {
        QFETCH(QByteArray, ipspec);
        QFETCH(int, offered);
        QTemporaryDir dir;
        if (!ipspec.isNull())
            TestFiles::put(dir.filePath("jesd204b.ipspec"), ipspec);
        package()->setDirectory(dir.path());
        QList<IPSERDESIP::BaseProtocol *> first;
        countObjects([&] { first = package()->protocols(); });
        QVERIFY2(createdObjects > 0, "the package made no protocol at all");
        QVERIFY(createdObjects - destroyedObjects == 2 * offered && first.size() == offered);
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
