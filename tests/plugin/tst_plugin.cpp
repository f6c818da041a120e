#include "testpaths.h"

#include "protocol/jesd204b.h"

#include <baseprotocol.h>
#include <devicedb.h>
#include <protocolpackage.h>

#include <QByteArray>
#include <QCborStreamWriter>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
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

class ObjectCounter
{
public:
    ObjectCounter()
    {
        createdObjects = destroyedObjects = 0;
        qtHookData[AddQObjectHook] = reinterpret_cast<quintptr>(&added);
        qtHookData[RemoveQObjectHook] = reinterpret_cast<quintptr>(&removed);
    }
    ~ObjectCounter()
    {
        qtHookData[AddQObjectHook] = 0;
        qtHookData[RemoveQObjectHook] = 0;
    }
    ObjectCounter(const ObjectCounter &) = delete;
    ObjectCounter &operator=(const ObjectCounter &) = delete;

private:
    static void added(QObject *) { ++createdObjects; }
    static void removed(QObject *) { ++destroyedObjects; }
};

using InstanceFunction = QObject *(*)();
using MetadataFunction = const char *(*)();

const char ValidDescription[] =
    R"({"ipcore": {"id": "jesd204b", "name": "JESD204B", "version": "1.0",
    "category": ["Interfaces"], "doc": {"summary": "link core"},
    "device": {"supported": ["TQ2-S1"], "unsupported": []}}})";

} // namespace

class PluginTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void metadataBlock();
    void metacast_data();
    void metacast();
    void singleInstanceUntilDeleted();
    void protocolsRefuseIncompleteDescriptions_data();
    void protocolsRefuseIncompleteDescriptions();
    void protocolsGiveFreshLoadedObjects();
    void loadOverwritesDataDirectory();
    void identityAccessors_data();
    void identityAccessors();
    void isSupportedPassesListsInHostOrder_data();
    void isSupportedPassesListsInHostOrder();

private:
    IPSERDESIP::ProtocolPackage *package();
    QString makeCoreDir(const QByteArray &description);

    QLibrary m_library;
    std::unique_ptr<QTemporaryDir> m_tmp;
    int m_dirCount = 0;
};

void PluginTest::initTestCase()
{
    m_library.setFileName(TestPaths::pluginDir() + QStringLiteral("/libjesd204b.so"));
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
}

IPSERDESIP::ProtocolPackage *PluginTest::package()
{
    auto instance = reinterpret_cast<InstanceFunction>(m_library.resolve("qt_plugin_instance"));
    return instance ? qobject_cast<IPSERDESIP::ProtocolPackage *>(instance()) : nullptr;
}

QString PluginTest::makeCoreDir(const QByteArray &description)
{
    const QString dir = m_tmp->filePath(QString::number(++m_dirCount));
    if (!QDir().mkpath(dir))
        return {};
    if (!description.isNull()) {
        QFile file(dir + QStringLiteral("/jesd204b.ipspec"));
        if (!file.open(QIODevice::WriteOnly) || file.write(description) != description.size())
            return {};
    }
    return dir;
}

void PluginTest::metadataBlock()
{
#ifndef QT_NO_DEBUG
    QSKIP("the architecture byte is only 0 in a release build");
#endif
    QByteArray expected("QTMETADATA !");
    expected.append(char(0));  // format version
    expected.append(char(5));  // Qt major
    expected.append(char(15)); // Qt minor
    expected.append(char(0));  // release, no processor features
    QByteArray body;
    QCborStreamWriter cbor(&body);
    cbor.startMap(); // indefinite length
    cbor.append(quint64(2));
    cbor.append(QLatin1String("IPJESD204B.jesd204bpackage/1.0"));
    cbor.append(quint64(3));
    cbor.append(QLatin1String("jesd204bpackage"));
    cbor.endMap();
    QCOMPARE(body.size(), 52);
    expected += body;
    QCOMPARE(expected.size(), 68);

    auto metadata =
        reinterpret_cast<MetadataFunction>(m_library.resolve("qt_plugin_query_metadata"));
    QVERIFY(metadata);
    const QByteArray actual(metadata(), expected.size());
    QCOMPARE(actual.toHex(' '), expected.toHex(' '));
}

