#include "testfiles.h"

#include "jesd204b.h"

#include <parametercheck.h>
#include <protocolpackage.h>

#include <QCborStreamWriter>
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

    // The block is what the host reads before it loads anything: it must be byte-exact.
    void metadataBlock()
    {
#ifndef QT_NO_DEBUG
        QSKIP("the architecture byte is only 0 in a release build");
#endif
        // Magic, format version 0, Qt 5.15, release without processor features, CBOR body.
        QByteArray expected("QTMETADATA !");
        expected.append(char(0)).append(char(5)).append(char(15)).append(char(0));
        QByteArray body;
        QCborStreamWriter cbor(&body);
        cbor.startMap(); // indefinite length
        cbor.append(quint64(2));
        cbor.append(QLatin1String("IPJESD204B.jesd204bpackage/1.0"));
        cbor.append(quint64(3));
        cbor.append(QLatin1String("jesd204bpackage"));
        cbor.endMap();
        expected += body;
        QCOMPARE(expected.size(), 68);

        const auto metadata =
            reinterpret_cast<const char *(*)()>(m_library.resolve("qt_plugin_query_metadata"));
        QVERIFY(metadata);
        QCOMPARE(QByteArray(metadata(), expected.size()).toHex(' '), expected.toHex(' '));
    }

    void metacast_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("answersObject");
        QTest::newRow("null") << QByteArray() << false;
        QTest::newRow("class name") << QByteArray("IPJESD204B::jesd204bpackage") << true;
        QTest::newRow("interface") << QByteArray("com.mirelan.plugins.ProtocolPackage/1.0") << true;
        QTest::newRow("base class") << QByteArray("IPSERDESIP::ProtocolPackage") << true;
        QTest::newRow("plug-in iid") << QByteArray("IPJESD204B.jesd204bpackage/1.0") << false;
    }

    void metacast()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, answersObject);
        IPSERDESIP::ProtocolPackage *pkg = package();
        QCOMPARE(pkg->qt_metacast(name.isNull() ? nullptr : name.constData()),
                 answersObject ? static_cast<void *>(pkg) : nullptr);
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
