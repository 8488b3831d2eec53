#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
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

    // For a notice the program awaits (no nested event loop): answers the modal window open
    // now, if any, and lets the procedure waiting on it go on. Its title, or empty.
    static QString answerOpen(const QString &buttonName = QStringLiteral("cmdOK"),
        const std::function<void(QWidget *)> &before = {})
    {
        QWidget *modal = QApplication::activeModalWidget();
        QAbstractButton *button = modal ? buttonIn(modal, buttonName) : nullptr;
        if (!button)
            return {};
        const QString title = modal->windowTitle();
        if (before)
            before(modal);
        button->click();
        QCoreApplication::processEvents();
        return title;
    }

private:
    // A window without that button (the reminder has only OK) is dismissed with OK.
    static QAbstractButton *buttonIn(QWidget *modal, const QString &buttonName)
    {
        auto *button = modal->findChild<QAbstractButton *>(buttonName);
        return button ? button : modal->findChild<QAbstractButton *>(QStringLiteral("cmdOK"));
    }

    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            m_last = nullptr;
            return;
        }
        QAbstractButton *button = buttonIn(modal, m_button);
        if (modal == m_last || !button)
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
    QPointer<QWidget> m_last; // a QPointer: the next window may come at the same address
    QStringList m_titles;
};
