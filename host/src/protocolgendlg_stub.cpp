// STUB: base dialog
#include "protocolgendlg.h"

namespace IPSERDESIP {
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
