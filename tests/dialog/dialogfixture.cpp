#include "dialogfixture.h"

#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QLineEdit>

ParameterSet testIpInfo()
{
    return {
        {QStringLiteral("ipcore.id"), QStringLiteral("jesd204b")},
        {QStringLiteral("ipcore.name"), QStringLiteral("JESD204B")},
        {QStringLiteral("ipcore.label"), QStringLiteral("JESD204B Link Core")},
        {QStringLiteral("ipcore.target"), QStringLiteral("jesd_link")},
        {QStringLiteral("ipcore.module"), QStringLiteral("jesd_top")},
        {QStringLiteral("ipcore.doc.help"), QStringLiteral("help/jesd204b.html")},
    };
}

OpenDialog::OpenDialog(const QString &deviceId, Start start)
    : m_device(Core::IdeCore::deviceDataBase()->findDevice(deviceId))
{
    Q_ASSERT(!m_device.isNull());
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    model->setDevice(m_device);
    Core::IdeCore::setProjectDirectory(m_project.path());
    m_dialog = std::make_unique<IPJESD204B::jesd204bdlg>(testIpInfo(), &m_parameters, nullptr);
    if (start == Start::NewCore)
        m_dialog->setCreating(QStringLiteral("jesd_top"), m_device);
}

OpenDialog::~OpenDialog()
{
    m_dialog.reset();
    Core::IdeCore::setProjectDirectory(QString());
    IPSERDESIP::serdes::instance()->reset();
}

bool OpenDialog::open(const ParameterSet &stored)
{
    ParameterSet withDevice = stored;
    withDevice.insert(QStringLiteral("target_device"), m_device.id());
    return m_dialog->setOpening(withDevice);
}

QComboBox *OpenDialog::laneBox(int row) const
{
    return combo(QStringLiteral("Lane%1Connect").arg(row).toLatin1().constData());
}

QStringList OpenDialog::items(const char *comboName) const
{
    QStringList out;
    const QComboBox *box = combo(comboName);
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

void OpenDialog::invoke(const char *method) const
{
    const bool ok = QMetaObject::invokeMethod(m_dialog.get(), method, Qt::DirectConnection);
    Q_ASSERT_X(ok, "OpenDialog::invoke", method);
    Q_UNUSED(ok);
}

void OpenDialog::edit(const char *lineEditName, const QString &text) const
{
    QLineEdit *line = widget<QLineEdit>(lineEditName);
    line->setText(text);
    emit line->editingFinished();
}
