#include "messageboxwatcher.h"

#include <devicedb.h>
#include <idecore.h>
#include <ipcore.h>
#include <serdes.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

// The reference host's description files, IP core checks, files, devices and IDE services.
class HostServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        reports.clear();
        Core::MessageSink::setHandler([](const QString &title, const QString &text, QWidget *) {
            reports << title + QStringLiteral(": ") + text;
        });
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup() { Core::MessageSink::setHandler(nullptr); }

    void descriptionFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<IPCore::InfoMap>("expected");
        QTest::addColumn<bool>("accepted"); // by the common-information check
        // clang-format off
        QTest::newRow("complete") << QByteArray(R"({"ipcore": {"id": "j", "name": "J", "version": "1"}})") << IPCore::InfoMap{{"ipcore.id", "j"}, {"ipcore.name", "J"}, {"ipcore.version", "1"}} << true;
        QTest::newRow("version missing") << QByteArray(R"({"ipcore": {"id": "j", "name": "J"}})") << IPCore::InfoMap{{"ipcore.id", "j"}, {"ipcore.name", "J"}} << false;
        QTest::newRow("id blank") << QByteArray(R"({"ipcore": {"id": " ", "name": "J", "version": "1"}})") << IPCore::InfoMap{{"ipcore.id", " "}, {"ipcore.name", "J"}, {"ipcore.version", "1"}} << false;
        QTest::newRow("name a number, null dropped") << QByteArray(R"({"ipcore": {"id": "j", "name": 1, "version": "1", "x": null}})") << IPCore::InfoMap{{"ipcore.id", "j"}, {"ipcore.name", qlonglong(1)}, {"ipcore.version", "1"}} << false;
        QTest::newRow("nested objects flatten") << QByteArray(R"({"ipcore": {"doc": {"summary": "s"}}})") << IPCore::InfoMap{{"ipcore.doc.summary", "s"}} << false;
        QTest::newRow("string arrays become lists") << QByteArray(R"({"ipcore": {"category": ["A", "B"], "device": {"unsupported": []}}})") << IPCore::InfoMap{{"ipcore.category", QStringList{"A", "B"}}, {"ipcore.device.unsupported", QStringList()}} << false;
        QTest::newRow("scalars keep their type") << QByteArray(R"({"n": 4, "b": true})") << IPCore::InfoMap{{"n", qlonglong(4)}, {"b", true}} << false;
        QTest::newRow("malformed") << QByteArray(R"({"ipcore": {"id": "x",}})") << IPCore::InfoMap() << false;
        QTest::newRow("top-level array") << QByteArray(R"([{"ipcore": {"id": "x"}}])") << IPCore::InfoMap() << false;
        // clang-format on
    }

    void descriptionFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(IPCore::InfoMap, expected);
        QFETCH(bool, accepted);
        const IPCore::InfoMap info = IPCore::processIPInfoSpec(writeFile("core.ipspec", content));
        QCOMPARE(info, expected);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(info.value(it.key()).userType(), it.value().userType());
        QCOMPARE(IPCore::checkCommonInfo(info), accepted);
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
        QFETCH(bool, expected);
        const DEV::DeviceArg arg =
            device.isEmpty() ? DEV::DeviceArg() : DEV::DeviceArg(device + "-ID", device, 1);
        QCOMPARE(IPCore::isSupported(arg, unsupported, supported), expected);
    }

    void makeDirs()
    {
        const QString nested = m_dir->filePath("a/b/temp/jesd204b");
        QVERIFY(IPCore::makeDirs(nested, "JESD204B") && QFileInfo(nested).isDir());
        QVERIFY(IPCore::makeDirs(nested, "JESD204B")); // already there
        QVERIFY(reports.isEmpty());
        const QString blocker = writeFile("plain.txt", "x");
        QVERIFY(!IPCore::makeDirs(blocker + "/sub", "JESD204B"));
        QCOMPARE(reports, QStringList{"JESD204B: Cannot create the directory " + blocker + "/sub"});
    }

    void generateFile_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("report"); // a failure; the old file stays
        // clang-format off
        QTest::newRow("each line terminated") << QStringList{"`define TX_EN", "", "q0_enable true"} << QString() << QByteArray("`define TX_EN\n\nq0_enable true\n") << QString();
        QTest::newRow("utf-8 by default") << QStringList{QStringLiteral("f = 122.88 MHz \u00b1 5%")} << QString() << QByteArray("f = 122.88 MHz \xc2\xb1 5%\n") << QString();
        QTest::newRow("named encoding") << QStringList{QStringLiteral("\u00b1")} << QStringLiteral("ISO-8859-1") << QByteArray("\xb1\n") << QString();
        QTest::newRow("unknown encoding") << QStringList{"x"} << QStringLiteral("no-such-encoding") << QByteArray() << "Error: Cannot write <path>: unknown encoding \"no-such-encoding\"";
        // clang-format on
    }

    void generateFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, encoding);
        QFETCH(QByteArray, expected);
        QFETCH(QString, report);
        const QByteArray previous("previous content that is longer\n");
        const QString path = writeFile("out.vh", previous);
        report.replace("<path>", path);
        QCOMPARE(IPCore::generateFile(path, lines, nullptr, encoding), report.isEmpty());
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), report.isEmpty() ? expected : previous);
        QCOMPARE(reports, report.isEmpty() ? QStringList() : QStringList{report});
        // Nothing of the atomic write stays behind.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"out.vh"});
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
        QVERIFY(db->findDevice("NO-SUCH-PART").isNull());
        QVERIFY(db->findDeviceByName("tq2-s1").isNull()); // names are exact
    }

    void dialogParentAndMessageBox()
    {
        // The host's own sink shows file failures in a box on the dialog parent.
        Core::MessageSink::setHandler(nullptr);
        auto window = std::make_unique<QWidget>();
        Core::ViewManager::setDialogParent(window.get());
        QCOMPARE(Core::ViewManager::dialogParent(), window.get());
        MessageBoxWatcher watcher;
        const QString path = m_dir->filePath("missing/out.vh");
        QVERIFY(!IPCore::generateFile(path, {"x"}, Core::ViewManager::dialogParent(), QString()));
        QCOMPARE(watcher.titles(), QStringList{"Error"});
        QVERIFY2(watcher.texts().first().startsWith("Cannot write " + path),
                 qPrintable(watcher.lines().join('\n')));
        window.reset();
        QCOMPARE(Core::ViewManager::dialogParent(), nullptr);
    }

    void globalResetEnableLine_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("line");
        QTest::newRow("not set") << QVariant() << "global_reset_enable true";
        QTest::newRow("false") << QVariant(false) << "global_reset_enable false";
    }

    void globalResetEnableLine()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, line);
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->reset();
        if (stored.isValid())
            model->setData("GLOBAL_RESET_ENABLE", stored);
        QStringList options{"q0_enable true"};
        model->setGlobalResetEnableParam(options);
        QCOMPARE(options, (QStringList{"q0_enable true", line}));
    }

private:
    static inline QStringList reports; // what the sink received, "title: text"

    QString writeFile(const QString &name, const QByteArray &content) const
    {
        QFile file(m_dir->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return {};
        return file.fileName();
    }

    std::unique_ptr<QTemporaryDir> m_dir; // fresh for every test
};

QTEST_MAIN(HostServicesTest)
#include "tst_hostservices.moc"
