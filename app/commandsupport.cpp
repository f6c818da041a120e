#include "commandsupport.h"

#include <idecore.h>
#include <logging/hostlogging.h>
#include <services/safefile.h>

#include <QLoggingCategory>
#include <QTextStream>

#include <cerrno>
#include <cstdio>

namespace HostProgram {

CommandLine::CommandLine(const QString &command, const QString &description)
    : m_command(command), m_help(m_parser.addHelpOption()),
      m_pluginDir(QStringLiteral("plugin-dir"), QStringLiteral("Directory of the plug-ins."),
                  QStringLiteral("DIR"), defaultPluginDir()),
      m_verbose(QStringLiteral("verbose"),
                QStringLiteral("Report plug-in loading, SERDES model, solver and design file "
                               "steps on standard error."))
{
    m_parser.setApplicationDescription(description);
    m_parser.addOption(m_verbose);
}

QCommandLineOption deviceOption(const QString &use)
{
    return QCommandLineOption(QStringLiteral("device"),
                              QStringLiteral("Target device (part-number id or device name)") + use,
                              QStringLiteral("ID"));
}

void CommandLine::addPluginDirOption()
{
    m_parser.addOption(m_pluginDir);
}

bool CommandLine::parseWithParameterFile(const QStringList &arguments,
                                         IPSERDESIP::ParameterMap *params, int *exitCode)
{
    addPluginDirOption();
    m_takesParameterFile = true;
    m_parser.addPositionalArgument(QStringLiteral("PARAMS.json"),
                                   QStringLiteral("The parameter set."));
    if (!parse(arguments, exitCode))
        return false;
    QString error;
    errno = 0;
    if (readParameterFile(parameterFile(), params, &error, VersionCheck::Refuse))
        return true;
    // Out of descriptors or memory, or a failing disk: the machine failed, not the input.
    const int cause = errno;
    const bool machine = cause == EMFILE || cause == ENFILE || cause == ENOMEM || cause == EIO;
    *exitCode = fail(machine ? JobFailed : BadUsage, error);
    return false;
}

bool CommandLine::parse(const QStringList &arguments, int *exitCode)
{
    if (!m_parser.parse(arguments)) {
        *exitCode = fail(BadUsage, m_parser.errorText());
        return false;
    }
    // Rules from QT_LOGGING_RULES still take precedence over this one.
    if (m_parser.isSet(m_verbose))
        QLoggingCategory::setFilterRules(IPSERDESIP::Logging::verboseRule());
    if (m_parser.isSet(m_help)) {
        // The usage line names the command as it is typed, not the program's full path.
        QString help = m_parser.helpText();
        const int options = help.indexOf(QLatin1String(" [options]"));
        if (help.startsWith(QLatin1String("Usage: ")) && options > 0 &&
            options < help.indexOf(QLatin1Char('\n')))
            help.replace(0, options, QStringLiteral("Usage: ipcore-host ") + m_command);
        QTextStream(stdout) << help;
        *exitCode = Success;
        return false;
    }
    const QStringList positional = m_parser.positionalArguments();
    if (m_takesParameterFile && positional.size() != 1) {
        *exitCode = fail(
            BadUsage, QStringLiteral("expected one parameter file, got %1").arg(positional.size()));
        return false;
    }
    if (!m_takesParameterFile && !positional.isEmpty()) {
        *exitCode =
            fail(BadUsage, QStringLiteral("unexpected argument '%1'").arg(positional.first()));
        return false;
    }
    return true;
}

int CommandLine::fail(int code, const QString &message) const
{
    QTextStream(stderr) << "ipcore-host " << m_command << ": " << printable(message) << '\n';
    return code;
}

bool CommandLine::refuseOutputOverInput(const QString &output, const QStringList &inputs,
                                        int *exitCode) const
{
    const QString input = HostFiles::inputAt(output, inputs);
    if (input.isEmpty())
        return true;
    *exitCode =
        fail(BadUsage,
             QStringLiteral("%1 is the input %2; give another output file").arg(output, input));
    return false;
}

void CommandLine::warn(const QStringList &warnings) const
{
    for (const QString &warning : warnings)
        QTextStream(stderr) << "ipcore-host " << m_command << ": warning: " << printable(warning)
                            << '\n';
}

QString CommandLine::pluginDir() const
{
    return m_parser.value(m_pluginDir);
}

QString CommandLine::parameterFile() const
{
    return m_parser.positionalArguments().value(0);
}

QString printable(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category != QChar::Other_Control && category != QChar::Separator_Line &&
            category != QChar::Separator_Paragraph)
            shown += c;
        else if (c == QLatin1Char('\n'))
            shown += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            shown += QStringLiteral("\\t");
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

bool writeStandardOutput(const QByteArray &bytes, QString *error)
{
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) ==
                             std::size_t(bytes.size()) &&
                         std::fflush(stdout) == 0 && !std::ferror(stdout);
    // A failure the stream met earlier left only the error flag, not its reason.
    if (!written)
        *error = QStringLiteral("cannot write to standard output") +
                 (errno != 0 ? QStringLiteral(": ") + qt_error_string(errno) : QString());
    return written;
}

int finishStandardOutput(const QString &command, int exitCode)
{
    QString error;
    // A command that failed has said why in its one line, standard output included.
    if (writeStandardOutput(QByteArray(), &error) || exitCode != Success)
        return exitCode;
    QTextStream(stderr) << "ipcore-host " << command << ": " << error << '\n';
    return JobFailed;
}

DEV::DeviceArg lookUpDevice(const QString &idOrName)
{
    const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
    const DEV::DeviceArg byId = db->findDevice(idOrName);
    return byId.isNull() ? db->findDeviceByName(idOrName) : byId;
}

IPSERDESIP::BaseProtocol *loadJesd204b(const CommandLine &command, PluginSet *plugins,
                                       int *exitCode)
{
    QString error;
    *plugins = loadPlugins(command.pluginDir(), &error);
    if (plugins->status() == PluginSet::Status::NoDirectory) {
        *exitCode = command.fail(BadUsage, error);
        return nullptr;
    }
    if (plugins->status() != PluginSet::Status::Loaded) {
        *exitCode = command.fail(JobFailed, error);
        return nullptr;
    }
    command.warn(plugins->duplicates());
    IPSERDESIP::BaseProtocol *protocol = plugins->jesd204b();
    if (!protocol) {
        // A package that offered nothing says why: a description file it could not read.
        const PluginSet::Library *without = plugins->firstWithoutCore();
        *exitCode = command.fail(JobFailed, QStringLiteral("%1: no plug-in offers the %2 core%3")
                                                .arg(command.pluginDir(), jesd204bId(),
                                                     without && !without->error.isEmpty()
                                                         ? QStringLiteral(": ") + without->error
                                                         : QString()));
    }
    return protocol;
}

} // namespace HostProgram
