#include "jesd204bdlg.h"

#include "model/parameterkeys.h"
#include "ui_opt_config.h"

#include <serdes.h>
#include <serdesfunctions.h>

#include <QCheckBox>

namespace IPJESD204B {

bool jesd204bdlg::checkDrpConflict()
{
    if (!m_opt->checkBoxDRPPort->isChecked())
        return true;

    collectUsedLanes();
    const int lanes = IPSERDESIP::FromLaneToInt(m_usedLanes);
    const QString prefix = GlobalKey::DrpRecordPrefix;
    const QMap<QString, QVariant> records = IPSERDESIP::serdes::instance()->globalData();
    for (auto it = records.cbegin(); it != records.cend(); ++it) {
        if (!it.key().startsWith(prefix) || it.value().toInt() != lanes)
            continue;
        const QString otherModule = QString(it.key()).remove(prefix);
        showErrorBox(QStringLiteral("There is a DRP interface conflict between %1 and %2")
                         .arg(otherModule, moduleName()),
                     QStringLiteral("://image/"), true);
        return false;
    }
    return true;
}

} // namespace IPJESD204B
