// STUB: device database, IDE services and IP core services
#include "devicedb.h"
#include "idecore.h"
#include "ipcore.h"

namespace DEV {
DeviceDb::DeviceDb() {}
DeviceArg DeviceDb::findDevice(const QString &) const { return {}; }
DeviceArg DeviceDb::findDeviceByName(const QString &) const { return {}; }
} // namespace DEV

namespace Core {
DEV::DeviceDb *IdeCore::deviceDataBase()
{
    static DEV::DeviceDb db;
    return &db;
}
QString IdeCore::projectDirectory() { return {}; }
void IdeCore::setProjectDirectory(const QString &) {}
QWidget *ViewManager::dialogParent() { return nullptr; }
void ViewManager::setDialogParent(QWidget *) {}
void MessageSink::report(const QString &, const QString &, QWidget *) {}
void MessageSink::setHandler(Handler) {}
} // namespace Core

namespace IPCore {
InfoMap processIPInfoSpec(const QString &) { return {}; }
bool checkCommonInfo(const InfoMap &) { return false; }
bool isSupported(const DEV::DeviceArg &, const QStringList &, const QStringList &) { return false; }
bool makeDirs(const QString &, const QString &) { return false; }
bool generateFile(const QString &, const QStringList &, QWidget *, const QString &) { return false; }
} // namespace IPCore
