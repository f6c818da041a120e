#include "testpaths.h"

#include "protocol/jesd204b.h"

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
int createdObjects = 0;
int destroyedObjects = 0;

template <typename Work> void countObjects(Work work)
{
    createdObjects = destroyedObjects = 0;
    qtHookData[AddQObjectHook] = reinterpret_cast<quintptr>(+[](QObject *) { ++createdObjects; });
    qtHookData[RemoveQObjectHook] =
        reinterpret_cast<quintptr>(+[](QObject *) { ++destroyedObjects; });
    work();
    qtHookData[AddQObjectHook] = qtHookData[RemoveQObjectHook] = 0;
}

using InstanceFunction = QObject *(*)();

} // namespace

class PluginTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_library.setFileName(TestPaths::pluginDir() + QStringLiteral("/libjesd204b.so"));
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        m_instance = reinterpret_cast<InstanceFunction>(m_library.resolve("qt_plugin_instance"));
        QVERIFY(m_instance && m_tmp.isValid() && package());
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
        // clang-format off
        QTest::newRow("null") << QByteArray() << false;
        QTest::newRow("class name") << QByteArray("IPJESD204B::jesd204bpackage") << true;
        QTest::newRow("interface id") << QByteArray("com.mirelan.plugins.ProtocolPackage/1.0") << true;
        QTest::newRow("base class") << QByteArray("IPSERDESIP::ProtocolPackage") << true;
        QTest::newRow("plug-in iid is no interface") << QByteArray("IPJESD204B.jesd204bpackage/1.0") << false;
        // clang-format on
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

    void protocolsRefuseIncompleteDescriptions_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::newRow("no description file") << QByteArray();
        QTest::newRow("no version") << QByteArray(R"({"ipcore": {"id": "jesd204b", "name": "J"}})");
    }

    void protocolsRefuseIncompleteDescriptions()
    {
        QFETCH(QByteArray, description);
        IPSERDESIP::ProtocolPackage *pkg = package();
        pkg->setDirectory(coreDir(description));
        QList<IPSERDESIP::BaseProtocol *> offered;
        countObjects([&] { offered = pkg->protocols(); });
        QVERIFY(offered.isEmpty());
        QVERIFY2(createdObjects > 0, "the package made no protocol at all");
        QCOMPARE(destroyedObjects, createdObjects);
    }

    void protocolsGiveFreshLoadedObjects()
    {
        IPSERDESIP::ProtocolPackage *pkg = package();
        const QString dir = coreDir(R"({"ipcore": {"id": "jesd204b", "name": "JESD204B",
            "version": "1.0", "dir": {"data": "/somewhere/else"}}})");
        pkg->setDirectory(dir);
        QList<IPSERDESIP::BaseProtocol *> first;
        countObjects([&] { first = pkg->protocols(); });
        QCOMPARE(createdObjects - destroyedObjects, 1); // only the protocol handed out
        const QList<IPSERDESIP::BaseProtocol *> second = pkg->protocols();
        QVERIFY(first.size() == 1 && second.size() == 1);
        std::unique_ptr<IPSERDESIP::BaseProtocol> a(first.first()), b(second.first());
        QVERIFY(a.get() != b.get() && !a->parent() && !b->parent());
        // The package holds no reference: deleting one leaves the other intact.
        a.reset();
        QCOMPARE(b->version(), QStringLiteral("1.0"));
        // The description's own data directory gives way to the package's.
        const auto *loaded = dynamic_cast<IPJESD204B::jesd204b *>(b.get());
        QVERIFY(loaded && loaded->parameters().isEmpty());
        QCOMPARE(loaded->ipInfo().value("ipcore.dir.data").toString(), dir + "/data");
    }

private:
    IPSERDESIP::ProtocolPackage *package()
    {
        return qobject_cast<IPSERDESIP::ProtocolPackage *>(m_instance());
    }

    // A fresh core directory; a null description leaves the description file out.
    QString coreDir(const QByteArray &description)
    {
        const QString dir = m_tmp.filePath(QString::number(++m_dirCount));
        QDir().mkpath(dir);
        QFile file(dir + QStringLiteral("/jesd204b.ipspec"));
        if (!description.isNull() && file.open(QIODevice::WriteOnly))
            file.write(description);
        return dir;
    }

    QLibrary m_library;
    InstanceFunction m_instance = nullptr;
    QTemporaryDir m_tmp;
    int m_dirCount = 0;
};

QTEST_MAIN(PluginTest)
#include "tst_plugin.moc"
