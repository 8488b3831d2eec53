#pragma once

#include "connection/dialupservice.h"

#include <QObject>
#include <QString>

// The dial-up control: points at a connection entry (or takes a number, user name and
// password of its own), dials, hangs up and reports the line. Several instances see the same
// line. Dial() returns at once; every step arrives as StateChanged from the event loop.
// StateCode, StateText and IsConnected are valid at every moment.
class mRAS : public QObject
{
    Q_OBJECT

public:
    // Numbers PrepareEntry() can fail with when a phonebook is needed; the services here keep
    // no phonebook file, so it never does.
    static constexpr int PhonebookErrorFirst = 20621;
    static constexpr int PhonebookErrorLast = 20625;

    explicit mRAS(DialUpService &service, QObject *parent = nullptr);

    QString Phonebook() const { return m_phonebook; }
    void setPhonebook(const QString &path) { m_phonebook = path; }
    // Giving any of these makes the next Dial() a dial with user settings.
    QString PhoneNumber() const { return m_request.phoneNumber; }
    void setPhoneNumber(const QString &number);
    QString LogonName() const { return m_request.logonName; }
    void setLogonName(const QString &name);
    QString LogonPassword() const { return m_request.logonPassword; }
    void setLogonPassword(const QString &password);

    QString Entry() const { return m_request.entry; }
    void setEntry(const QString &entry) { m_request.entry = entry; }
    int EntryCount() const;
    // The entry name at a 0-based index; empty outside the list.
    QString EntryAt(int index) const;
    void ReadEntries();
    void Refresh();
    // Readies the current entry for a dial; 0 on success. A dial after it uses the entry.
    int PrepareEntry();
    void Dial();
    void HangUp();

    int StateCode() const;
    QString StateText() const;
    // The service the entries come from: "networkmanager", "pppd" or "simulated".
    QString ServiceKind() const;
    // Why the last dial ended without a line, when the service can tell; else empty.
    QString StateReason() const;
    // True while the line of Entry is up (a line dialled with user settings has no entry and
    // counts as the line of any entry).
    bool IsConnected() const;

Q_SIGNALS:
    void StateChanged(int value);
    // Another program's line came up or went down (no StateChanged comes for it).
    void LinesChanged();

private:
    void useLogon();

    DialUpService &m_service;
    DialRequest m_request;
    QString m_phonebook;
};
