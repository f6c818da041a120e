#pragma once

#include <QJsonObject>
#include <QString>

namespace IPSERDESIP {
class protocolGenDlg;
}

namespace HostProgram {

// What a person would see in a protocol's dialog, as data: the base dialog's texts and figure
// pins, then per tab its title and every named widget of its page (class, enabled, visible,
// texts, values, checked state, choices).
QJsonObject describeDialog(IPSERDESIP::protocolGenDlg *dialog);

// Renders the dialog once per tab into dir as "tab<N>-<title>.png" and writes dir/dialog.json
// (describeDialog plus the image file of each tab). Creates dir when needed.
bool writeDialogSnapshot(IPSERDESIP::protocolGenDlg *dialog, const QString &dir, QString *error);

} // namespace HostProgram
