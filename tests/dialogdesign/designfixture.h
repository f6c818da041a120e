#pragma once

#include "dialog/jesd204bdlg.h"

#include <QComboBox>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// A configuration dialog opened for a new core in a design loaded into the SERDES model.
class DesignDialog
{
public:
    // Loads tests/dialogdesign/designs/<design>.json (an empty name gives an empty design on
    // the two-quad device) and opens the dialog on it.
    explicit DesignDialog(const QString &design = QString());
    ~DesignDialog();

    bool isLoaded() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    IPJESD204B::jesd204bdlg *dialog() const { return m_dialog.get(); }
    const QMap<QString, QVariant> &parameters() const { return m_parameters; }
    QString projectDir() const { return m_project.path(); }

    template <class W> W *widget(const char *name) const
    {
        return m_dialog->findChild<W *>(QLatin1String(name));
    }
    QComboBox *combo(const char *name) const { return widget<QComboBox>(name); }
    QComboBox *laneBox(int row) const;
    QStringList items(const char *comboName) const;

    // Core mode "Receive", "Transmit" or "Both"; lanes picked row by row.
    void setMode(const char *radioName) const;
    void pickLanes(const QStringList &lanes) const;
    void select(const char *comboName, const QString &text) const;
    void setText(const char *lineEditName, const QString &text) const;

    bool calculate(bool prompt = true) const;

private:
    QTemporaryDir m_project;
    QMap<QString, QVariant> m_parameters;
    std::unique_ptr<IPJESD204B::jesd204bdlg> m_dialog;
    QString m_error;
};

// A device with two quads and no device-group rules.
QString twoQuadDeviceId();
QString designPath(const QString &design);
