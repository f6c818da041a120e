#pragma once

#include <QMap>
#include <QString>

namespace LinkSim {

// What the generated define headers say about the core the testbench builds.
struct CoreShape
{
    QString moduleName;
    int lanes = 0;
    int mode = 1; // 1: 32-bit PCS (4 octets per lane and clock), 2: 64-bit
    int f = 0;    // octets per frame
    int k = 0;    // frames per multiframe
    bool scrambling = false;
    bool fixed = false; // F and scrambling locked to their generated values
    bool tx = false;
    bool rx = false;
    int bufferSize = 0;

    int octetsPerClock() const { return 4 * mode; }
};

// `define NAME VALUE lines of one header; a define without a value maps to an empty string.
QMap<QString, QString> readDefines(const QString &path, QString *error);

// Reads top_define.vh and jesd204b_top_defines.vh of headerDir. False with *error naming the
// file and the problem.
bool readCoreShape(const QString &headerDir, CoreShape *shape, QString *error);

} // namespace LinkSim