void PluginTest::metacast_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("answersObject");

    QTest::newRow("null") << QByteArray() << false;
    QTest::newRow("class name") << QByteArray("IPJESD204B::jesd204bpackage") << true;
    QTest::newRow("interface id") << QByteArray("com.mirelan.plugins.ProtocolPackage/1.0") << true;
    QTest::newRow("base class") << QByteArray("IPSERDESIP::ProtocolPackage") << true;
    QTest::newRow("QObject") << QByteArray("QObject") << true;
    QTest::newRow("plug-in iid is no interface")
        << QByteArray("IPJESD204B.jesd204bpackage/1.0") << false;
    QTest::newRow("unknown") << QByteArray("IPJESD204B::jesd204b") << false;
}

void PluginTest::metacast()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, answersObject);

    IPSERDESIP::ProtocolPackage *pkg = package();
    QVERIFY(pkg);
    void *result = pkg->qt_metacast(name.isNull() ? nullptr : name.constData());
    QCOMPARE(result, answersObject ? static_cast<void *>(pkg) : nullptr);
    QCOMPARE(pkg->metaObject()->className(), "IPJESD204B::jesd204bpackage");
    QCOMPARE(pkg->metaObject()->superClass(), &IPSERDESIP::ProtocolPackage::staticMetaObject);
}

void PluginTest::singleInstanceUntilDeleted()
{
    auto instance = reinterpret_cast<InstanceFunction>(m_library.resolve("qt_plugin_instance"));
    QVERIFY(instance);
    QPointer<QObject> first = instance();
    QVERIFY(first);
    QCOMPARE(instance(), first.data());
    QCOMPARE(first->parent(), nullptr);

    delete first.data();
    QVERIFY(first.isNull());
    QPointer<QObject> second = instance();
    QVERIFY(second);
    QVERIFY(qobject_cast<IPSERDESIP::ProtocolPackage *>(second.data()));
    QCOMPARE(instance(), second.data());
}

void PluginTest::protocolsRefuseIncompleteDescriptions_data()
{
    QTest::addColumn<QByteArray>("description");

    QTest::newRow("no description file") << QByteArray();
    QTest::newRow("malformed") << QByteArray(R"({"ipcore": {"id": "jesd204b", )");
    QTest::newRow("no version") << QByteArray(
        R"({"ipcore": {"id": "jesd204b", "name": "JESD204B"}})");
    QTest::newRow("empty id") << QByteArray(
        R"({"ipcore": {"id": "", "name": "JESD204B", "version": "1.0"}})");
}

void PluginTest::protocolsRefuseIncompleteDescriptions()
{
    QFETCH(QByteArray, description);

    IPSERDESIP::ProtocolPackage *pkg = package();
    QVERIFY(pkg);
    const QString dir = makeCoreDir(description);
    QVERIFY(!dir.isEmpty());
    pkg->setDirectory(dir);

    QList<IPSERDESIP::BaseProtocol *> offered;
    {
        const ObjectCounter counter;
        offered = pkg->protocols();
    }
    QVERIFY(offered.isEmpty());
    QVERIFY2(createdObjects > 0, "the package made no protocol at all");
    QCOMPARE(destroyedObjects, createdObjects);
}

void PluginTest::protocolsGiveFreshLoadedObjects()
{
    IPSERDESIP::ProtocolPackage *pkg = package();
    QVERIFY(pkg);
    const QString dir = makeCoreDir(ValidDescription);
    pkg->setDirectory(dir);

    QList<IPSERDESIP::BaseProtocol *> first;
    {
        const ObjectCounter counter;
        first = pkg->protocols();
        QCOMPARE(first.size(), 1);
        QCOMPARE(createdObjects - destroyedObjects, 1); // only the protocol handed out
    }
    std::unique_ptr<IPSERDESIP::BaseProtocol> a(first.value(0));
    const QList<IPSERDESIP::BaseProtocol *> second = pkg->protocols();
    QCOMPARE(second.size(), 1);
    std::unique_ptr<IPSERDESIP::BaseProtocol> b(second.first());

    QVERIFY(a.get() != b.get());
    for (const auto *protocol : {a.get(), b.get()}) {
        QCOMPARE(protocol->id(), QStringLiteral("jesd204b"));
        QCOMPARE(protocol->name(), QStringLiteral("JESD204B"));
        QCOMPARE(protocol->parent(), nullptr);
    }
    // The package holds no reference: deleting one leaves the other intact.
    a.reset();
    QCOMPARE(b->version(), QStringLiteral("1.0"));
}

