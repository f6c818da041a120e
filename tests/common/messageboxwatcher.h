#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

// Answers modal message boxes raised during a test and records what they said.
// Question boxes take the queued answers in order, then the default answer;
// every other box is closed with its OK (or only) button.
class MessageBoxWatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        bool hasIconPixmap = false;
    };

    explicit MessageBoxWatcher(QObject *parent = nullptr);

    void queueAnswer(QMessageBox::StandardButton answer) { m_answers.append(answer); }
    void setDefaultAnswer(QMessageBox::StandardButton answer) { m_defaultAnswer = answer; }

    const QList<Box> &boxes() const { return m_boxes; }
    // "Title: text" for each box, in order; handy in QCOMPARE failure output.
    QStringList lines() const;
    void clear() { m_boxes.clear(); }

private:
    void poll();

    QTimer m_timer;
    QList<Box> m_boxes;
    QList<QMessageBox::StandardButton> m_answers;
    QMessageBox::StandardButton m_defaultAnswer = QMessageBox::No;
};
