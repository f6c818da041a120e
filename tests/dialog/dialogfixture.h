#pragma once

#include "dialog/jesd204bdlg.h"

#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using ParameterSet = QMap<QString, QVariant>;

// Device ids of the host's device database: group A, group B, and a two-quad device.
namespace Devices {
inline const QString groupA = QStringLiteral("TQ2M1-BG256");
inline const QString groupB = QStringLiteral("TQ2S1-FG324");
inline const QString twoQuads = QStringLiteral("TQ2H4-FF676");
} // namespace Devices

// A configuration dialog on a fresh SERDES model of the given device, with a scratch project
// directory: prepared for a new core, or left for open() to prepare for a stored one.
class OpenDialog
{
public:
    enum class Start { NewCore, Unprepared };

    explicit OpenDialog(const QString &deviceId = Devices::twoQuads, Start start = Start::NewCore)
        : m_device(Core::IdeCore::deviceDataBase()->findDevice(deviceId))
    {
        IPSERDESIP::serdes::instance()->reset();
        IPSERDESIP::serdes::instance()->setDevice(m_device);
        Core::IdeCore::setProjectDirectory(m_project.path());
        const ParameterSet ipInfo{{"ipcore.id", "jesd204b"},
                                  {"ipcore.name", "JESD204B"},
                                  {"ipcore.label", "JESD204B Link Core"},
                                  {"ipcore.target", "jesd_link"},
                                  {"ipcore.module", "jesd_top"},
                                  {"ipcore.doc.help", "help/jesd204b.html"}};
        m_dialog = std::make_unique<IPJESD204B::jesd204bdlg>(ipInfo, &m_parameters, nullptr);
        if (start == Start::NewCore)
            m_dialog->setCreating(QStringLiteral("jesd_top"), m_device);
    }
    ~OpenDialog()
    {
        m_dialog.reset();
        Core::IdeCore::setProjectDirectory(QString());
        IPSERDESIP::serdes::instance()->reset();
    }

    // Runs the host's opening of a stored core, always with "version" "1.0" unless given.
    bool open(ParameterSet stored)
    {
        stored.insert(QStringLiteral("target_device"), m_device.id());
        if (!stored.contains(QStringLiteral("version")))
            stored.insert(QStringLiteral("version"), QStringLiteral("1.0"));
        return m_dialog->setOpening(stored);
    }

    IPJESD204B::jesd204bdlg *dialog() const { return m_dialog.get(); }
    ParameterSet &parameters() { return m_parameters; }

    template <class W> W *widget(const QString &name) const
    {
        W *found = m_dialog->findChild<W *>(name);
        Q_ASSERT_X(found, "OpenDialog::widget", qPrintable(name));
        return found;
    }
    // Names such as "label" recur in several forms: look in one form ("afe_config", ...).
    template <class W> W *inForm(const char *form, const char *name) const
    {
        return widget<QWidget>(QStringLiteral("IPJESD204B__") + QLatin1String(form))
            ->template findChild<W *>(QLatin1String(name));
    }
    QComboBox *combo(const QString &name) const { return widget<QComboBox>(name); }
    QComboBox *laneBox(int row) const { return combo(QStringLiteral("Lane%1Connect").arg(row)); }
    QStringList items(const QString &comboName) const
    {
        QStringList out;
        for (int i = 0; i < combo(comboName)->count(); ++i)
            out << combo(comboName)->itemText(i);
        return out;
    }
    void edit(const QString &lineEditName, const QString &text) const
    {
        widget<QLineEdit>(lineEditName)->setText(text);
        emit widget<QLineEdit>(lineEditName)->editingFinished();
    }
    void setMode(const QString &button) const { widget<QRadioButton>(button)->setChecked(true); }
    // Sets the lane count to the number of lanes and picks them row by row.
    void chooseLanes(const QStringList &lanes) const
    {
        combo(QStringLiteral("comboxNumOfLanes"))->setCurrentText(QString::number(lanes.size()));
        for (int row = 0; row < lanes.size(); ++row)
            laneBox(row)->setCurrentText(lanes.at(row));
    }

private:
    QTemporaryDir m_project;
    DEV::DeviceArg m_device;
    ParameterSet m_parameters;
    std::unique_ptr<IPJESD204B::jesd204bdlg> m_dialog;
};
