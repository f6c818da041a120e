#include "lifetimecycles.h"

#include "jesd204bdlg.h"
#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <baseprotocol.h>
#include <devicedb.h>
#include <idecore.h>
#include <message.h>
#include <protocolpackage.h>
#include <serdes.h>

#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPluginLoader>

#include <malloc.h>

#include <memory>

namespace Lifetime {

namespace {
const QString TwoQuadDevice = QStringLiteral("TQ2H4-FF676");
}

IPSERDESIP::ParameterMap eightLaneSet()
{
    QFile file(QStringLiteral(JESD_SOURCE_DIR "/examples/both_8lane.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    IPSERDESIP::ParameterMap set = QJsonDocument::fromJson(file.readAll()).object().toVariantMap();
    set.insert(QStringLiteral("target_device"), TwoQuadDevice);
    return set;
}

QString pluginRound(const QString &pluginFile, const IPSERDESIP::ParameterMap &params,
                    const QString &workDir)
{
    QPluginLoader loader(pluginFile);
    // QPluginLoader keeps its libraries loaded by default; without the hint unload() hands the
    // library back to the dynamic linker, as a host that unloads plug-ins would.
    loader.setLoadHints({});
    auto *package = qobject_cast<IPSERDESIP::ProtocolPackage *>(loader.instance());
    if (!package)
        return QStringLiteral("not a protocol package: ") + loader.errorString();
    package->setDirectory(pluginFile.left(pluginFile.lastIndexOf(QLatin1Char('/'))));
    QString problem;
    {
        const QList<IPSERDESIP::BaseProtocol *> offered = package->protocols();
        std::vector<std::unique_ptr<IPSERDESIP::BaseProtocol>> protocols(offered.begin(),
                                                                         offered.end());
        if (protocols.size() != 1)
            return QStringLiteral("%1 protocols offered").arg(protocols.size());
        IPSERDESIP::BaseProtocol &protocol = *protocols.front();
        IPSERDESIP::serdes::instance()->setWorkingDir(workDir);
        QStringList ini;
        QStringList reserved;
        QStringList moduleOptions;
        QString message;
        if (!protocol.generate(params, ini, reserved, moduleOptions, message, false))
            problem = QStringLiteral("generate failed");
        const std::unique_ptr<IPSERDESIP::Message> report(protocol.resources(params));
        if (!report || report->laneList.isEmpty())
            problem = QStringLiteral("no resource report");
    }
    // The host deletes the package's root object through the loader.
    if (!loader.unload())
        return QStringLiteral("unload failed: ") + loader.errorString();
    return problem;
}

bool dialogRound(const IPSERDESIP::ParameterMap &stored)
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    if (model->device().isNull())
        model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(TwoQuadDevice));
    const IPSERDESIP::ParameterMap ipInfo{
        {QStringLiteral("ipcore.id"), QStringLiteral("jesd204b")},
        {QStringLiteral("ipcore.name"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.version"), QStringLiteral("1.0")},
    };
    IPSERDESIP::ParameterMap parameters;
    IPJESD204B::jesd204bdlg dialog(ipInfo, &parameters, nullptr);
    return dialog.setOpening(stored);
}

void bareFormsRound()
{
    QDialog dialog;
    IPJESD204B::Ui::core_config core;
    IPJESD204B::Ui::phy_config phy;
    IPJESD204B::Ui::afe_config afe;
    IPJESD204B::Ui::opt_config opt;
    core.setupUi(new QWidget(&dialog));
    phy.setupUi(new QWidget(&dialog));
    afe.setupUi(new QWidget(&dialog));
    opt.setupUi(new QWidget(&dialog));
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace Lifetime