void PluginTest::loadOverwritesDataDirectory()
{
    const QString dir = makeCoreDir(R"({"ipcore": {"id": "jesd204b", "name": "JESD204B",
        "version": "1.0", "dir": {"data": "/somewhere/else"}}})");
    IPJESD204B::jesd204b protocol(dir);
    QVERIFY(protocol.load());
    QCOMPARE(protocol.ipInfo().value("ipcore.dir.data").toString(), dir + "/data");

    // A refused description keeps what was read and gains no data directory.
    const QString noName = makeCoreDir(R"({"ipcore": {"id": "jesd204b", "version": "1.0"}})");
    IPJESD204B::jesd204b refused(noName);
    QVERIFY(!refused.load());
    QCOMPARE(refused.ipInfo().value("ipcore.id").toString(), QStringLiteral("jesd204b"));
    QVERIFY(!refused.ipInfo().contains("ipcore.dir.data"));
}

void PluginTest::identityAccessors_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QStringList>("category");
    QTest::addColumn<QString>("summary");

    QTest::newRow("every key") << QByteArray(R"({"ipcore": {"id": "core-id", "name": "Core Name",
        "version": "2.3", "category": ["One", "Two"], "doc": {"summary": "What it is"}}})")
                               << QStringList{"One", "Two"} << "What it is";
    QTest::newRow("identity only") << QByteArray(R"({"ipcore": {"id": "core-id",
        "name": "Core Name", "version": "2.3"}})")
                                   << QStringList() << QString();
}

void PluginTest::identityAccessors()
{
    QFETCH(QByteArray, description);
    QFETCH(QStringList, category);
    QFETCH(QString, summary);

    IPJESD204B::jesd204b protocol(makeCoreDir(description));
    QVERIFY(protocol.load());
    QCOMPARE(protocol.id(), QStringLiteral("core-id"));
    QCOMPARE(protocol.name(), QStringLiteral("Core Name"));
    QCOMPARE(protocol.version(), QStringLiteral("2.3"));
    QCOMPARE(protocol.category(), category);
    QCOMPARE(protocol.summary(), summary);
    QVERIFY(protocol.parameters().isEmpty());
    QVERIFY(protocol.device().isNull());
    // No supported list admits every device; a null device is still refused.
    QVERIFY(protocol.isSupported(DEV::DeviceArg("ANY-PART", "ANY", 2)));
    QVERIFY(!protocol.isSupported(DEV::DeviceArg()));
}

void PluginTest::isSupportedPassesListsInHostOrder_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("supported");

    QTest::newRow("in supported list") << "TQ2-S1" << true;
    QTest::newRow("in unsupported list") << "TQ2-S2" << false;
    QTest::newRow("in neither") << "TQ3-H8" << false;
}

void PluginTest::isSupportedPassesListsInHostOrder()
{
    QFETCH(QString, device);
    QFETCH(bool, supported);

    const QString dir = makeCoreDir(R"({"ipcore": {"id": "jesd204b", "name": "JESD204B",
        "version": "1.0", "device": {"supported": ["TQ2-S1"], "unsupported": ["TQ2-S2"]}}})");
    IPJESD204B::jesd204b protocol(dir);
    QVERIFY(protocol.load());
    QCOMPARE(protocol.isSupported(DEV::DeviceArg(device + "-PART", device, 1)), supported);
}

QTEST_MAIN(PluginTest)
#include "tst_plugin.moc"
