#include "messageboxwatcher.h"
#include "testfiles.h"

#include <devicedb.h>
#include <idecore.h>
#include <ipcore.h>
#include <serdes.h>
#include <services/inputfile.h>

#include <QWidget>
#include <QtTest>

#include <memory>

// The reference host's description files, IP core checks, files, devices and IDE services.
class HostServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Failures go nowhere rather than into boxes, but for the test of the host's own sink.
        Core::MessageSink::setHandler([](const QString &, const QString &, QWidget *) {});
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup() { Core::MessageSink::setHandler(nullptr); }

    void descriptionFile_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: a folder in its place
        QTest::addColumn<IPSERDESIP::ParameterMap>("expected");
        QTest::addColumn<bool>("accepted"); // by the common-information check
        QTest::addColumn<QString>("error"); // its first words, after "<path>: "
        // clang-format off
        QTest::newRow("complete") << QByteArray(R"({"ipcore": {"id": "j", "name": "J", "version": "1"}})") << IPSERDESIP::ParameterMap{{"ipcore.id", "j"}, {"ipcore.name", "J"}, {"ipcore.version", "1"}} << true << "";
        QTest::newRow("id blank") << QByteArray(R"({"ipcore": {"id": " ", "name": "J", "version": "1"}})") << IPSERDESIP::ParameterMap{{"ipcore.id", " "}, {"ipcore.name", "J"}, {"ipcore.version", "1"}} << false << "";
        QTest::newRow("name a number, null dropped") << QByteArray(R"({"ipcore": {"id": "j", "name": 1, "version": "1", "x": null}})") << IPSERDESIP::ParameterMap{{"ipcore.id", "j"}, {"ipcore.name", qlonglong(1)}, {"ipcore.version", "1"}} << false << "";
        QTest::newRow("nested objects flatten") << QByteArray(R"({"ipcore": {"doc": {"summary": "s"}}})") << IPSERDESIP::ParameterMap{{"ipcore.doc.summary", "s"}} << false << "";
        QTest::newRow("string arrays become lists") << QByteArray(R"({"ipcore": {"category": ["A", "B"], "device": {"unsupported": []}}})") << IPSERDESIP::ParameterMap{{"ipcore.category", QStringList{"A", "B"}}, {"ipcore.device.unsupported", QStringList()}} << false << "";
        QTest::newRow("a folder, through the bounded reader") << QByteArray() << IPSERDESIP::ParameterMap() << false << "is a directory, not";
        QTest::newRow("malformed") << QByteArray(R"({"ipcore": {"id": "x",}})") << IPSERDESIP::ParameterMap() << false << "invalid JSON at offset";
        // clang-format on
    }

    void descriptionFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(IPSERDESIP::ParameterMap, expected);
        const QString path = content.isNull()
                                 ? m_dir->filePath("core.ipspec")
                                 : TestFiles::put(m_dir->filePath("core.ipspec"), content);
        QVERIFY(!content.isNull() || QDir().mkdir(path));
        QString error;
        const IPSERDESIP::ParameterMap info = IPCore::processIPInfoSpec(path, &error);
        QCOMPARE(info, expected);
        QTEST(error.mid(path.size() + 2).section(QLatin1Char(' '), 0, 3), "error");
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(info.value(it.key()).userType(), it.value().userType());
        QTEST(IPCore::checkCommonInfo(info), "accepted");
    }

    // Every input the host reads is bounded and of a plain file before a byte is read.
    void inputFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // empty: read
        // clang-format off
        QTest::newRow("missing") << "missing" << "no such file";
        QTest::newRow("empty name") << "" << "not a usable file name";
        QTest::newRow("directory") << "dir" << "is a directory, not a file";
        QTest::newRow("16 MiB + 1") << "large" << "16777217 bytes is over the limit of 16777216 bytes (16 MiB) for an input file";
        QTest::newRow("16 MiB") << "limit" << "";
        // clang-format on
    }

    void inputFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString path = kind.isEmpty() ? QString() : m_dir->filePath(kind);
        if (kind == "dir")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "large" || kind == "limit")
            QVERIFY(QFile(TestFiles::put(m_dir->filePath(kind), "x"))
                        .resize(IPSERDESIP::MaxInputFileBytes + (kind == "large")));
        QByteArray contents;
        QString error;
        QCOMPARE(IPSERDESIP::readInputFile(path, &contents, &error), reason.isEmpty());
        QCOMPARE(error, reason);
        QCOMPARE(contents.size(), reason.isEmpty() ? IPSERDESIP::MaxInputFileBytes : 0);
    }

    void isSupported_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("unsupported");
        QTest::addColumn<QStringList>("supported");
        QTest::addColumn<bool>("expected");
        const QStringList none, s1{"TQ2-S1"};
        // clang-format off
        QTest::newRow("empty lists admit all") << "TQ2-S1" << none << none << true;
        QTest::newRow("listed as supported") << "TQ2-S1" << none << s1 << true;
        QTest::newRow("not in supported list") << "TQ2-S2" << none << s1 << false;
        QTest::newRow("unsupported wins") << "TQ2-S1" << s1 << s1 << false;
        QTest::newRow("other device unsupported") << "TQ2-S2" << s1 << none << true;
        QTest::newRow("null device") << QString() << none << none << false;
        // clang-format on
    }

    void isSupported()
    {
        QFETCH(QString, device);
        QFETCH(QStringList, unsupported);
        QFETCH(QStringList, supported);
        const DEV::DeviceArg arg =
            device.isEmpty() ? DEV::DeviceArg() : DEV::DeviceArg(device + "-ID", device, 1);
        QTEST(IPCore::isSupported(arg, unsupported, supported), "expected");
    }

    void deviceDatabase()
    {
        const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
        // Every device of groups A and B is there, by name and by its own id, with one quad.
        for (const char *name : {"TQ2-M1", "TQ2-M1E", "TQ2-S1", "TQ2-S1R", "TQ2-S2R", "TQ2-S2",
                                 "TQ2-S1N", "TQ2-S1NR"}) {
            const DEV::DeviceArg byName = db->findDeviceByName(name);
            QVERIFY2(!byName.isNull() && byName.quadCount() == 1 && byName.id() != name, name);
            QCOMPARE(db->findDevice(byName.id()), byName);
        }
        QVERIFY(db->findDevice("NO-SUCH-PART").isNull() && db->findDeviceByName("tq2-s1").isNull());
    }

    void dialogParentAndMessageBox()
    {
        // The host's own sink shows failures in a box on the dialog parent, titled by the core.
        Core::MessageSink::setHandler(nullptr);
        auto window = std::make_unique<QWidget>();
        Core::ViewManager::setDialogParent(window.get());
        QCOMPARE(Core::ViewManager::dialogParent(), window.get());
        MessageBoxWatcher watcher;
        const QString blocker = TestFiles::put(m_dir->filePath("plain.txt"), "x");
        QVERIFY(!IPCore::makeDirs(blocker + "/sub", "JESD204B"));
        QCOMPARE(watcher.lines(),
                 QStringList{"JESD204B: Cannot create the directory " + blocker + "/sub"});
        window.reset();
        QCOMPARE(Core::ViewManager::dialogParent(), nullptr);
    }

    // Unset, the line enables the reset (the example files show it); a design can turn it off.
    void globalResetEnableLine()
    {
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->setData("GLOBAL_RESET_ENABLE", false);
        QStringList options{"q0_enable true"};
        model->setGlobalResetEnableParam(options);
        model->reset();
        QCOMPARE(options, (QStringList{"q0_enable true", "global_reset_enable false"}));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir; // fresh for every test
};

QTEST_MAIN(HostServicesTest)
#include "tst_hostservices.moc"
