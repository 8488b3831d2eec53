#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>

// A tool of the band menu: one control-wide object per name, shown in every band that lists
// it. A tool either runs a command (its click reaches BandMenu::toolClick) or opens a
// sub-band (its click does nothing).
class BandTool : public QObject
{
    Q_OBJECT

public:
    struct State {
        QString name;
        QString caption;
        QString opensBand; // empty for a command tool
        bool enabled = true;
        bool checked = false;
        bool visible = true;
        QPixmap picture;
    };

    explicit BandTool(State state, QObject *parent = nullptr);

    QString name() const { return m_state.name; }
    QString caption() const { return m_state.caption; }
    void setCaption(const QString &caption);
    bool enabled() const { return m_state.enabled; }
    void setEnabled(bool enabled);
    // Shows or hides the check mark.
    bool checked() const { return m_state.checked; }
    void setChecked(bool checked);
    bool visible() const { return m_state.visible; }
    void setVisible(bool visible);
    QPixmap picture() const { return m_state.picture; }
    void setPicture(const QPixmap &picture);
    QString opensBand() const { return m_state.opensBand; }

    const State &state() const { return m_state; }
    void setState(State state);

Q_SIGNALS:
    void changed();

private:
    State m_state;
};
