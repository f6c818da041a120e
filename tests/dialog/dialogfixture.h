#pragma once

#include "dialog/jesd204bdlg.h"

#include <QComboBox>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

using ParameterSet = QMap<QString, QVariant>;

// Device ids of the host's device database, one per device group.
namespace Devices {
inline QString groupA()
{
    return QStringLiteral("TQ2M1-BG256");
}
inline QString groupB()
{
    return QStringLiteral("TQ2S1-FG324");
}
inline QString twoQuads()
{
    return QStringLiteral("TQ2H4-FF676");
}
} // namespace Devices

// The core's description as the protocol hands it to the dialog.
ParameterSet testIpInfo();

// A configuration dialog on a fresh SERDES model of the given device, with a scratch project
// directory: prepared for a new core, or left for open() to prepare for a stored one.
class OpenDialog
{
public:
    enum class Start { NewCore, Unprepared };

    explicit OpenDialog(const QString &deviceId = Devices::twoQuads(),
                        Start start = Start::NewCore);
    ~OpenDialog();

    // Runs the host's opening of a stored core on this dialog; its answer.
    bool open(const ParameterSet &stored);

    IPJESD204B::jesd204bdlg *dialog() const { return m_dialog.get(); }
    ParameterSet &parameters() { return m_parameters; }
    QString projectDir() const { return m_project.path(); }

    template <class W> W *widget(const char *name) const
    {
        W *found = m_dialog->findChild<W *>(QLatin1String(name));
        Q_ASSERT_X(found, "OpenDialog::widget", name);
        return found;
    }
    // Names such as "label" recur in several forms: look in one form ("afe_config", ...).
    template <class W> W *inForm(const char *form, const char *name) const
    {
        const QString page = QStringLiteral("IPJESD204B__") + QLatin1String(form);
        QWidget *formWidget = m_dialog->findChild<QWidget *>(page);
        W *found = formWidget ? formWidget->findChild<W *>(QLatin1String(name)) : nullptr;
        Q_ASSERT_X(found, "OpenDialog::inForm", name);
        return found;
    }
    QComboBox *combo(const char *name) const { return widget<QComboBox>(name); }
    QComboBox *laneBox(int row) const;
    QStringList items(const char *comboName) const;
    // Runs a slot (or any invokable) by name, as a signal would.
    void invoke(const char *method) const;
    void edit(const char *lineEditName, const QString &text) const;

private:
    QTemporaryDir m_project;
    DEV::DeviceArg m_device;
    ParameterSet m_parameters;
    std::unique_ptr<IPJESD204B::jesd204bdlg> m_dialog;
};
