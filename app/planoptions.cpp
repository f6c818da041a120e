#include "planoptions.h"

#include <QCommandLineParser>

namespace HostProgram {

namespace {

using IPJESD204B::LinkMode;

struct IntOption
{
    const char *name;
    const char *description;
    int LinkMode::*field; // null for the optional ones handled apart
};

const QList<IntOption> &requiredIntegers()
{
    static const QList<IntOption> options{
        {"m", "Converters (M).", &LinkMode::converters},
        {"l", "Lanes (L).", &LinkMode::lanes},
        {"s", "Samples per converter per frame (S).", &LinkMode::samples},
        {"np", "Bits per sample (N').", &LinkMode::bitsPerSample},
    };
    return options;
}

const QList<IntOption> &optionalIntegers()
{
    static const QList<IntOption> options{
        {"n", "Converter resolution (N); N' - CS when not given.", &LinkMode::resolution},
        {"cs", "Control bits per sample (CS), default 0.", &LinkMode::controlBits},
        {"cf", "Control words per frame (CF), default 0.", &LinkMode::controlWords},
        {"subclass", "Device subclass (SUBCLASSV), default 1.", &LinkMode::subclass},
        {"did", "Device identity (DID), default 0.", &LinkMode::deviceId},
        {"bid", "Bank identity (BID), default 0.", &LinkMode::bankId},
    };
    return options;
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
        for (const IntOption &option : requiredIntegers() + optionalIntegers())
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
            {QStringLiteral("device"),
             QStringLiteral("Device (part-number id or name) whose "
                            "reference clocks and PLLs are listed."),
             QStringLiteral("ID")},
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
             QStringLiteral("A SYSREF frequency to check against the LMFC."),
             QStringLiteral("MHZ")},
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
        return true;
    }

private:
    bool integer(const char *name, int *value)
    {
        const QString text = m_command.parser().value(QString::fromLatin1(name));
        bool ok = false;
        *value = text.toInt(&ok, 10);
        if (!ok)
            m_error = QStringLiteral("--%1 takes a whole number, not '%2'").arg(name, text);
        return ok;
    }

    bool readMode(LinkMode *mode)
    {
        QCommandLineParser &parser = m_command.parser();
        for (const char *name : {"fs", "m", "l", "s", "np"}) {
            if (!parser.isSet(QString::fromLatin1(name))) {
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
        for (const IntOption &option : requiredIntegers()) {
            if (!integer(option.name, &(mode->*option.field)))
                return false;
        }
        mode->resolution = -1;
        for (const IntOption &option : optionalIntegers()) {
            if (parser.isSet(QString::fromLatin1(option.name)) &&
                !integer(option.name, &(mode->*option.field)))
                return false;
        }
        if (mode->resolution < 0)
            mode->resolution = mode->bitsPerSample - mode->controlBits;
        return readOptionalInt("hd", &mode->highDensity) &&
               readOptionalInt("k", &mode->framesPerMultiframe);
    }

    bool readOptionalInt(const char *name, std::optional<int> *value)
    {
        if (!m_command.parser().isSet(QString::fromLatin1(name)))
            return true;
        int number = 0;
        if (!integer(name, &number))
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
