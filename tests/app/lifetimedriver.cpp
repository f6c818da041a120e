// Runs one of the lifetime rounds many times, for valgrind and for a quick look at the heap:
//   lifetime_driver plugin|dialog|forms [ROUNDS]
// plugin: the plug-in library loaded, its protocol generating the eight-lane set and reporting
// its resources, everything it handed over deleted and the library unloaded; dialog: the dialog
// opened on the stored set (bench/dialogworkload.h); forms: the dialog's forms in a bare
// QDialog, the baseline of a dialog round.
#include "dialogworkload.h"

#include <baseprotocol.h>
#include <protocolpackage.h>
#include <services/message.h>

#include <QApplication>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QTextStream>

#include <malloc.h>

#include <memory>

// Under valgrind the rounds after the first are what counts: memcheck compares its books, and
// callgrind profiles the steady state (both requests are no-ops otherwise).
#if __has_include(<valgrind/memcheck.h>) && __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#include <valgrind/memcheck.h>
#define JESD_AFTER_FIRST_ROUND()                                                                   \
    do {                                                                                           \
        VALGRIND_DO_LEAK_CHECK;                                                                    \
        CALLGRIND_ZERO_STATS;                                                                      \
    } while (false)
#define JESD_AFTER_LAST_ROUND() VALGRIND_DO_ADDED_LEAK_CHECK
#else
#define JESD_AFTER_FIRST_ROUND()
#define JESD_AFTER_LAST_ROUND()
#endif

namespace {

// Empty on success, otherwise what went wrong.
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
        QStringList ini, reserved, moduleOptions;
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

// Bytes the C heap has handed out and not taken back.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    bool ok = true;
    const int rounds = args.size() > 2 ? args.at(2).toInt(&ok) : 100;
    if (!QStringList{"plugin", "dialog", "forms"}.contains(mode) || !ok || rounds < 1) {
        err << "usage: lifetime_driver plugin|dialog|forms [ROUNDS]\n";
        return 2;
    }

    QTemporaryDir work;
    Core::IdeCore::setProjectDirectory(work.path());
    const IPSERDESIP::ParameterMap set = DialogWorkload::eightLaneSet();
    const QString plugin = QStringLiteral(JESD_PLUGIN_DIR "/libjesd204b.so");
    const auto round = [&]() -> QString {
        if (mode == QLatin1String("plugin"))
            return pluginRound(plugin, set, work.path());
        if (mode == QLatin1String("forms")) {
            DialogWorkload::buildBareForms();
            return QString();
        }
        if (IPSERDESIP::serdes::instance()->device().isNull())
            DialogWorkload::useTwoQuadDevice();
        return DialogWorkload::openStored(set) ? QString() : QStringLiteral("stored set refused");
    };

    // The first round pays for Qt's one-time set-up; the heap is compared after it.
    std::size_t before = 0;
    for (int i = 0; i < rounds; ++i) {
        const QString problem = round();
        if (!problem.isEmpty()) {
            err << "round " << i + 1 << ": " << problem << '\n';
            return 1;
        }
        if (i == 0) {
            before = heapInUse();
            JESD_AFTER_FIRST_ROUND();
        }
    }
    JESD_AFTER_LAST_ROUND();
    const std::size_t after = heapInUse();
    err << mode << ": " << rounds << " rounds";
    if (before > 0) // zero under valgrind, whose allocator keeps its own books
        err << ", heap in use after the first " << before << " bytes, after the last " << after
            << " bytes";
    err << '\n';
    return 0;
}
