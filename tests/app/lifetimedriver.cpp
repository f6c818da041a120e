// Runs one of the lifetime rounds many times, for valgrind and for a quick look at the heap:
//   lifetime_driver plugin|dialog|forms [ROUNDS]
// (forms: the dialog's forms in a bare QDialog, the baseline of a dialog round)
#include "lifetimecycles.h"

#include <idecore.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

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
    const QStringList modes{QStringLiteral("plugin"), QStringLiteral("dialog"),
                            QStringLiteral("forms")};
    if (!modes.contains(mode) || !ok || rounds < 1) {
        err << "usage: lifetime_driver plugin|dialog|forms [ROUNDS]\n";
        return 2;
    }

    QTemporaryDir work;
    Core::IdeCore::setProjectDirectory(work.path());
    const IPSERDESIP::ParameterMap set = Lifetime::eightLaneSet();
    const QString plugin = QStringLiteral(JESD_PLUGIN_DIR "/libjesd204b.so");
    const auto round = [&]() -> QString {
        if (mode == QLatin1String("plugin"))
            return Lifetime::pluginRound(plugin, set, work.path());
        if (mode == QLatin1String("forms")) {
            Lifetime::bareFormsRound();
            return QString();
        }
        return Lifetime::dialogRound(set) ? QString() : QStringLiteral("stored set refused");
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
            before = Lifetime::heapInUse();
            JESD_AFTER_FIRST_ROUND();
        }
    }
    JESD_AFTER_LAST_ROUND();
    const std::size_t after = Lifetime::heapInUse();
    err << mode << ": " << rounds << " rounds";
    if (before > 0) // zero under valgrind, whose allocator keeps its own books
        err << ", heap in use after the first " << before << " bytes, after the last " << after
            << " bytes";
    err << '\n';
    return 0;
}
