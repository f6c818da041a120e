// Opening the configuration dialog on an eight-lane stored core (construction, initDialog and
// the restore) against building the same four forms in a bare QDialog. The difference is what
// the dialog adds: the base dialog, choice lists, validators, wiring and the slots that the
// restore sets off. The run ends with the ratio of the two medians.
#include "dialog/jesd204bdlg.h"
#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include "benchsupport.h"
#include <QApplication>
#include <QDialog>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

using BenchSupport::eightLaneSet;
using BenchSupport::TwoQuadDevice;

const QMap<QString, QVariant> &ipInfo()
{
    static const QMap<QString, QVariant> info{
        {QStringLiteral("ipcore.id"), QStringLiteral("jesd204b")},
        {QStringLiteral("ipcore.name"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.label"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.target"), QStringLiteral("jesd204b_0")},
        {QStringLiteral("ipcore.module"), QStringLiteral("jesd204b_0")},
    };
    return info;
}

void openStoredDialog(benchmark::State &state)
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    model->setDevice(Core::IdeCore::deviceDataBase()->findDevice(TwoQuadDevice));
    const QMap<QString, QVariant> stored = eightLaneSet();
    for (auto _ : state) {
        QMap<QString, QVariant> parameters;
        IPJESD204B::jesd204bdlg dialog(ipInfo(), &parameters, nullptr);
        if (!dialog.setOpening(stored))
            state.SkipWithError("the stored set was refused");
        benchmark::DoNotOptimize(dialog.usedLanes());
    }
}

void bareForms(benchmark::State &state)
{
    for (auto _ : state) {
        QDialog dialog;
        IPJESD204B::Ui::core_config core;
        IPJESD204B::Ui::phy_config phy;
        IPJESD204B::Ui::afe_config afe;
        IPJESD204B::Ui::opt_config opt;
        core.setupUi(new QWidget(&dialog));
        phy.setupUi(new QWidget(&dialog));
        afe.setupUi(new QWidget(&dialog));
        opt.setupUi(new QWidget(&dialog));
        benchmark::DoNotOptimize(phy.Lane7Connect);
    }
}

BENCHMARK(openStoredDialog)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(bareForms)->Unit(benchmark::kMillisecond)->Repetitions(7);

// Prints as usual and keeps each benchmark's median for the closing ratio.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The Calculate button is not pressed here; the project directory only has to exist.
    QTemporaryDir project;
    Core::IdeCore::setProjectDirectory(project.path());

    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto dialog = reporter.medians.find("openStoredDialog");
    const auto bare = reporter.medians.find("bareForms");
    if (dialog != reporter.medians.end() && bare != reporter.medians.end() && bare->second > 0)
        std::printf("dialog / bare forms (medians): %.2f ms / %.2f ms = %.2fx\n", dialog->second,
                    bare->second, dialog->second / bare->second);
    return 0;
}
