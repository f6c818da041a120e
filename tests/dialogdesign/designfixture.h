#pragma once

#include "dialog/jesd204bdlg.h"
#include "testpaths.h"

#include <designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

// A configuration dialog opened for a new core in a design loaded into the SERDES model.
class DesignDialog
{
public:
    // Loads designs/<design>.json, if named, on a two-quad device without device-group rules.
    explicit DesignDialog(const QString &design = QString())
    {
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->reset();
        model->setDevice(Core::IdeCore::deviceDataBase()->findDevice("TQ2H4-FF676"));
        QString error;
        const QString path = TestPaths::sourceDir() + "/tests/dialogdesign/designs/" + design;
        if (!design.isEmpty() && !IPSERDESIP::DesignFile::load(path + ".json", &error))
            qFatal("%s", qPrintable(error));
        Core::IdeCore::setProjectDirectory(m_project.path());
        const QMap<QString, QVariant> ipInfo{{"ipcore.name", "JESD204B"},
                                             {"ipcore.module", "jesd204b_0"}};
        m_dialog = std::make_unique<IPJESD204B::jesd204bdlg>(ipInfo, &m_parameters, nullptr);
        m_dialog->setCreating("jesd204b_0", model->device());
    }

    IPJESD204B::jesd204bdlg *dialog() const { return m_dialog.get(); }
    const QMap<QString, QVariant> &parameters() const { return m_parameters; }
    QString projectDir() const { return m_project.path(); }

    template <class W> W *widget(const QString &name) const
    {
        return m_dialog->findChild<W *>(name);
    }
    QComboBox *combo(const QString &name) const { return widget<QComboBox>(name); }
    QComboBox *laneBox(int row) const { return combo(QStringLiteral("Lane%1Connect").arg(row)); }
    static QStringList items(const QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    void setMode(const QString &mode) const { widget<QRadioButton>(mode)->setChecked(true); }
    void select(const QString &box, const QString &text) const
    {
        combo(box)->setCurrentIndex(combo(box)->findText(text));
    }
    void pickLanes(const QStringList &lanes) const
    {
        select("comboxNumOfLanes", QString::number(lanes.size()));
        for (int row = 0; row < lanes.size(); ++row)
            laneBox(row)->setCurrentText(lanes.at(row));
    }
    void setText(const QString &edit, const QString &text) const
    {
        widget<QLineEdit>(edit)->setText(text);
        emit widget<QLineEdit>(edit)->editingFinished();
    }
    // As the Calculate button does it.
    bool calculate() const
    {
        bool result = false;
        QMetaObject::invokeMethod(m_dialog.get(), "onButtonCalculateClicked", Qt::DirectConnection,
                                  Q_RETURN_ARG(bool, result));
        return result;
    }

private:
    QTemporaryDir m_project;
    QMap<QString, QVariant> m_parameters;
    std::unique_ptr<IPJESD204B::jesd204bdlg> m_dialog;
};
