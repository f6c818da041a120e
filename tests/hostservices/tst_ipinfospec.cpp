#include "hostservicestests.h"

#include <devicedb.h>
#include <idecore.h>
#include <ipcore.h>

#include <QFile>
#include <QTest>

QStringList HostServicesTest::reports;

namespace {

void captureReport(const QString &title, const QString &text, QWidget *)
{
    HostServicesTest::reports << title + QStringLiteral(": ") + text;
}

} // namespace

void HostServicesTest::init()
{
    reports.clear();
    Core::MessageSink::setHandler(captureReport);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void HostServicesTest::cleanup()
{
    Core::MessageSink::setHandler(nullptr);
}

QString HostServicesTest::writeFile(const QString &name, const QByteArray &content) const
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return {};
    return path;
}

void HostServicesTest::processIPInfoSpec_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<IPCore::InfoMap>("expected");

    const IPCore::InfoMap empty;
    QTest::newRow("nested objects flatten")
        << QByteArray(R"({"ipcore": {"id": "x", "doc": {"summary": "s"}}})")
        << IPCore::InfoMap{{"ipcore.id", "x"}, {"ipcore.doc.summary", "s"}};
    QTest::newRow("string arrays become lists")
        << QByteArray(R"({"ipcore": {"category": ["A", "B"], "device": {"unsupported": []}}})")
        << IPCore::InfoMap{{"ipcore.category", QStringList{"A", "B"}},
                           {"ipcore.device.unsupported", QStringList()}};
    QTest::newRow("mixed arrays stay variant lists")
        << QByteArray(R"({"a": ["x", 1]})")
        << IPCore::InfoMap{{"a", QVariantList{QStringLiteral("x"), 1.0}}};
    QTest::newRow("scalars keep their type")
        << QByteArray(R"({"n": 4, "x": 2.5, "b": true, "s": "1.0", "gone": null})")
        << IPCore::InfoMap{{"n", qlonglong(4)}, {"x", 2.5}, {"b", true}, {"s", "1.0"}};
    QTest::newRow("malformed") << QByteArray(R"({"ipcore": {"id": "x",}})") << empty;
    QTest::newRow("truncated") << QByteArray(R"({"ipcore": {"id": "x")") << empty;
    QTest::newRow("top-level array") << QByteArray(R"([{"ipcore": {"id": "x"}}])") << empty;
    QTest::newRow("empty file") << QByteArray() << empty;
}

void HostServicesTest::processIPInfoSpec()
{
    QFETCH(QByteArray, content);
    QFETCH(IPCore::InfoMap, expected);

    const IPCore::InfoMap info = IPCore::processIPInfoSpec(writeFile("core.ipspec", content));
    QCOMPARE(info, expected);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(info.value(it.key()).userType(), it.value().userType());
}

void HostServicesTest::checkCommonInfo_data()
{
    QTest::addColumn<IPCore::InfoMap>("info");
    QTest::addColumn<bool>("accepted");

    const IPCore::InfoMap full{
        {"ipcore.id", "jesd"}, {"ipcore.name", "J"}, {"ipcore.version", "1"}};
    QTest::newRow("complete") << full << true;
    for (const char *key : {"ipcore.id", "ipcore.name", "ipcore.version"}) {
        IPCore::InfoMap missing = full;
        missing.remove(key);
        QTest::addRow("%s missing", key) << missing << false;
        IPCore::InfoMap blank = full;
        blank.insert(key, QStringLiteral("  "));
        QTest::addRow("%s blank", key) << blank << false;
        IPCore::InfoMap number = full;
        number.insert(key, 1.0);
        QTest::addRow("%s a number", key) << number << false;
    }
    QTest::newRow("empty map") << IPCore::InfoMap() << false;
}

void HostServicesTest::checkCommonInfo()
{
    QFETCH(IPCore::InfoMap, info);
    QFETCH(bool, accepted);
    QCOMPARE(IPCore::checkCommonInfo(info), accepted);
}

void HostServicesTest::isSupported_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QStringList>("unsupported");
    QTest::addColumn<QStringList>("supported");
    QTest::addColumn<bool>("expected");

    const QStringList none;
    QTest::newRow("empty lists admit all") << "TQ2-S1" << none << none << true;
    QTest::newRow("listed as supported") << "TQ2-S1" << none << QStringList{"TQ2-S1"} << true;
    QTest::newRow("not in supported list") << "TQ2-S2" << none << QStringList{"TQ2-S1"} << false;
    QTest::newRow("unsupported wins")
        << "TQ2-S1" << QStringList{"TQ2-S1"} << QStringList{"TQ2-S1"} << false;
    QTest::newRow("unsupported, empty supported")
        << "TQ2-S1" << QStringList{"TQ2-S1"} << none << false;
    QTest::newRow("other device unsupported") << "TQ2-S2" << QStringList{"TQ2-S1"} << none << true;
    QTest::newRow("case-sensitive") << "TQ2-S1" << none << QStringList{"tq2-s1"} << false;
    QTest::newRow("null device") << QString() << none << none << false;
}

void HostServicesTest::isSupported()
{
    QFETCH(QString, device);
    QFETCH(QStringList, unsupported);
    QFETCH(QStringList, supported);
    QFETCH(bool, expected);

    const DEV::DeviceArg arg =
        device.isEmpty() ? DEV::DeviceArg() : DEV::DeviceArg(device + "-ID", device, 1);
    QCOMPARE(IPCore::isSupported(arg, unsupported, supported), expected);
}
