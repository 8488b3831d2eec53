#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Answers modal windows the code under test puts up (the reminder, the logon prompt): while
// armed, it clicks the named button (else OK) of each modal window that comes up and records the
// window titles in order. Polls on a real Qt timer; it is test plumbing, not program timing.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QString buttonName = QStringLiteral("cmdOK"))
        : m_button(std::move(buttonName))
    {
        connect(&m_poll, &QTimer::timeout, this, &ModalAnswerer::answer);
        m_poll.start(5);
    }

    void setButton(const QString &name) { m_button = name; }
    // Runs once on the window before the button is clicked (to type into it, say).
    void setBeforeAnswer(std::function<void(QWidget *)> f) { m_before = std::move(f); }
    const QStringList &titles() const { return m_titles; }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            m_last = nullptr;
            return;
        }
        if (modal == m_last)
            return;
        auto *button = modal->findChild<QAbstractButton *>(m_button);
        // A window without that button (the reminder has only OK) is dismissed with OK.
        if (!button)
            button = modal->findChild<QAbstractButton *>(QStringLiteral("cmdOK"));
        if (!button)
            return;
        m_last = modal;
        m_titles << modal->windowTitle();
        if (m_before)
            m_before(modal);
        button->click();
    }

    QString m_button;
    std::function<void(QWidget *)> m_before;
    QTimer m_poll;
    QWidget *m_last = nullptr;
    QStringList m_titles;
};
