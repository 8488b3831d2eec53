#pragma once

#include "shell/autostart.h"

// The XDG autostart entry: $XDG_CONFIG_HOME/autostart/bvane.desktop, a desktop entry that
// runs the program, which desktops start at log-in.
class XdgAutostart : public Autostart
{
public:
    // $XDG_CONFIG_HOME/autostart (~/.config/autostart by default).
    static QString defaultFolder();

    // The entry goes in folder and runs program (an absolute path).
    XdgAutostart(QString folder, QString program);

    QString entryPath() const;
    bool isEnabled() const override;
    bool setEnabled(bool on, QString &error) override;

    // The entry's text.
    QByteArray entry() const;
    // program as one argument of a desktop entry's Exec key.
    static QString execArgument(const QString &program);

private:
    bool write(QString &error);
    bool remove(QString &error);

    QString m_folder;
    QString m_program;
};
