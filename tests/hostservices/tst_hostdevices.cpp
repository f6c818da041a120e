#include "hostservicestests.h"

#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QSet>
#include <QTest>
#include <QWidget>

#include <memory>

void HostServicesTest::deviceDatabaseGroups_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("quads");

    for (const char *name :
         {"TQ2-M1", "TQ2-M1E", "TQ2-S1", "TQ2-S1R", "TQ2-S2R", "TQ2-S2", "TQ2-S1N", "TQ2-S1NR"})
        QTest::newRow(name) << QString::fromLatin1(name) << 1;
}

void HostServicesTest::deviceDatabaseGroups()
{
    QFETCH(QString, device);
    QFETCH(int, quads);

    const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
    const DEV::DeviceArg byName = db->findDeviceByName(device);
    QVERIFY(!byName.isNull());
    QCOMPARE(byName.device(), device);
    QCOMPARE(byName.quadCount(), quads);
    QVERIFY(byName.id() != device);
    QCOMPARE(db->findDevice(byName.id()), byName);
}

void HostServicesTest::deviceDatabaseLookups()
{
    const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
    const QList<DEV::DeviceArg> devices = db->devices();

    QSet<QString> ids;
    int twoQuadDevices = 0;
    for (const DEV::DeviceArg &d : devices) {
        ids.insert(d.id());
        if (d.quadCount() == 2)
            ++twoQuadDevices;
    }
    QCOMPARE(ids.size(), devices.size());
    QVERIFY(twoQuadDevices >= 2);

    QVERIFY(db->findDevice("NO-SUCH-PART").isNull());
    QVERIFY(db->findDevice(QString()).isNull());
    QVERIFY(db->findDeviceByName("tq2-s1").isNull()); // names are exact

    // A descriptor copied or assigned stays equal to the database's.
    const DEV::DeviceArg first = devices.first();
    DEV::DeviceArg assigned;
    QVERIFY(assigned.isNull());
    assigned = first;
    QCOMPARE(DEV::DeviceArg(assigned), db->findDevice(first.id()));
}

void HostServicesTest::dialogParentIsGuarded()
{
    auto window = std::make_unique<QWidget>();
    Core::ViewManager::setDialogParent(window.get());
    QCOMPARE(Core::ViewManager::dialogParent(), window.get());
    window.reset();
    QCOMPARE(Core::ViewManager::dialogParent(), nullptr);
}

void HostServicesTest::globalResetEnableLine_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("line");

    QTest::newRow("not set") << QVariant() << "global_reset_enable true";
    QTest::newRow("false") << QVariant(false) << "global_reset_enable false";
    QTest::newRow("true") << QVariant(true) << "global_reset_enable true";
    QTest::newRow("text false") << QVariant(QStringLiteral("false")) << "global_reset_enable false";
}

void HostServicesTest::globalResetEnableLine()
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
    model->reset();
}
