// STUB: host services
#include "devicedb.h"
#include "idecore.h"
#include "ipcore.h"
#include "protocolgendlg.h"
#include "serdesfunctions.h"

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

namespace IPSERDESIP {
bool waitForRunSyntheSis(const DEV::DeviceArg &, const QMap<QString, QVariant> &,
                         const QMap<QString, QVariant> &, const QStringList &, const QString &,
                         QString &, QObject *)
{
    return false;
}
int FromLaneToInt(const QStringList &) { return 0; }
QString FromRefOptionToRef(const QString &) { return {}; }
QString refsrcOptTransforSerdesName(const QString &) { return {}; }
QString FromPllToStringOption(const QString &) { return {}; }

struct protocolGenDlg::Private
{
};
protocolGenDlg::protocolGenDlg(QWidget *parent) : QDialog(parent) {}
protocolGenDlg::~protocolGenDlg() = default;
void protocolGenDlg::initDialog() {}
bool protocolGenDlg::loadParameters(const QMap<QString, QVariant> &) { return true; }
void protocolGenDlg::setDevice(const QMap<QString, QVariant> &) {}
void protocolGenDlg::setCreating(const QString &, const DEV::DeviceArg &) {}
bool protocolGenDlg::setOpening(const QMap<QString, QVariant> &) { return false; }
void protocolGenDlg::uiSetLabelText(const QString &) {}
void protocolGenDlg::uiSetModuleName(const QString &) {}
void protocolGenDlg::uiSetDefaultFileName(const QString &) {}
void protocolGenDlg::uiAddTab(QWidget *, const QString &) {}
void protocolGenDlg::uiSetFigurePins(const QList<Utils::PinFigure> &) {}
void protocolGenDlg::uiSetSynthesisTool(const QString &) {}
void protocolGenDlg::uiSetLanguageIndex(int) {}
QString protocolGenDlg::uiSynthesisTool() const { return {}; }
int protocolGenDlg::uiLanguageIndex() const { return 0; }
QString protocolGenDlg::moduleName() const { return {}; }
QString protocolGenDlg::fileName() const { return {}; }
QString protocolGenDlg::createPath() const { return {}; }
void protocolGenDlg::fileNameConnectCreatIn() {}
QStringList protocolGenDlg::checkFileOptions() const { return {}; }
bool protocolGenDlg::checkFileExisting() { return false; }
bool protocolGenDlg::checkModuleName() { return false; }
void protocolGenDlg::showErrorMsg(const QStringList &) {}
QString protocolGenDlg::labelText() const { return {}; }
} // namespace IPSERDESIP
