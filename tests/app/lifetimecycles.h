#pragma once

#include <parametermap.h>

#include <QMap>
#include <QString>
#include <QVariant>

#include <cstddef>

// The repeated work whose memory must not grow: a host's whole round with the plug-in, and
// opening the configuration dialog on a stored core.
namespace Lifetime {

// The eight-lane example core, on a two-quad device.
IPSERDESIP::ParameterMap eightLaneSet();

// Loads the plug-in library, takes its protocols, generates the set into workDir, asks for the
// resource report, deletes what it was handed and unloads the library. Empty on success,
// otherwise what went wrong.
QString pluginRound(const QString &pluginFile, const IPSERDESIP::ParameterMap &params,
                    const QString &workDir);

// Constructs the dialog, runs initDialog and the restore of the stored set, destroys it.
// False when the dialog refused the set.
bool dialogRound(const IPSERDESIP::ParameterMap &stored);

// The dialog's four forms set up in a bare QDialog and destroyed: the baseline of a dialog
// round.
void bareFormsRound();

// Bytes the C heap has handed out and not taken back.
std::size_t heapInUse();

} // namespace Lifetime
