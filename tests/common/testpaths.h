#pragma once

#include <QString>

// Locations baked in by the build so tests run from any working directory.
namespace TestPaths {
inline QString sourceDir() { return QStringLiteral(JESD_SOURCE_DIR); }
inline QString pluginDir() { return QStringLiteral(JESD_PLUGIN_DIR); }
inline QString hostProgram() { return QStringLiteral(JESD_HOST_PROGRAM); }
inline QString examplesDir() { return sourceDir() + QStringLiteral("/examples"); }
inline QString example(const QString &name) { return examplesDir() + QLatin1Char('/') + name; }
} // namespace TestPaths
