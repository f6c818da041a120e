#include "planoptions.h"

#include <linklatency.h>

#include <QCommandLineParser>

namespace HostProgram {

namespace {

using IPJESD204B::LinkMode;

// The options a plan cannot do without; the rest of the mode has its defaults.
const QStringList &requiredOptions()
{
    static const QStringList names{QStringLiteral("fs"), QStringLiteral("m"), QStringLiteral("l"),
                                   QStringLiteral("s"), QStringLiteral("np")};
    return names;
}

class PlanParser
{
public:
    explicit PlanParser(CommandLine &command) : m_command(command) {}

    bool parse(const QStringList &arguments, PlanRequest *request, int *exitCode)
    {
        QCommandLineParser &parser = m_command.parser();
        parser.addOption({QStringLiteral("fs"), QStringLiteral("Sample rate in MSPS (Fs)."),
                          QStringLiteral("MSPS")});
        for (const ModeOption &option : modeOptions())
            parser.addOption({QString::fromLatin1(option.name),
                              QString::fromLatin1(option.description), QStringLiteral("N")});
        parser.addOptions({
            {QStringLiteral("hd"),
             QStringLiteral("High density (HD), 0 or 1; derived when not "
                            "given."),
             QStringLiteral("0|1")},
            {QStringLiteral("k"),
             QStringLiteral("Frames per multiframe (K); the largest legal "
                            "K when not given."),
             QStringLiteral("K")},
            {QStringLiteral("scrambling"), QStringLiteral("Scrambling, default off."),
             QStringLiteral("on|off")},
            {QStringLiteral("mode"), QStringLiteral("Core direction, default both."),
             QStringLiteral("rx|tx|both")},
            deviceOption(QStringLiteral(" whose reference clocks and PLLs are listed.")),
            {QStringLiteral("design"),
             QStringLiteral("Design whose other cores hold lanes, PLLs "
                            "and reference clocks."),
             QStringLiteral("FILE")},
            {QStringLiteral("emit-set"),
             QStringLiteral("Write the planned core's parameter set "
                            "(with the best clocking) to FILE."),
             QStringLiteral("FILE")},
            {QStringLiteral("json"), QStringLiteral("Print the plan as one JSON object.")},
            {QStringLiteral("sysref"),
             QStringLiteral("A SYSREF frequency to check against the LMFC (and the "
                            "design's links)."),
             QStringLiteral("MHZ")},
            {QStringLiteral("skew-budget"),
             QStringLiteral("Lane-to-lane skew plus delay variation the board and converter "
                            "may add: the release delays (RBD) that keep the latency "
                            "deterministic, and the latency."),
             QStringLiteral("NS")},
        });
        if (!m_command.parse(arguments, exitCode))
            return false;
        if (!readMode(&request->mode) || !readChoices(request)) {
            *exitCode = m_command.fail(BadUsage, m_error);
            return false;
        }
        request->device = parser.value(QStringLiteral("device"));
        request->designPath = parser.value(QStringLiteral("design"));
        request->emitPath = parser.value(QStringLiteral("emit-set"));
        request->json = parser.isSet(QStringLiteral("json"));
        if (parser.isSet(QStringLiteral("sysref"))) {
            request->sysrefMHz =
                IPJESD204B::sampleRateFromText(parser.value(QStringLiteral("sysref")));
            if (!request->sysrefMHz.isValid()) {
                *exitCode = m_command.fail(
                    BadUsage, QStringLiteral("--sysref takes a positive decimal number of MHz, "
                                             "not '%1'")
                                  .arg(parser.value(QStringLiteral("sysref"))));
                return false;
            }
        }
        return readSkewBudget(request, exitCode);
    }

private:
    bool readSkewBudget(PlanRequest *request, int *exitCode)
    {
        const QString name = QStringLiteral("skew-budget");
        if (!m_command.parser().isSet(name))
            return true;
        const QString text = m_command.parser().value(name);
        const Ratio budget = Ratio::fromDecimal(text);
        if (!budget.isValid() || Ratio::fromInt(IPJESD204B::MaxSkewBudgetNs) < budget) {
            *exitCode = m_command.fail(BadUsage, QStringLiteral("--skew-budget takes a decimal "
                                                                "number of ns from 0 to %1, not "
                                                                "'%2'")
                                                     .arg(IPJESD204B::MaxSkewBudgetNs)
                                                     .arg(text));
            return false;
        }
        request->skewBudgetNs = budget;
        return true;
    }

    bool readMode(LinkMode *mode)
    {
        QCommandLineParser &parser = m_command.parser();
        for (const QString &name : requiredOptions()) {
            if (!parser.isSet(name)) {
                m_error = QStringLiteral("--%1 is required (--fs, --m, --l, --s and --np give "
                                         "the converter's mode)")
                              .arg(name);
                return false;
            }
        }
        mode->sampleRateMsps = IPJESD204B::sampleRateFromText(parser.value(QStringLiteral("fs")));
        if (!mode->sampleRateMsps.isValid()) {
            m_error = QStringLiteral("--fs takes a positive decimal number of MSPS, not '%1'")
                          .arg(parser.value(QStringLiteral("fs")));
            return false;
        }
        mode->resolution = 0;
        for (const ModeOption &option : modeOptions()) {
            const QString name = QString::fromLatin1(option.name);
            if (parser.isSet(name) &&
                !readModeValue(option, parser.value(name), &(mode->*option.field), &m_error))
                return false;
        }
        if (mode->resolution == 0)
            mode->resolution = mode->bitsPerSample - mode->controlBits;
        return readOptionalInt("hd", 0, 1, &mode->highDensity) &&
               readOptionalInt("k", 1, 1024, &mode->framesPerMultiframe);
    }

    bool readOptionalInt(const char *name, int min, int max, std::optional<int> *value)
    {
        if (!m_command.parser().isSet(QString::fromLatin1(name)))
            return true;
        int number = 0;
        const ModeOption option{name, "", min, max, nullptr};
        if (!readModeValue(option, m_command.parser().value(QString::fromLatin1(name)), &number,
                           &m_error))
            return false;
        *value = number;
        return true;
    }

    bool readChoices(PlanRequest *request)
    {
        const QString scrambling = m_command.parser().value(QStringLiteral("scrambling"));
        if (!scrambling.isEmpty() && scrambling != QLatin1String("on") &&
            scrambling != QLatin1String("off")) {
            m_error = QStringLiteral("--scrambling takes on or off, not '%1'").arg(scrambling);
            return false;
        }
        request->mode.scrambling = scrambling == QLatin1String("on");
        const QString mode = m_command.parser().value(QStringLiteral("mode"));
        if (mode == QLatin1String("rx"))
            request->direction = CoreDirection::Receive;
        else if (mode == QLatin1String("tx"))
            request->direction = CoreDirection::Transmit;
        else if (mode.isEmpty() || mode == QLatin1String("both"))
            request->direction = CoreDirection::Both;
        else {
            m_error = QStringLiteral("--mode takes rx, tx or both, not '%1'").arg(mode);
            return false;
        }
        return true;
    }

    CommandLine &m_command;
    QString m_error;
};

} // namespace

bool parsePlanOptions(CommandLine &command, const QStringList &arguments, PlanRequest *request,
                      int *exitCode)
{
    return PlanParser(command).parse(arguments, request, exitCode);
}

} // namespace HostProgram
