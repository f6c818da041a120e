#include "commands.h"
#include "pluginloader.h"

#include <baseprotocol.h>

#include <QCoreApplication>
#include <QTextStream>

namespace HostProgram {

// The first line is what help2man and package tools read: "<program> <version>". One line per
// core follows, as the plug-ins of the default directory describe them.
int runVersion(const QStringList &arguments)
{
    if (arguments.size() > 1) {
        QTextStream(stderr) << "ipcore-host --version: unexpected argument '" << arguments.at(1)
                            << "'\n";
        return BadUsage;
    }
    QTextStream out(stdout);
    out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
        << '\n';
    const QString dir = defaultPluginDir();
    QString error;
    const PluginSet plugins = loadPlugins(dir, &error);
    if (plugins.protocols().empty()) {
        out << "no core: " << (error.isEmpty() ? dir : error) << '\n';
        return Success;
    }
    for (const auto &protocol : plugins.protocols())
        out << "core " << protocol->id() << ' ' << protocol->version() << " (" << protocol->name()
            << ")\n";
    return Success;
}

} // namespace HostProgram
