#include "designfixture.h"

#include "testpaths.h"

#include <designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QLineEdit>
#include <QRadioButton>

QString twoQuadDeviceId()
{
    return QStringLiteral("TQ2H4-FF676");
}

QString designPath(const QString &design)
{
    return TestPaths::sourceDir() + QStringLiteral("/tests/dialogdesign/designs/") + design +
           QStringLiteral(".json");
}

DesignDialog::DesignDialog(const QString &design)
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const DEV::DeviceArg device = Core::IdeCore::deviceDataBase()->findDevice(twoQuadDeviceId());
    model->reset();
    model->setDevice(device);
    if (!design.isEmpty() && !IPSERDESIP::DesignFile::load(designPath(design), &m_error))
        return;
    Core::IdeCore::setProjectDirectory(m_project.path());

    const QMap<QString, QVariant> ipInfo{
        {QStringLiteral("ipcore.name"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.id"), QStringLiteral("jesd204b")},
        {QStringLiteral("ipcore.module"), QStringLiteral("jesd204b_0")},
    };
    m_dialog = std::make_unique<IPJESD204B::jesd204bdlg>(ipInfo, &m_parameters, nullptr);
    m_dialog->setCreating(QStringLiteral("jesd204b_0"), model->device());
}

DesignDialog::~DesignDialog()
{
    m_dialog.reset();
    Core::IdeCore::setProjectDirectory(QString());
}

QComboBox *DesignDialog::laneBox(int row) const
{
    return combo(QStringLiteral("Lane%1Connect").arg(row).toLatin1().constData());
}

QStringList DesignDialog::items(const char *comboName) const
{
    QStringList out;
    const QComboBox *box = combo(comboName);
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

void DesignDialog::setMode(const char *radioName) const
{
    widget<QRadioButton>(radioName)->setChecked(true);
}

void DesignDialog::pickLanes(const QStringList &lanes) const
{
    select("comboxNumOfLanes", QString::number(lanes.size()));
    for (int row = 0; row < lanes.size(); ++row)
        laneBox(row)->setCurrentText(lanes.at(row));
}

void DesignDialog::select(const char *comboName, const QString &text) const
{
    QComboBox *box = combo(comboName);
    box->setCurrentIndex(box->findText(text));
}

void DesignDialog::setText(const char *lineEditName, const QString &text) const
{
    QLineEdit *edit = widget<QLineEdit>(lineEditName);
    edit->setText(text);
    emit edit->editingFinished();
}

bool DesignDialog::calculate(bool prompt) const
{
    bool result = false;
    QMetaObject::invokeMethod(m_dialog.get(), "onButtonCalculateClicked", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, result), Q_ARG(bool, prompt));
    return result;
}
