#pragma once

#include <QByteArray>
#include <QtGlobal>

// What the benchmark programs share besides the dialog's workload (dialogworkload.h).
namespace BenchSupport {

// Widget benchmarks run on the offscreen platform when there is no display to show on.
inline void offscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace BenchSupport
