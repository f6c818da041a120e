#include "headlessmessages.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace HostProgram {

namespace {

QtMessageHandler &previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

// What Qt's own platform code says about a session without a desktop around it.
bool isPlatformNote(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        return false;
    const QLatin1String category(context.category ? context.category : "");
    if (category.startsWith(QLatin1String("qt.qpa")))
        return true;
    static const char *const notes[] = {"QStandardPaths: ", "This plugin does not support "};
    for (const char *note : notes) {
        if (text.startsWith(QLatin1String(note)))
            return true;
    }
    return false;
}

void filter(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (isPlatformNote(type, context, text))
        return;
    if (QtMessageHandler previous = previousHandler()) {
        previous(type, context, text);
        return;
    }
    const QByteArray line = qFormatLogMessage(type, context, text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

void quietPlatformMessages()
{
    QtMessageHandler previous = qInstallMessageHandler(filter);
    if (previous != filter)
        previousHandler() = previous;
}

} // namespace HostProgram
