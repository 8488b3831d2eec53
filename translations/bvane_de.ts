<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AnswerLimits</name>
    <message>
        <source>No answer from %1 within %2 seconds</source>
        <translation>Keine Antwort von %1 innerhalb von %2 Sekunden</translation>
    </message>
    <message>
        <source>%1 kept a %2 going for more than %3 seconds</source>
        <translation>%1 brauchte für %2 länger als %3 Sekunden</translation>
    </message>
    <message>
        <source>%1 did not complete the command within %2 seconds; it kept sending other responses</source>
        <translation>%1 hat den Befehl nicht innerhalb von %2 Sekunden abgeschlossen; der Server sendete weiter andere Antworten</translation>
    </message>
</context>
<context>
    <name>BandMenu</name>
    <message>
        <source>Disable Programs/Applications</source>
        <translation>Programme/Anwendungen ausschalten</translation>
    </message>
    <message>
        <source>All Accounts</source>
        <translation>Alle Konten</translation>
    </message>
    <message>
        <source>Disable Mail Checking</source>
        <translation>E-Mail-Abruf ausschalten</translation>
    </message>
    <message>
        <source>Confirmation Menus</source>
        <translation>Bestätigungsmenüs</translation>
    </message>
    <message>
        <source>Customize</source>
        <translation>Anpassen</translation>
    </message>
    <message>
        <source>Run Program</source>
        <translation>Programm starten</translation>
    </message>
    <message>
        <source>Check Mail</source>
        <translation>E-Mails abrufen</translation>
    </message>
    <message>
        <source>Connection Status</source>
        <translation>Verbindungsstatus</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Connection Properties</source>
        <translation>Verbindungseigenschaften</translation>
    </message>
    <message>
        <source>Mail Properties</source>
        <translation>E-Mail-Eigenschaften</translation>
    </message>
    <message>
        <source>Program Properties</source>
        <translation>Programmeigenschaften</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Usage...</source>
        <translation>Nutzung...</translation>
    </message>
    <message>
        <source>Show Customize Brisvane Dialog on Startup</source>
        <translation>Dialog „Brisvane anpassen“ beim Start zeigen</translation>
    </message>
    <message>
        <source>Show Customize Brisvane Dialog Reminder</source>
        <translation>Erinnerung zum Dialog „Brisvane anpassen“ zeigen</translation>
    </message>
    <message>
        <source>Show Close Mail Program Message Dialog</source>
        <translation>Hinweis „E-Mail-Programm schließen“ zeigen</translation>
    </message>
    <message>
        <source>Show Delete Message Confirmation Dialog</source>
        <translation>Rückfrage zum Löschen von Nachrichten zeigen</translation>
    </message>
</context>
<context>
    <name>BarChart</name>
    <message>
        <source>Usage chart</source>
        <translation>Nutzungsdiagramm</translation>
    </message>
</context>
<context>
    <name>Bearer</name>
    <message>
        <source>%1 offers no sign-in with a token (OAUTHBEARER or XOAUTH2)</source>
        <translation>%1 bietet keine Anmeldung mit einem Token an (OAUTHBEARER oder XOAUTH2)</translation>
    </message>
    <message>
        <source>%1 refused the sign-in token of %2 (%3): %4</source>
        <translation>%1 hat das Anmelde-Token von %2 abgelehnt (%3): %4</translation>
    </message>
</context>
<context>
    <name>ConnectedTimeLine</name>
    <message>
        <source>Connected %1</source>
        <translation>Verbunden %1</translation>
    </message>
</context>
<context>
    <name>ConnectionTab</name>
    <message>
        <source>Connection &amp;Entries</source>
        <translation>V&amp;erbindungseinträge</translation>
    </message>
    <message>
        <source>Details of the connection entries</source>
        <translation>Details zu den Verbindungseinträgen</translation>
    </message>
    <message>
        <source>De&amp;tails...</source>
        <translation>De&amp;tails...</translation>
    </message>
    <message>
        <source>&amp;Details...</source>
        <translation>&amp;Details...</translation>
    </message>
    <message>
        <source>Ma&amp;ke Default Connection</source>
        <translation>&amp;Als Standardverbindung festlegen</translation>
    </message>
    <message>
        <source>&amp;Usage...</source>
        <translation>&amp;Nutzung...</translation>
    </message>
    <message>
        <source>D&amp;ial using User Settings</source>
        <translation>Mit Benutzereinstellungen &amp;wählen</translation>
    </message>
    <message>
        <source>User &amp;Logon Settings...</source>
        <translation>Benut&amp;zeranmeldung...</translation>
    </message>
    <message>
        <source>Details of dialling with user settings</source>
        <translation>Details zum Wählen mit Benutzereinstellungen</translation>
    </message>
    <message>
        <source>Dial Selected &amp;Connection</source>
        <translation>Ausgew&amp;ählte Verbindung wählen</translation>
    </message>
    <message>
        <source>Disc&amp;onnect Selected Connection</source>
        <translation>Ausgewäh&amp;lte Verbindung trennen</translation>
    </message>
    <message>
        <source>Connect &amp;State</source>
        <translation>Verbindung&amp;sstatus</translation>
    </message>
    <message>
        <source>Connected time</source>
        <translation>Verbindungsdauer</translation>
    </message>
    <message>
        <source>Connect State</source>
        <translation>Verbindungsstatus</translation>
    </message>
    <message>
        <source>I&amp;f line is busy, retry   times until connected</source>
        <translation>Bei besetzter Leitung   Mal wiederh&amp;olen, bis die Verbindung steht</translation>
    </message>
    <message>
        <source>Busy line retries</source>
        <translation>Wahlwiederholungen bei besetzter Leitung</translation>
    </message>
    <message>
        <source>Connect auto&amp;matically on startup</source>
        <translation>Bei&amp;m Start automatisch verbinden</translation>
    </message>
    <message>
        <source>Alert &amp;when connected</source>
        <translation>Signal &amp;beim Verbinden</translation>
    </message>
    <message>
        <source>Sound played when connected</source>
        <translation>Klang beim Verbinden</translation>
    </message>
    <message>
        <source>B&amp;rowse</source>
        <translation>Du&amp;rchsuchen</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>D&amp;urchsuchen</translation>
    </message>
    <message>
        <source>Alert whe&amp;n disconnected</source>
        <translation>Si&amp;gnal beim Trennen</translation>
    </message>
    <message>
        <source>Sound played when disconnected</source>
        <translation>Klang beim Trennen</translation>
    </message>
    <message>
        <source>retry</source>
        <comment>the word of &quot;If line is busy, retry   times...&quot; the count follows</comment>
        <translation>Leitung</translation>
    </message>
    <message>
        <source>Connection Entries</source>
        <translation>Verbindungseinträge</translation>
    </message>
    <message>
        <source>In order for Brisvane to dial-up and work properly you will need to create a dial-up networking connection. If you do not already have one established, you may create one by the following steps:</source>
        <translation>Damit Brisvane wählen und richtig arbeiten kann, brauchen Sie eine DFÜ-Netzwerkverbindung. Falls Sie noch keine eingerichtet haben, können Sie sie so anlegen:</translation>
    </message>
    <message>
        <source>1. As root, write a peer file for pppd in /etc/ppp/peers (its modem, number and chat script; see &quot;man pppd&quot; and the examples in /usr/share/doc/ppp/examples)</source>
        <translation>1. Legen Sie als root eine Peer-Datei für pppd in /etc/ppp/peers an (Modem, Nummer und Chat-Skript; siehe „man pppd“ und die Beispiele in /usr/share/doc/ppp/examples)</translation>
    </message>
    <message>
        <source>2. Add the user name and password to /etc/ppp/pap-secrets or chap-secrets</source>
        <translation>2. Tragen Sie Benutzername und Passwort in /etc/ppp/pap-secrets oder chap-secrets ein</translation>
    </message>
    <message>
        <source>3. Then open this dialog again: each peer file is an entry</source>
        <translation>3. Öffnen Sie dann diesen Dialog erneut: Jede Peer-Datei ist ein Eintrag</translation>
    </message>
    <message>
        <source>1. This program runs with the simulated service, made for trying it out</source>
        <translation>1. Das Programm läuft mit dem simulierten Dienst, der zum Ausprobieren gedacht ist</translation>
    </message>
    <message>
        <source>2. Its entries are simulated lines, one for each way a dial can go</source>
        <translation>2. Seine Einträge sind simulierte Leitungen, eine für jeden möglichen Ausgang eines Wählvorgangs</translation>
    </message>
    <message>
        <source>3. Set Service=networkmanager or Service=pppd under [DialUp] in Brisvane.ini to dial real lines</source>
        <translation>3. Setzen Sie Service=networkmanager oder Service=pppd unter [DialUp] in Brisvane.ini, um echte Leitungen zu wählen</translation>
    </message>
    <message>
        <source>1. Open your desktop&apos;s network settings, or run nm-connection-editor</source>
        <translation>1. Öffnen Sie die Netzwerkeinstellungen Ihrer Arbeitsumgebung oder starten Sie nm-connection-editor</translation>
    </message>
    <message>
        <source>2. Add a connection of the kind your line needs (Mobile Broadband, DSL/PPPoE or a dial-up modem over Bluetooth)</source>
        <translation>2. Fügen Sie eine Verbindung der Art hinzu, die Ihre Leitung braucht (Mobiles Breitband, DSL/PPPoE oder ein Einwahlmodem über Bluetooth)</translation>
    </message>
    <message>
        <source>3. Then open this dialog again: each NetworkManager connection is an entry</source>
        <translation>3. Öffnen Sie dann diesen Dialog erneut: Jede NetworkManager-Verbindung ist ein Eintrag</translation>
    </message>
    <message>
        <source>User Logon Details</source>
        <translation>Details zur Benutzeranmeldung</translation>
    </message>
    <message>
        <source>If you do not have a connection entry (Dial-Up Networking Connection), you may allow Brisvane to connect for you by placing a check in the checkbox called Dial using User Settings and then clicking the User Logon Settings button</source>
        <translation>Wenn Sie keinen Verbindungseintrag (DFÜ-Netzwerkverbindung) haben, kann Brisvane die Verbindung für Sie herstellen: Setzen Sie einen Haken bei „Mit Benutzereinstellungen wählen“ und klicken Sie dann auf die Schaltfläche „Benutzeranmeldung...“</translation>
    </message>
</context>
<context>
    <name>DesktopNotices</name>
    <message>
        <source>the dial-up line</source>
        <translation>die Einwahlleitung</translation>
    </message>
    <message>
        <source>The dial-up line</source>
        <translation>Die Einwahlleitung</translation>
    </message>
    <message>
        <source>The line to %1</source>
        <translation>Die Leitung zu %1</translation>
    </message>
    <message>
        <source>Your mail account</source>
        <translation>Ihr E-Mail-Konto</translation>
    </message>
    <message>
        <source>1 message waiting</source>
        <translation>1 Nachricht wartet</translation>
    </message>
    <message>
        <source>%1 messages waiting</source>
        <translation>%1 Nachrichten warten</translation>
    </message>
    <message>
        <source>1 new message</source>
        <translation>1 neue Nachricht</translation>
    </message>
    <message>
        <source>%1 new messages</source>
        <translation>%1 neue Nachrichten</translation>
    </message>
    <message>
        <source>, %1 waiting</source>
        <translation>, %1 wartend</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>You have new mail</source>
        <translation>Sie haben neue E-Mails</translation>
    </message>
    <message>
        <source>Open mail program</source>
        <translation>E-Mail-Programm öffnen</translation>
    </message>
    <message>
        <source>Show messages</source>
        <translation>Nachrichten zeigen</translation>
    </message>
    <message>
        <source>Mail account failed</source>
        <translation>E-Mail-Konto fehlgeschlagen</translation>
    </message>
    <message>
        <source>Message from the mail server</source>
        <translation>Nachricht vom Mailserver</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>%1 was lost.</source>
        <translation>%1 ist abgebrochen.</translation>
    </message>
    <message>
        <source>Line busy</source>
        <translation>Leitung besetzt</translation>
    </message>
    <message>
        <source>Redialling %1: attempt %2 of %3</source>
        <translation>%1 wird erneut gewählt: Versuch %2 von %3</translation>
    </message>
    <message>
        <source>Connected again</source>
        <translation>Wieder verbunden</translation>
    </message>
    <message>
        <source>%1 is back up.</source>
        <translation>%1 steht wieder.</translation>
    </message>
    <message>
        <source>Mark as read</source>
        <translation>Als gelesen markieren</translation>
    </message>
</context>
<context>
    <name>ImapConnection</name>
    <message>
        <source>%1 sent a response with %2</source>
        <translation>%1 sandte eine Antwort mit %2</translation>
    </message>
    <message>
        <source>%1 sent something that is not an IMAP response: %2</source>
        <translation>%1 sandte etwas, das keine IMAP-Antwort ist: %2</translation>
    </message>
    <message>
        <source>%1 did not greet as an IMAP server</source>
        <translation>%1 hat nicht wie ein IMAP-Server gegrüßt</translation>
    </message>
    <message>
        <source>%1 closed the session: %2</source>
        <translation>%1 hat die Sitzung beendet: %2</translation>
    </message>
    <message>
        <source>%1 asked for more of a command that has no more</source>
        <translation>%1 verlangte die Fortsetzung eines Befehls, der keine hat</translation>
    </message>
    <message>
        <source>%1 answered a command that was not sent: %2</source>
        <translation>%1 beantwortete einen Befehl, der nicht gesendet wurde: %2</translation>
    </message>
    <message>
        <source>%1 sent more than %2 MB of responses without finishing a command</source>
        <translation>%1 hat mehr als %2 MB an Antworten gesendet, ohne einen Befehl abzuschließen</translation>
    </message>
</context>
<context>
    <name>ImapIdle</name>
    <message>
        <source>&quot;%1&quot; is not an IMAP address</source>
        <translation>„%1“ ist keine IMAP-Adresse</translation>
    </message>
    <message>
        <source>%1 does not offer IDLE</source>
        <translation>%1 bietet kein IDLE an</translation>
    </message>
    <message>
        <source>%1 refused IDLE: %2</source>
        <translation>%1 hat IDLE abgelehnt: %2</translation>
    </message>
</context>
<context>
    <name>ImapLogOn</name>
    <message>
        <source>Connecting to %1</source>
        <translation>Verbindung mit %1 wird hergestellt</translation>
    </message>
    <message>
        <source>%1 turned the connection away: %2</source>
        <translation>%1 hat die Verbindung abgewiesen: %2</translation>
    </message>
    <message>
        <source>%1 logged on in the clear at once (PREAUTH), where TLS is required</source>
        <translation>%1 hat sofort unverschlüsselt angemeldet (PREAUTH), obwohl TLS verlangt ist</translation>
    </message>
    <message>
        <source>%1 refused CAPABILITY: %2</source>
        <translation>%1 hat CAPABILITY abgelehnt: %2</translation>
    </message>
    <message>
        <source>Starting TLS with %1</source>
        <translation>TLS mit %1 wird gestartet</translation>
    </message>
    <message>
        <source>%1 offered STARTTLS and then refused it: %2</source>
        <translation>%1 hat STARTTLS angeboten und dann abgelehnt: %2</translation>
    </message>
    <message>
        <source>%1 refuses to log on without TLS and offers none (LOGINDISABLED)</source>
        <translation>%1 lehnt die Anmeldung ohne TLS ab und bietet keines an (LOGINDISABLED)</translation>
    </message>
    <message>
        <source>The user name or password holds a line break, which LOGIN cannot carry</source>
        <translation>Benutzername oder Passwort enthält einen Zeilenumbruch, den LOGIN nicht übertragen kann</translation>
    </message>
    <message>
        <source>Logging on as %1 with %2</source>
        <translation>Anmeldung als %1 mit %2</translation>
    </message>
    <message>
        <source>%1 refused the log-on of %2 (%3): %4</source>
        <translation>%1 hat die Anmeldung von %2 abgelehnt (%3): %4</translation>
    </message>
    <message>
        <source>%1 refused to open INBOX: %2</source>
        <translation>%1 hat das Öffnen von INBOX abgelehnt: %2</translation>
    </message>
    <message>
        <source>%1 opened INBOX without a message count</source>
        <translation>%1 hat INBOX ohne Nachrichtenzahl geöffnet</translation>
    </message>
</context>
<context>
    <name>ImapMail</name>
    <message>
        <source>&quot;%1&quot; is not a mail server name</source>
        <translation>„%1“ ist kein Name eines Mailservers</translation>
    </message>
    <message>
        <source>The server gave no UIDVALIDITY, so it cannot tell new messages from old: each check announces them all</source>
        <translation>Der Server nannte keine UIDVALIDITY und kann daher neue Nachrichten nicht von alten unterscheiden: Jeder Abruf meldet alle</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s) in INBOX</source>
        <translation>
            <numerusform>%n Nachricht in INBOX</numerusform>
            <numerusform>%n Nachrichten in INBOX</numerusform>
        </translation>
    </message>
    <message>
        <source>The server did not list the messages&apos; UIDs, so it cannot tell new messages from old: each check announces them all</source>
        <translation>Der Server hat die UIDs der Nachrichten nicht aufgelistet und kann daher neue Nachrichten nicht von alten unterscheiden: Jeder Abruf meldet alle</translation>
    </message>
    <message>
        <source>The server sent no header for message %1</source>
        <translation>Der Server hat für Nachricht %1 keinen Kopf gesendet</translation>
    </message>
    <message>
        <source>The server refused the header of message %1: %2</source>
        <translation>Der Server hat den Kopf von Nachricht %1 verweigert: %2</translation>
    </message>
    <message>
        <source>Message %1 has not been listed, so it is not deleted</source>
        <translation>Nachricht %1 wurde nicht aufgelistet und wird daher nicht gelöscht</translation>
    </message>
    <message>
        <source>Deleting message %1 (UID %2)</source>
        <translation>Nachricht %1 (UID %2) wird gelöscht</translation>
    </message>
    <message>
        <source>The server refused to expunge the deleted messages: %1</source>
        <translation>Der Server hat das endgültige Entfernen der gelöschten Nachrichten abgelehnt: %1</translation>
    </message>
    <message>
        <source>The server refused to search for deleted messages: %1</source>
        <translation>Der Server hat die Suche nach gelöschten Nachrichten abgelehnt: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n other message(s) in INBOX are marked for deletion and the server cannot expunge single messages (no UIDPLUS); the %1 message(s) deleted here stay marked for deletion</source>
        <translation>
            <numerusform>%n weitere Nachricht in INBOX ist zum Löschen markiert, und der Server kann keine einzelnen Nachrichten endgültig entfernen (kein UIDPLUS); die hier gelöschte(n) %1 Nachricht(en) bleiben zum Löschen markiert</numerusform>
            <numerusform>%n weitere Nachrichten in INBOX sind zum Löschen markiert, und der Server kann keine einzelnen Nachrichten endgültig entfernen (kein UIDPLUS); die hier gelöschte(n) %1 Nachricht(en) bleiben zum Löschen markiert</numerusform>
        </translation>
    </message>
    <message>
        <source>message %1 has not been listed</source>
        <translation>Nachricht %1 wurde nicht aufgelistet</translation>
    </message>
    <message numerus="yes">
        <source>%n unread message(s) in INBOX</source>
        <translation>
            <numerusform>%n ungelesene Nachricht in INBOX</numerusform>
            <numerusform>%n ungelesene Nachrichten in INBOX</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImapResponseReader</name>
    <message>
        <source>a response longer than %1 bytes</source>
        <translation>eine Antwort länger als %1 Byte</translation>
    </message>
    <message>
        <source>a line longer than %1 bytes</source>
        <translation>eine Zeile länger als %1 Byte</translation>
    </message>
    <message>
        <source>a literal of %1 bytes, over the limit of %2</source>
        <translation>ein Literal von %1 Byte, über der Grenze von %2</translation>
    </message>
</context>
<context>
    <name>LineController</name>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>(%1 new) </source>
        <translation>(%1 neu) </translation>
    </message>
    <message>
        <source>Please select a dial-up connection in the Connection Entries drop down list box before dialing. Click on &apos;Details&apos; beside Connection Entries</source>
        <translation>Bitte wählen Sie vor dem Wählen eine DFÜ-Verbindung in der Liste „Verbindungseinträge“ aus. Klicken Sie auf „Details“ neben „Verbindungseinträge“</translation>
    </message>
    <message>
        <source>If using NT, the Phonebook property must be set.</source>
        <translation>Unter NT muss die Eigenschaft „Telefonbuch“ gesetzt sein.</translation>
    </message>
    <message>
        <source>The default system phonebook for NT 4.0 is</source>
        <translation>Das Standard-Systemtelefonbuch unter NT 4.0 ist</translation>
    </message>
    <message>
        <source>The default system phonebook for NT 3.51 is</source>
        <translation>Das Standard-Systemtelefonbuch unter NT 3.51 ist</translation>
    </message>
    <message>
        <source>Enter the path and name of the phonebook, or press Cancel to abort.</source>
        <translation>Geben Sie Pfad und Namen des Telefonbuchs ein oder klicken Sie zum Abbrechen auf „Abbrechen“.</translation>
    </message>
    <message>
        <source>Enter Phonebook</source>
        <translation>Telefonbuch eingeben</translation>
    </message>
    <message>
        <source>Unable to locate phonebook file: </source>
        <translation>Telefonbuchdatei nicht gefunden: </translation>
    </message>
    <message>
        <source>Click to Disc/Dbclick to zoom dialog to and from tray</source>
        <translation>Klick: Trennen / Doppelklick: Dialog in den Systembereich und zurück</translation>
    </message>
    <message>
        <source>Connection Detected</source>
        <translation>Verbindung erkannt</translation>
    </message>
    <message>
        <source>Brisvane has detected a connection has already been established. If you have enabled mail checking, any minutes that you have specified will start counting now. Brisvane will be unable to disconnect this connection.</source>
        <translation>Brisvane hat erkannt, dass bereits eine Verbindung besteht. Wenn Sie den E-Mail-Abruf eingeschaltet haben, beginnen die eingestellten Minuten jetzt zu laufen. Brisvane kann diese Verbindung nicht trennen.</translation>
    </message>
    <message>
        <source>Double-click to zoom dialog to and from tray</source>
        <translation>Doppelklick: Dialog in den Systembereich und zurück</translation>
    </message>
    <message>
        <source>Brisvane has also determined that you have enabled program(s) to run when started.</source>
        <translation>Brisvane hat außerdem festgestellt, dass Sie Programme eingerichtet haben, die beim Verbinden starten.</translation>
    </message>
    <message>
        <source>Would like to run those program(s) now?</source>
        <translation>Möchten Sie diese Programme jetzt starten?</translation>
    </message>
</context>
<context>
    <name>MailConnection</name>
    <message>
        <source>%1; if it speaks TLS at once, use %2://</source>
        <translation>%1; falls der Server sofort TLS spricht, verwenden Sie %2://</translation>
    </message>
    <message>
        <source>%1 closed the connection</source>
        <translation>%1 hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>%1 offers no TLS (%2) this time, though this account logged on with TLS before; someone on the way may have removed it. Not logging on in the clear</source>
        <translation>%1 bietet diesmal kein TLS an (%2), obwohl sich dieses Konto zuvor mit TLS angemeldet hat; jemand auf dem Weg könnte es entfernt haben. Keine unverschlüsselte Anmeldung</translation>
    </message>
    <message>
        <source>%1 offers no TLS (%2); not logging on in the clear</source>
        <translation>%1 bietet kein TLS an (%2); keine unverschlüsselte Anmeldung</translation>
    </message>
    <message>
        <source>The server %1 offers no encryption (%2); the password was not sent unencrypted</source>
        <translation>Der Server %1 bietet keine Verschlüsselung an (%2); das Passwort wurde nicht unverschlüsselt gesendet</translation>
    </message>
    <message>
        <source>%1 speaks TLS at once: use %2://</source>
        <translation>%1 spricht sofort TLS: Verwenden Sie %2://</translation>
    </message>
</context>
<context>
    <name>MailSession</name>
    <message numerus="yes">
        <source>The connection was lost before it was closed; %n message(s) marked for deletion stay on the server</source>
        <translation>
            <numerusform>Die Verbindung brach vor dem Schließen ab; %n zum Löschen markierte Nachricht bleibt auf dem Server</numerusform>
            <numerusform>Die Verbindung brach vor dem Schließen ab; %n zum Löschen markierte Nachrichten bleiben auf dem Server</numerusform>
        </translation>
    </message>
    <message>
        <source>Closing the connection to %1</source>
        <translation>Verbindung mit %1 wird geschlossen</translation>
    </message>
    <message>
        <source>Not logged on to a mail server</source>
        <translation>Nicht bei einem Mailserver angemeldet</translation>
    </message>
    <message numerus="yes">
        <source>There is no message %1; the mailbox holds %n message(s)</source>
        <translation>
            <numerusform>Es gibt keine Nachricht %1; das Postfach enthält %n Nachricht</numerusform>
            <numerusform>Es gibt keine Nachricht %1; das Postfach enthält %n Nachrichten</numerusform>
        </translation>
    </message>
    <message>
        <source>Message %1 marked for deletion</source>
        <translation>Nachricht %1 zum Löschen markiert</translation>
    </message>
    <message>
        <source>The server refused to delete message %1: %2</source>
        <translation>Der Server hat das Löschen von Nachricht %1 abgelehnt: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s) marked for deletion were not deleted</source>
        <translation>
            <numerusform>%n zum Löschen markierte Nachricht wurde nicht gelöscht</numerusform>
            <numerusform>%n zum Löschen markierte Nachrichten wurden nicht gelöscht</numerusform>
        </translation>
    </message>
    <message>
        <source>The message %1 is no longer on the server; nothing is deleted in its place</source>
        <translation>Die Nachricht %1 ist nicht mehr auf dem Server; an ihrer Stelle wird nichts gelöscht</translation>
    </message>
    <message>
        <source>there is no message %1</source>
        <translation>es gibt keine Nachricht %1</translation>
    </message>
    <message numerus="yes">
        <source>Deleting %n message(s)</source>
        <translation>
            <numerusform>%n Nachricht wird gelöscht</numerusform>
            <numerusform>%n Nachrichten werden gelöscht</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server refused to delete %n message(s): %1</source>
        <translation>
            <numerusform>Der Server hat es abgelehnt, %n Nachricht zu löschen: %1</numerusform>
            <numerusform>Der Server hat es abgelehnt, %n Nachrichten zu löschen: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The server refused to mark %n message(s) read: %1</source>
        <translation>
            <numerusform>Der Server hat es abgelehnt, %n Nachricht als gelesen zu markieren: %1</numerusform>
            <numerusform>Der Server hat es abgelehnt, %n Nachrichten als gelesen zu markieren: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Renewing the sign-in token</source>
        <translation>Anmelde-Token wird erneuert</translation>
    </message>
    <message>
        <source>Getting the sign-in token</source>
        <translation>Anmelde-Token wird geholt</translation>
    </message>
</context>
<context>
    <name>MailShared</name>
    <message>
        <source>Checking Mail</source>
        <translation>E-Mails werden abgerufen</translation>
    </message>
    <message>
        <source>Please define a mail program by browsing for it in the Customize Brisvane dialog box by clicking on the Mail tab</source>
        <translation>Bitte legen Sie ein E-Mail-Programm fest: Suchen Sie es im Dialog „Brisvane anpassen“ auf der Registerkarte „E-Mail“</translation>
    </message>
</context>
<context>
    <name>MailSignIn</name>
    <message>
        <source>The sign-in was declined (%1)</source>
        <translation>Die Anmeldung wurde abgelehnt (%1)</translation>
    </message>
    <message>
        <source>The provider no longer accepts this sign-in (%1): sign in again</source>
        <translation>Der Anbieter nimmt diese Anmeldung nicht mehr an (%1): bitte neu anmelden</translation>
    </message>
    <message>
        <source>The sign-in failed: %1</source>
        <translation>Die Anmeldung ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The provider %1 could not be reached or answered no tokens (error %2)</source>
        <translation>Der Anbieter %1 war nicht erreichbar oder hat keine Token geliefert (Fehler %2)</translation>
    </message>
    <message>
        <source>No port on 127.0.0.1 could be opened for the sign-in</source>
        <translation>Für die Anmeldung konnte kein Port auf 127.0.0.1 geöffnet werden</translation>
    </message>
    <message>
        <source>Brisvane has the sign-in. You can close this page.</source>
        <translation>Brisvane hat die Anmeldung erhalten. Sie können diese Seite schließen.</translation>
    </message>
    <message numerus="yes">
        <source>No answer from the browser within %n minute(s): the sign-in is given up</source>
        <translation>
            <numerusform>Keine Antwort vom Browser innerhalb von %n Minute: die Anmeldung wird aufgegeben</numerusform>
            <numerusform>Keine Antwort vom Browser innerhalb von %n Minuten: die Anmeldung wird aufgegeben</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MailStream</name>
    <message>
        <source>Mail server %1 not found</source>
        <translation>Mailserver %1 nicht gefunden</translation>
    </message>
    <message>
        <source>Connection to %1 refused</source>
        <translation>Verbindung mit %1 abgelehnt</translation>
    </message>
    <message>
        <source>%1 closed the connection</source>
        <translation>%1 hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Network error with %1: %2</source>
        <translation>Netzwerkfehler bei %1: %2</translation>
    </message>
</context>
<context>
    <name>MailTab</name>
    <message>
        <source>Mail Slots</source>
        <translation>E-Mail-Fächer</translation>
    </message>
    <message>
        <source>Mail slot 1</source>
        <translation>E-Mail-Fach 1</translation>
    </message>
    <message>
        <source>Mail slot 2</source>
        <translation>E-Mail-Fach 2</translation>
    </message>
    <message>
        <source>Mail slot 3</source>
        <translation>E-Mail-Fach 3</translation>
    </message>
    <message>
        <source>Mail slot 4</source>
        <translation>E-Mail-Fach 4</translation>
    </message>
    <message>
        <source>Mail slot 5</source>
        <translation>E-Mail-Fach 5</translation>
    </message>
    <message>
        <source>Account &amp;Name</source>
        <translation>Konto&amp;name</translation>
    </message>
    <message>
        <source>&amp;UserName</source>
        <translation>&amp;Benutzername</translation>
    </message>
    <message>
        <source>Pass&amp;word</source>
        <translation>Pass&amp;wort</translation>
    </message>
    <message>
        <source>POP/&amp;Domain</source>
        <translation>POP/&amp;Domäne</translation>
    </message>
    <message>
        <source>Account Name</source>
        <translation>Kontoname</translation>
    </message>
    <message>
        <source>UserName</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>POP/Domain</source>
        <translation>POP/Domäne</translation>
    </message>
    <message>
        <source>Number of Mail Slots</source>
        <translation>Anzahl der E-Mail-Fächer</translation>
    </message>
    <message>
        <source>Chec&amp;k messages every   minutes and pause between mail accounts</source>
        <translation>E-Mails alle   Minuten abrufen, &amp;zwischen den Konten   pausieren</translation>
    </message>
    <message>
        <source>Minutes between checks</source>
        <translation>Minuten zwischen den Abrufen</translation>
    </message>
    <message>
        <source>Pause between mail accounts</source>
        <translation>Pause zwischen den E-Mail-Konten</translation>
    </message>
    <message>
        <source>&amp;Check mail after connection</source>
        <translation>E-Mails nach dem Verbinden &amp;abrufen</translation>
    </message>
    <message>
        <source>A&amp;lert when mail arrives</source>
        <translation>Si&amp;gnal bei neuer E-Mail</translation>
    </message>
    <message>
        <source>Sound played when mail arrives</source>
        <translation>Klang bei neuer E-Mail</translation>
    </message>
    <message>
        <source>Brow&amp;se</source>
        <translation>Du&amp;rchsuchen</translation>
    </message>
    <message>
        <source>Br&amp;owse</source>
        <translation>D&amp;urchsuchen</translation>
    </message>
    <message>
        <source>Alert when &amp;there is no mail</source>
        <translation>Signal, wenn &amp;keine E-Mail da ist</translation>
    </message>
    <message>
        <source>Sound played when there is no mail</source>
        <translation>Klang, wenn keine E-Mail da ist</translation>
    </message>
    <message>
        <source>&amp;Mail Program Command Line</source>
        <translation>Befehlszeile des E-&amp;Mail-Programms</translation>
    </message>
    <message>
        <source>Browse for the mail program</source>
        <translation>Nach dem E-Mail-Programm suchen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>Durch&amp;suchen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>How to Remove a Mail Account</source>
        <translation>So entfernen Sie ein E-Mail-Konto</translation>
    </message>
    <message>
        <source>How to R&amp;emove a Mail Account</source>
        <translation>S&amp;o entfernen Sie ein E-Mail-Konto</translation>
    </message>
    <message>
        <source>D&amp;isable Mailchecking</source>
        <translation>E-Mai&amp;l-Abruf ausschalten</translation>
    </message>
    <message>
        <source>Mail Program</source>
        <translation>E-Mail-Programm</translation>
    </message>
    <message>
        <source>Programs (*)</source>
        <translation>Programme (*)</translation>
    </message>
    <message>
        <source>every</source>
        <comment>the word of &quot;Check messages every   minutes...&quot; the minutes follow</comment>
        <translation>alle</translation>
    </message>
    <message>
        <source>pause</source>
        <comment>the word of &quot;Check messages every   minutes...&quot; the pause follows</comment>
        <translation>Konten</translation>
    </message>
    <message>
        <source>To remove Mail Accounts perform the following steps:</source>
        <translation>So entfernen Sie E-Mail-Konten:</translation>
    </message>
    <message>
        <source>1. Select the mail account by clicking its option button</source>
        <translation>1. Wählen Sie das E-Mail-Konto mit seinem Optionsfeld aus</translation>
    </message>
    <message>
        <source>2. Delete the 3 account entries (Username, Password, POP/Domain) by selecting them and pressing delete or using the backspace key</source>
        <translation>2. Löschen Sie die 3 Kontoangaben (Benutzername, Passwort, POP/Domäne): Markieren Sie sie und drücken Sie Entf oder die Rücktaste</translation>
    </message>
    <message>
        <source>3. Then change the number of mailslots entry to reflect how many accounts you have.</source>
        <translation>3. Stellen Sie dann die Anzahl der E-Mail-Fächer auf die Zahl Ihrer Konten ein.</translation>
    </message>
    <message>
        <source>All settings will be saved automatically</source>
        <translation>Alle Einstellungen werden automatisch gespeichert</translation>
    </message>
    <message>
        <source>pop.example.org or imaps://imap.example.org</source>
        <translation>pop.example.org oder imaps://imap.example.org</translation>
    </message>
    <message>
        <source>A POP3 server&apos;s name (pop3s://name for POP3 over TLS), or imap://name (STARTTLS when the server offers it) or imaps://name for IMAP; :port after the name where the server does not use the usual one</source>
        <translation>Der Name eines POP3-Servers (pop3s://Name für POP3 über TLS), oder imap://Name (STARTTLS, wenn der Server es anbietet) bzw. imaps://Name für IMAP; :Port nach dem Namen, wo der Server nicht den üblichen verwendet</translation>
    </message>
    <message>
        <source>List unread messa&amp;ges only (IMAP)</source>
        <translation>Nur ungelesene Nachrich&amp;ten auflisten (IMAP)</translation>
    </message>
    <message>
        <source>The check window lists this account&apos;s unread messages only; unchecked, it lists all of them with the unread ones counted</source>
        <translation>Das Fenster der Abfrage listet nur die ungelesenen Nachrichten dieses Kontos auf; ohne Haken listet es alle auf und zählt die ungelesenen</translation>
    </message>
</context>
<context>
    <name>MessageList</name>
    <message>
        <source>Deleting Messages</source>
        <translation>Nachrichten löschen</translation>
    </message>
    <message>
        <source>Please select a message(s) by clicking in the appropriate checkbox</source>
        <translation>Bitte wählen Sie eine oder mehrere Nachrichten aus, indem Sie das zugehörige Kästchen anklicken</translation>
    </message>
    <message>
        <source>Message Deleted</source>
        <translation>Nachricht gelöscht</translation>
    </message>
</context>
<context>
    <name>NewMail</name>
    <message>
        <source>You have new mail (%1 new)</source>
        <translation>Sie haben neue E-Mails (%1 neu)</translation>
    </message>
</context>
<context>
    <name>NoticeDialog</name>
    <message>
        <source>&amp;Show this message in the future</source>
        <translation>&amp;Diese Meldung künftig anzeigen</translation>
    </message>
</context>
<context>
    <name>OAuthTokens</name>
    <message>
        <source>Not signed in with the provider: sign in first</source>
        <translation>Nicht beim Anbieter angemeldet: bitte zuerst anmelden</translation>
    </message>
</context>
<context>
    <name>Parser</name>
    <message>
        <source>a response without a tag</source>
        <translation>eine Antwort ohne Tag</translation>
    </message>
    <message>
        <source>a response without a keyword</source>
        <translation>eine Antwort ohne Schlüsselwort</translation>
    </message>
    <message>
        <source>a tagged %1</source>
        <translation>ein getaggtes %1</translation>
    </message>
    <message>
        <source>a tagged response that is not OK, NO or BAD</source>
        <translation>eine getaggte Antwort, die weder OK noch NO noch BAD ist</translation>
    </message>
    <message>
        <source>a list without its &quot;)&quot;</source>
        <translation>eine Liste ohne ihr „)“</translation>
    </message>
    <message>
        <source>a &quot;)&quot; without its &quot;(&quot;</source>
        <translation>ein „)“ ohne sein „(“</translation>
    </message>
    <message>
        <source>more than %1 values</source>
        <translation>mehr als %1 Werte</translation>
    </message>
    <message>
        <source>lists nested deeper than %1</source>
        <translation>Listen tiefer verschachtelt als %1</translation>
    </message>
    <message>
        <source>a quoted string without its closing quote</source>
        <translation>eine Zeichenkette in Anführungszeichen ohne schließendes Anführungszeichen</translation>
    </message>
    <message>
        <source>a literal without its size</source>
        <translation>ein Literal ohne Größe</translation>
    </message>
    <message>
        <source>a literal with a bad size</source>
        <translation>ein Literal mit ungültiger Größe</translation>
    </message>
    <message>
        <source>a literal size not at the end of a line</source>
        <translation>eine Literalgröße nicht am Zeilenende</translation>
    </message>
    <message>
        <source>a literal longer than its response</source>
        <translation>ein Literal länger als seine Antwort</translation>
    </message>
    <message>
        <source>a control character in an atom</source>
        <translation>ein Steuerzeichen in einem Atom</translation>
    </message>
    <message>
        <source>an unexpected &quot;%1&quot;</source>
        <translation>ein unerwartetes „%1“</translation>
    </message>
</context>
<context>
    <name>Passwords</name>
    <message>
        <source>Passwords are kept in the desktop keyring.</source>
        <translation>Passwörter werden im Schlüsselbund der Arbeitsumgebung aufbewahrt.</translation>
    </message>
    <message>
        <source>No desktop keyring answers: passwords are kept in the settings file (readable by you only).</source>
        <translation>Kein Schlüsselbund der Arbeitsumgebung antwortet: Passwörter werden in der Einstellungsdatei aufbewahrt (nur für Sie lesbar).</translation>
    </message>
    <message>
        <source>Looking for the desktop keyring...</source>
        <translation>Schlüsselbund der Arbeitsumgebung wird gesucht...</translation>
    </message>
    <message>
        <source>The program is ending</source>
        <translation>Das Programm wird beendet</translation>
    </message>
    <message>
        <source>the password is kept in the desktop keyring, which does not answer</source>
        <translation>das Passwort liegt im Schlüsselbund der Arbeitsumgebung, der nicht antwortet</translation>
    </message>
    <message>
        <source>the keyring is locked, or access to it was declined</source>
        <translation>der Schlüsselbund ist gesperrt, oder der Zugriff wurde verweigert</translation>
    </message>
    <message>
        <source>No desktop keyring answers: the passwords kept in it cannot be read now; passwords typed now are kept in the settings file (readable by you only).</source>
        <translation>Kein Schlüsselbund der Arbeitsumgebung antwortet: Die dort aufbewahrten Passwörter können jetzt nicht gelesen werden; jetzt eingegebene Passwörter werden in der Einstellungsdatei aufbewahrt (nur für Sie lesbar).</translation>
    </message>
    <message>
        <source>Kept in the desktop keyring, which does not answer</source>
        <translation>Im Schlüsselbund der Arbeitsumgebung aufbewahrt, der nicht antwortet</translation>
    </message>
    <message>
        <source>Brisvane: %1 (%2@%3)</source>
        <translation>Brisvane: %1 (%2@%3)</translation>
    </message>
    <message>
        <source>mail slot %1</source>
        <translation>E-Mail-Fach %1</translation>
    </message>
    <message>
        <source>Brisvane: dial-up logon (%1)</source>
        <translation>Brisvane: DFÜ-Anmeldung (%1)</translation>
    </message>
</context>
<context>
    <name>PopConnection</name>
    <message>
        <source>%1 sent a reply line longer than %2 bytes</source>
        <translation>%1 sandte eine Antwortzeile länger als %2 Byte</translation>
    </message>
    <message>
        <source>%1 sent something that is not a POP3 reply: %2</source>
        <translation>%1 sandte etwas, das keine POP3-Antwort ist: %2</translation>
    </message>
    <message>
        <source>%1 sent a reply over the limit of %2 KiB or a line over %3 KiB; the connection is dropped</source>
        <translation>%1 sandte eine Antwort über der Grenze von %2 KiB oder eine Zeile über %3 KiB; die Verbindung wird getrennt</translation>
    </message>
</context>
<context>
    <name>PopLogOn</name>
    <message>
        <source>Connecting to %1</source>
        <translation>Verbindung mit %1 wird hergestellt</translation>
    </message>
    <message>
        <source>%1 turned the connection away: %2</source>
        <translation>%1 hat die Verbindung abgewiesen: %2</translation>
    </message>
    <message>
        <source>Starting TLS with %1</source>
        <translation>TLS mit %1 wird gestartet</translation>
    </message>
    <message>
        <source>%1 offered STLS and then refused it: %2</source>
        <translation>%1 hat STLS angeboten und dann abgelehnt: %2</translation>
    </message>
    <message>
        <source>Logging on as %1 with %2</source>
        <translation>Anmeldung als %1 mit %2</translation>
    </message>
    <message>
        <source>%1 refused the log-on of %2 (%3): %4</source>
        <translation>%1 hat die Anmeldung von %2 abgelehnt (%3): %4</translation>
    </message>
    <message>
        <source>, then </source>
        <translation>, dann </translation>
    </message>
    <message>
        <source>%1 refused STAT: %2</source>
        <translation>%1 hat STAT abgelehnt: %2</translation>
    </message>
    <message>
        <source>%1 answered STAT with no message count</source>
        <translation>%1 hat STAT ohne Nachrichtenzahl beantwortet</translation>
    </message>
</context>
<context>
    <name>PppdLine</name>
    <message>
        <source>no phone number is set in the user logon settings</source>
        <translation>in der Benutzeranmeldung ist keine Telefonnummer eingetragen</translation>
    </message>
    <message>
        <source>pppd&apos;s options could not be written to a private folder</source>
        <translation>die Optionen für pppd konnten nicht in einen privaten Ordner geschrieben werden</translation>
    </message>
    <message>
        <source>no pppd peer &quot;%1&quot; in %2</source>
        <translation>kein pppd-Peer „%1“ in %2</translation>
    </message>
    <message>
        <source>pppd is not installed (Debian package ppp)</source>
        <translation>pppd ist nicht installiert (Debian-Paket ppp)</translation>
    </message>
    <message>
        <source>pppd could not be started: %1</source>
        <translation>pppd konnte nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>ProgramsTab</name>
    <message>
        <source>Pro&amp;gram</source>
        <translation>Pro&amp;gramm</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>Hi&amp;nzufügen</translation>
    </message>
    <message>
        <source>D&amp;elete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Run Program</source>
        <translation>&amp;Programm starten</translation>
    </message>
    <message>
        <source>Run &amp;when connected</source>
        <translation>Beim Verbinden &amp;starten</translation>
    </message>
    <message>
        <source>R&amp;un when disconnected</source>
        <translation>&amp;Beim Trennen starten</translation>
    </message>
    <message>
        <source>D&amp;isable Programs/Applications</source>
        <translation>Programme/&amp;Anwendungen ausschalten</translation>
    </message>
    <message>
        <source>Click the appropriate program then click the Run Program button or double-click the program to execute</source>
        <translation>Klicken Sie auf das gewünschte Programm und dann auf „Programm starten“, oder doppelklicken Sie auf das Programm, um es auszuführen</translation>
    </message>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>Maximum limit of programs/utilities are listed. Please remove a program/utility.</source>
        <translation>Die Höchstzahl an Programmen/Werkzeugen ist erreicht. Bitte entfernen Sie ein Programm/Werkzeug.</translation>
    </message>
    <message>
        <source>Add Program</source>
        <translation>Programm hinzufügen</translation>
    </message>
    <message>
        <source>Programs (*);;All Files (*)</source>
        <translation>Programme (*);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 is not a program: only files that may be run can be added.</source>
        <translation>%1 ist kein Programm: Nur ausführbare Dateien können hinzugefügt werden.</translation>
    </message>
</context>
<context>
    <name>SettingsTab</name>
    <message>
        <source>Startup Features</source>
        <translation>Beim Start</translation>
    </message>
    <message>
        <source>Minimize &amp;to taskbar on startup</source>
        <translation>&amp;Beim Start in die Taskleiste minimieren</translation>
    </message>
    <message>
        <source>&amp;Minimize to system tray on startup</source>
        <translation>Beim &amp;Start in den Systembereich minimieren</translation>
    </message>
    <message>
        <source>After Connecting Features</source>
        <translation>Nach dem Verbinden</translation>
    </message>
    <message>
        <source>Minimize to taskbar after &amp;connecting</source>
        <translation>Nach dem Verbinden in die &amp;Taskleiste minimieren</translation>
    </message>
    <message>
        <source>Minimize to &amp;system tray after connecting</source>
        <translation>&amp;Nach dem Verbinden in den Systembereich minimieren</translation>
    </message>
    <message>
        <source>&amp;Reconnect when disconnected unintentionally</source>
        <translation>Nach &amp;ungewolltem Trennen neu verbinden</translation>
    </message>
    <message>
        <source>Tray Icon Features</source>
        <translation>Symbol im Systembereich</translation>
    </message>
    <message>
        <source>Show customize Brisvane dialog when connecting &amp;from tray icon</source>
        <translation>Dialog „Brisvane anpassen“ beim Verbinden &amp;über das Symbol im Systembereich zeigen</translation>
    </message>
    <message>
        <source>Connect and Disconnect &amp;on single click from tray icon and restore Brisvane Customize dialog to and from the system tray with double-click (Note: When this feature is disabled you can restore the Customize Brisvane dialog to and from the system tray with a single click)</source>
        <translation>Mit einem &amp;Klick auf das Symbol im Systembereich verbinden und trennen und den Dialog „Brisvane anpassen“ mit einem Doppelklick aus dem Systembereich holen und dorthin ablegen (Hinweis: Ist diese Funktion aus, holt und legt ein einfacher Klick den Dialog „Brisvane anpassen“ ab)</translation>
    </message>
    <message>
        <source>Mail Checking Features</source>
        <translation>E-Mail-Abruf</translation>
    </message>
    <message>
        <source>Check mail &amp;by displaying message headers only (TOP Functionality)</source>
        <translation>E-Mails nur mit den Nachrichtenköpfen &amp;abrufen (TOP-Funktion)</translation>
    </message>
    <message>
        <source>Details of checking mail by message headers only</source>
        <translation>Details zum Abruf nur der Nachrichtenköpfe</translation>
    </message>
    <message>
        <source>D&amp;etails</source>
        <translation>D&amp;etails</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>Check mail &amp;with Checking Mail dialog minimized to the taskbar</source>
        <translation>E-&amp;Mails mit dem Fenster „E-Mails werden abgerufen“ in der Taskleiste minimiert abrufen</translation>
    </message>
    <message>
        <source>Details of checking mail minimized</source>
        <translation>Details zum minimierten E-Mail-Abruf</translation>
    </message>
    <message>
        <source>Retrieving Message Headers Only</source>
        <translation>Nur Nachrichtenköpfe abrufen</translation>
    </message>
    <message>
        <source>This feature lets you retrieve message header information only (subject, date, time, sender) without needing to retrieve the entire message or attachments. Normally, most users want to retrieve their mail messages in their entirety including attachments. However there may be times when you only want to retrieve the message headers only. This is very convenient for users who do not want to retrieve large messages from the server to their own machine. It also allows you to delete the message(s) from the server before retrieving them to your machine.</source>
        <translation>Mit dieser Funktion rufen Sie nur die Kopfdaten der Nachrichten ab (Betreff, Datum, Uhrzeit, Absender), ohne die ganze Nachricht samt Anhängen abzurufen. Meist möchte man seine Nachrichten vollständig mit Anhängen abrufen. Manchmal aber genügen die Nachrichtenköpfe. Das ist praktisch, wenn Sie große Nachrichten nicht vom Server auf Ihren Rechner holen möchten. Außerdem können Sie so Nachrichten auf dem Server löschen, bevor Sie sie auf Ihren Rechner holen.</translation>
    </message>
    <message>
        <source>Checking Mail at a Minimized WindowState</source>
        <translation>E-Mails bei minimiertem Fenster abrufen</translation>
    </message>
    <message>
        <source>This feature allows you to check you mail with the Checking Mail Dialog Box minimized to the taskbar. This will be useful if you would not like the Checking Mail dialog to pop up and interrupt you at what you are doing at the current time. You may only use this feature when you have enabled the &lt;Check messages every x minutes and pause between messages every x minutes&gt; which is located on the Mail tab. This feature will not work when you check mail by selecting the appropriate account by right-clicking the tray icon. Since the window will be minimized, you will be notified of any new mail by the Checking Mail dialog button in the taskbar blinking (Windows 98 Platform only), the tray icon will display a mailbox icon (Windows 95/98 Platform), and perform a notification sound.</source>
        <translation>Mit dieser Funktion rufen Sie E-Mails ab, während das Fenster „E-Mails werden abgerufen“ in der Taskleiste minimiert bleibt. Das ist nützlich, wenn das Fenster nicht aufspringen und Sie bei Ihrer aktuellen Arbeit stören soll. Die Funktion steht nur zur Verfügung, wenn auf der Registerkarte „E-Mail“ die Option &lt;E-Mails alle x Minuten abrufen, zwischen den Konten x pausieren&gt; eingeschaltet ist. Sie wirkt nicht, wenn Sie E-Mails über das Konto im Kontextmenü des Symbols im Systembereich abrufen. Da das Fenster minimiert ist, erfahren Sie von neuen E-Mails durch das Blinken seiner Schaltfläche in der Taskleiste (nur unter Windows 98), ein Briefkastensymbol im Systembereich (Windows 95/98) und einen Signalton.</translation>
    </message>
</context>
<context>
    <name>SlotMailControl</name>
    <message>
        <source>The password of %1 could not be read from the desktop keyring: %2</source>
        <translation>Das Passwort von %1 konnte nicht aus dem Schlüsselbund der Arbeitsumgebung gelesen werden: %2</translation>
    </message>
    <message>
        <source> (declined for this account; change its POP/Domain text to be asked again)</source>
        <translation> (für dieses Konto abgelehnt; ändern Sie seinen POP/Domäne-Eintrag, um erneut gefragt zu werden)</translation>
    </message>
</context>
<context>
    <name>SslMailStream</name>
    <message>
        <source>%1 sent data after agreeing to %2</source>
        <translation>%1 sandte Daten, nachdem es %2 zugestimmt hatte</translation>
    </message>
    <message>
        <source>TLS is not available on this system</source>
        <translation>TLS ist auf diesem System nicht verfügbar</translation>
    </message>
    <message>
        <source>No certificate in %1</source>
        <translation>Kein Zertifikat in %1</translation>
    </message>
    <message>
        <source>The certificate of %1 is not the one trusted for this account (SHA-256 %2, trusted %3): it was replaced, or someone is in between</source>
        <translation>Das Zertifikat von %1 ist nicht das für dieses Konto vertraute (SHA-256 %2, vertraut %3): Es wurde ersetzt, oder jemand steht dazwischen</translation>
    </message>
</context>
<context>
    <name>SystemEvents</name>
    <message>
        <source>Logging out of the mail servers</source>
        <translation>Abmelden von den Mailservern</translation>
    </message>
</context>
<context>
    <name>TrayStatus</name>
    <message>
        <source>Click to Connect / Double-click to zoom dialog to and from tray</source>
        <translation>Klick: Verbinden / Doppelklick: Dialog in den Systembereich und zurück</translation>
    </message>
    <message>
        <source>Single click to zoom dialog to and from tray</source>
        <translation>Einfacher Klick: Dialog in den Systembereich und zurück</translation>
    </message>
</context>
<context>
    <name>UpDown</name>
    <message>
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Runter</translation>
    </message>
    <message>
        <source>Raises %1 by one</source>
        <translation>Erhöht %1 um eins</translation>
    </message>
    <message>
        <source>Lowers %1 by one</source>
        <translation>Verringert %1 um eins</translation>
    </message>
</context>
<context>
    <name>UsageLimitBox</name>
    <message>
        <source>Monthly usage limit (a notice at 80 % and 100 %)</source>
        <translation>Monatliche Nutzungsgrenze (Hinweis bei 80 % und 100 %)</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Keine Grenze</translation>
    </message>
    <message>
        <source>Monthly usage limit</source>
        <translation>Monatliche Nutzungsgrenze</translation>
    </message>
    <message>
        <source>Usage limit unit</source>
        <translation>Einheit der Nutzungsgrenze</translation>
    </message>
    <message>
        <source>hours a month</source>
        <translation>Stunden im Monat</translation>
    </message>
    <message>
        <source>megabytes a month</source>
        <translation>Megabyte im Monat</translation>
    </message>
</context>
<context>
    <name>UsageSessionsModel</name>
    <message>
        <source>(online)</source>
        <translation>(online)</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>Time online</source>
        <translation>Online-Zeit</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Ended by</source>
        <translation>Beendet durch</translation>
    </message>
    <message>
        <source>user</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>dropped</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>program exit</source>
        <translation>Programmende</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>About Brisvane</source>
        <translation>Über Brisvane</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brisvane&lt;/b&gt; %1</source>
        <translation>&lt;b&gt;Brisvane&lt;/b&gt; %1</translation>
    </message>
    <message>
        <source>Dials your connection, keeps it up, starts your programs when it comes up or goes down, and checks your POP3 and IMAP mail, from the system tray.</source>
        <translation>Wählt Ihre Verbindung, hält sie aufrecht, startet Ihre Programme beim Verbinden und Trennen und ruft Ihre POP3- und IMAP-E-Mails ab, vom Systembereich aus.</translation>
    </message>
</context>
<context>
    <name>frmAlert</name>
    <message>
        <source>Sound Alerts</source>
        <translation>Klangsignale</translation>
    </message>
    <message>
        <source>Path/Filename</source>
        <translation>Pfad/Dateiname</translation>
    </message>
    <message>
        <source>Select a sound file by browsing below for the correct path/filename</source>
        <translation>Wählen Sie unten mit „Durchsuchen“ eine Klangdatei mit dem richtigen Pfad/Dateinamen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>Durch&amp;suchen...</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Testen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>Wav (*.wav)</source>
        <translation>Wav (*.wav)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>frmBrisvane</name>
    <message>
        <source>Connection(s)</source>
        <translation>Verbindung(en)</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Voreinstellungen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>The tray icon&apos;s menu</source>
        <translation>Das Menü des Symbols im Systembereich</translation>
    </message>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>The help file %1 could not be found.</source>
        <translation>Die Hilfedatei %1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>No viewer could open the help file %1.</source>
        <translation>Kein Anzeigeprogramm konnte die Hilfedatei %1 öffnen.</translation>
    </message>
    <message>
        <source>Customize Brisvane</source>
        <translation>Brisvane anpassen</translation>
    </message>
</context>
<context>
    <name>frmCheckMail</name>
    <message>
        <source>Checking Mail</source>
        <translation>E-Mails werden abgerufen</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>Datum/Uhrzeit</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Nachrichten</translation>
    </message>
    <message>
        <source>From, Subject and Date/Time of each message</source>
        <translation>Absender, Betreff und Datum/Uhrzeit jeder Nachricht</translation>
    </message>
    <message>
        <source>Place a check in the box next to the message(s) to remove or click Select All Messages to select all</source>
        <translation>Setzen Sie einen Haken neben die zu entfernenden Nachrichten oder klicken Sie auf „Alle Nachrichten auswählen“, um alle auszuwählen</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Wird bearbeitet...</translation>
    </message>
    <message>
        <source>&amp;Select All Messages</source>
        <translation>&amp;Alle Nachrichten auswählen</translation>
    </message>
    <message>
        <source>&amp;Delete Message(s)</source>
        <translation>Nachricht(en) &amp;löschen</translation>
    </message>
    <message>
        <source>Delete Message(s) from Host</source>
        <translation>Nachricht(en) auf dem Server löschen</translation>
    </message>
    <message>
        <source>&amp;Run Mail Program</source>
        <translation>E-Mail-Programm &amp;starten</translation>
    </message>
    <message>
        <source>Launch Mail Program</source>
        <translation>E-Mail-Programm starten</translation>
    </message>
    <message>
        <source>&amp;Next Mail Account</source>
        <translation>&amp;Nächstes E-Mail-Konto</translation>
    </message>
    <message>
        <source>Check next mail account</source>
        <translation>Nächstes E-Mail-Konto abrufen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>Cancel Process</source>
        <translation>Vorgang abbrechen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>You have new mail</source>
        <translation>Sie haben neue E-Mails</translation>
    </message>
    <message>
        <source>Checking mail on %1......</source>
        <translation>E-Mails von %1 werden abgerufen......</translation>
    </message>
    <message>
        <source>Number of messages waiting on %1: %2</source>
        <translation>Wartende Nachrichten bei %1: %2</translation>
    </message>
    <message>
        <source>Mail on %1</source>
        <translation>E-Mails bei %1</translation>
    </message>
    <message>
        <source>Could not check %1</source>
        <translation>%1 konnte nicht abgerufen werden</translation>
    </message>
    <message>
        <source>  %1 second(s)</source>
        <translation>  %1 Sekunde(n)</translation>
    </message>
    <message>
        <source>Closing Checking Mail Dialog:</source>
        <translation>Fenster „E-Mails werden abgerufen“ schließt in:</translation>
    </message>
    <message>
        <source>Checking next account:</source>
        <translation>Nächstes Konto wird abgerufen in:</translation>
    </message>
    <message>
        <source>Messages deleted: %1 of %2</source>
        <translation>Gelöschte Nachrichten: %1 von %2</translation>
    </message>
    <message>
        <source>Deleting messages: %1 of %2</source>
        <translation>Nachrichten werden gelöscht: %1 von %2</translation>
    </message>
    <message>
        <source>Mar&amp;k as Read</source>
        <translation>Als gelesen mar&amp;kieren</translation>
    </message>
    <message>
        <source>Mark the ticked message(s) read on the server</source>
        <translation>Die angehakten Nachrichten auf dem Server als gelesen markieren</translation>
    </message>
    <message>
        <source>Mark as Read</source>
        <translation>Als gelesen markieren</translation>
    </message>
</context>
<context>
    <name>frmClearTextQuestion</name>
    <message>
        <source>Send &amp;unencrypted</source>
        <translation>&amp;Unverschlüsselt senden</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t send</source>
        <translation>&amp;Nicht senden</translation>
    </message>
    <message>
        <source>this account</source>
        <translation>dieses Konto</translation>
    </message>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>Brisvane: %1</source>
        <translation>Brisvane: %1</translation>
    </message>
    <message>
        <source>The server %1 offers no encryption. Send the password unencrypted?

Anyone on the way to the server could read it. The answer is kept for %2; until it is yes, its checks fail.</source>
        <translation>Der Server %1 bietet keine Verschlüsselung an. Das Passwort unverschlüsselt senden?

Jeder auf dem Weg zum Server könnte es lesen. Die Antwort gilt für %2; solange sie nicht Ja lautet, schlagen seine Abrufe fehl.</translation>
    </message>
</context>
<context>
    <name>frmCloseMailProgramMessage</name>
    <message>
        <source>Close Mail Program</source>
        <translation>E-Mail-Programm schließen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message numerus="yes">
        <source>Please close your mail program after checking your messages to enable Brisvane to continue checking for messages every %n minute(s). Your mail program will start now.</source>
        <translation>
            <numerusform>Bitte schließen Sie Ihr E-Mail-Programm, nachdem Sie Ihre Nachrichten gelesen haben, damit Brisvane weiter jede Minute nach Nachrichten sehen kann. Ihr E-Mail-Programm startet jetzt.</numerusform>
            <numerusform>Bitte schließen Sie Ihr E-Mail-Programm, nachdem Sie Ihre Nachrichten gelesen haben, damit Brisvane weiter alle %n Minuten nach Nachrichten sehen kann. Ihr E-Mail-Programm startet jetzt.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmCustomizeBrisvaneReminder</name>
    <message>
        <source>Closing Brisvane Customize Dialog</source>
        <translation>Brisvane-Anpassungsdialog schließen</translation>
    </message>
    <message>
        <source>To close the Customize Brisvane dialog please click in the bottom left section of the dialog box or click or double-click the system tray icon.</source>
        <translation>Um den Dialog „Brisvane anpassen“ zu schließen, klicken Sie bitte unten links in den Dialog oder klicken oder doppelklicken Sie auf das Symbol im Systembereich.</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>frmDeleteMessageConfirmation</name>
    <message>
        <source>Deleting Messages</source>
        <translation>Nachrichten löschen</translation>
    </message>
    <message>
        <source>Once you delete the following message(s), they will be permanently erased. Are you sure you would like to delete the selected message(s)?</source>
        <translation>Die folgenden Nachrichten werden beim Löschen endgültig entfernt. Möchten Sie die ausgewählten Nachrichten wirklich löschen?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>frmMailServerError</name>
    <message>
        <source>Mail Server Error</source>
        <translation>Fehler des Mailservers</translation>
    </message>
    <message>
        <source>Mail Server Error, click Details for more information</source>
        <translation>Fehler des Mailservers, klicken Sie auf „Details“ für mehr Informationen</translation>
    </message>
    <message>
        <source>&amp;Next Account</source>
        <translation>&amp;Nächstes Konto</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Details&gt;&gt;</source>
        <translation>&amp;Details&gt;&gt;</translation>
    </message>
    <message>
        <source>Mail Account %1 is unresponsive</source>
        <translation>E-Mail-Konto %1 antwortet nicht</translation>
    </message>
    <message>
        <source>This error may be resulting in an incorrect username, password, or domain name or the mail server is unresponsive at this time. Please check your settings on the Mail tab and try again later.</source>
        <translation>Dieser Fehler kann von einem falschen Benutzernamen, Passwort oder Domänennamen herrühren, oder der Mailserver antwortet zurzeit nicht. Bitte prüfen Sie Ihre Einstellungen auf der Registerkarte „E-Mail“ und versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>&amp;Trust Certificate</source>
        <translation>Zertifikat &amp;vertrauen</translation>
    </message>
    <message>
        <source>Certificate: %1</source>
        <translation>Zertifikat: %1</translation>
    </message>
    <message>
        <source>Issued by: %1</source>
        <translation>Ausgestellt von: %1</translation>
    </message>
    <message>
        <source>SHA-256: %1</source>
        <translation>SHA-256: %1</translation>
    </message>
    <message>
        <source>Valid from %1 to %2</source>
        <translation>Gültig von %1 bis %2</translation>
    </message>
    <message>
        <source>Trusted</source>
        <translation>Vertraut</translation>
    </message>
</context>
<context>
    <name>frmNoTrayNotice</name>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>This desktop shows no tray icons, so Brisvane cannot put its icon in the system tray. The Customize dialog stays on the taskbar instead: where Brisvane would put it into the tray it is minimised, and the tray icon&apos;s menu opens from the Menu button on the dialog.</source>
        <translation>Diese Arbeitsumgebung zeigt keine Symbole im Systembereich, daher kann Brisvane sein Symbol nicht dort ablegen. Der Dialog „Brisvane anpassen“ bleibt stattdessen in der Taskleiste: Wo Brisvane ihn in den Systembereich legen würde, wird er minimiert, und das Menü des Symbols öffnet sich über die Schaltfläche „Menü“ im Dialog.</translation>
    </message>
    <message>
        <source>To get a tray on GNOME, install and switch on the extension &quot;AppIndicator and KStatusNotifierItem Support&quot; (Debian&apos;s gnome-shell-extension-appindicator), then log out and in again.</source>
        <translation>Für einen Systembereich unter GNOME installieren und aktivieren Sie die Erweiterung „AppIndicator and KStatusNotifierItem Support“ (bei Debian gnome-shell-extension-appindicator) und melden sich danach ab und wieder an.</translation>
    </message>
    <message>
        <source>To get a tray on Plasma, add the &quot;System Tray&quot; widget to a panel.</source>
        <translation>Für einen Systembereich unter Plasma fügen Sie einer Kontrollleiste das Miniprogramm „Systemabschnitt“ hinzu.</translation>
    </message>
    <message>
        <source>To get a tray on Xfce, add the &quot;Status Tray Plugin&quot; item to a panel.</source>
        <translation>Für einen Systembereich unter Xfce fügen Sie einer Leiste das Element „Status Tray Plugin“ hinzu.</translation>
    </message>
    <message>
        <source>To get a tray on LXQt, add the &quot;Status Notifier&quot; widget to a panel.</source>
        <translation>Für einen Systembereich unter LXQt fügen Sie einer Leiste das Widget „Status Notifier“ hinzu.</translation>
    </message>
    <message>
        <source>To get a tray, add a system tray or status notifier to a panel or bar (waybar&apos;s &quot;tray&quot; module, say).</source>
        <translation>Für einen Systembereich fügen Sie einer Leiste einen Systembereich oder Status Notifier hinzu (etwa das Modul „tray“ von waybar).</translation>
    </message>
</context>
<context>
    <name>frmPreferences</name>
    <message>
        <source>Show Customize Brisvane Dialog on Startup</source>
        <translation>Dialog „Brisvane anpassen“ beim Start zeigen</translation>
    </message>
    <message>
        <source>Show Customize Brisvane Dialog Reminder</source>
        <translation>Erinnerung zum Dialog „Brisvane anpassen“ zeigen</translation>
    </message>
    <message>
        <source>Show Close Mail Program Message Dialog</source>
        <translation>Hinweis „E-Mail-Programm schließen“ zeigen</translation>
    </message>
    <message>
        <source>Show Delete Message Confirmation Dialog</source>
        <translation>Rückfrage zum Löschen von Nachrichten zeigen</translation>
    </message>
    <message>
        <source>Show desktop notifications</source>
        <translation>Benachrichtigungen der Arbeitsumgebung zeigen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>Start Brisvane when I log in</source>
        <translation>Brisvane bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Voreinstellungen</translation>
    </message>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>Brisvane could not be set to start when you log in.</source>
        <translation>Brisvane konnte nicht für den Start bei der Anmeldung eingerichtet werden.</translation>
    </message>
    <message>
        <source>Brisvane could not be kept from starting when you log in.</source>
        <translation>Der Start von Brisvane bei der Anmeldung konnte nicht abgestellt werden.</translation>
    </message>
    <message>
        <source>Quiet hours from</source>
        <translation>Ruhezeit von</translation>
    </message>
    <message>
        <source>No sound and no notification in this time; what came is told once it is over</source>
        <translation>In dieser Zeit kein Ton und keine Benachrichtigung; was kam, wird gemeldet, sobald sie vorbei ist</translation>
    </message>
    <message>
        <source>Quiet hours until</source>
        <translation>Ruhezeit bis</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
</context>
<context>
    <name>frmUsage</name>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Nutzung</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Month shown</source>
        <translation>Angezeigter Monat</translation>
    </message>
    <message>
        <source>Days of the month</source>
        <translation>Tage des Monats</translation>
    </message>
    <message>
        <source>Months of the year</source>
        <translation>Monate des Jahres</translation>
    </message>
    <message>
        <source>Chart span</source>
        <translation>Zeitraum des Diagramms</translation>
    </message>
    <message>
        <source>Chart measure</source>
        <translation>Größe im Diagramm</translation>
    </message>
    <message>
        <source>Time online (hours)</source>
        <translation>Online-Zeit (Stunden)</translation>
    </message>
    <message>
        <source>Data (MB)</source>
        <translation>Daten (MB)</translation>
    </message>
    <message>
        <source>Connections of the month</source>
        <translation>Verbindungen des Monats</translation>
    </message>
    <message>
        <source>Chart:</source>
        <translation>Diagramm:</translation>
    </message>
    <message>
        <source>%1 online, %2 received, %3 sent in %4 connection(s)</source>
        <translation>%1 online, %2 empfangen, %3 gesendet in %4 Verbindung(en)</translation>
    </message>
    <message>
        <source>Monthly limit: %1 used this month (%2 %)</source>
        <translation>Monatliche Grenze: %1 in diesem Monat genutzt (%2 %)</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Export Usage</source>
        <translation>Nutzung exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Brisvane</source>
        <translation>Brisvane</translation>
    </message>
    <message>
        <source>The usage could not be exported to %1: %2</source>
        <translation>Die Nutzung konnte nicht nach %1 exportiert werden: %2</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
</context>
<context>
    <name>frmUserLogonSettings</name>
    <message>
        <source>User Logon Settings</source>
        <translation>Benutzeranmeldung</translation>
    </message>
    <message>
        <source>Please enter your UserName, Password, and Number that you use to connect to the internet</source>
        <translation>Bitte geben Sie den Benutzernamen, das Passwort und die Nummer ein, mit denen Sie sich mit dem Internet verbinden</translation>
    </message>
    <message>
        <source>&amp;UserName</source>
        <translation>&amp;Benutzername</translation>
    </message>
    <message>
        <source>&amp;Password</source>
        <translation>&amp;Passwort</translation>
    </message>
    <message>
        <source>&amp;Number</source>
        <translation>&amp;Nummer</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
</context>
<context>
    <name>mMail</name>
    <message>
        <source>&quot;%1&quot; is not a mail server name</source>
        <translation>„%1“ ist kein Name eines Mailservers</translation>
    </message>
    <message>
        <source>The server has no TOP; headers are read with RETR, bodies dropped</source>
        <translation>Der Server kennt kein TOP; die Köpfe werden mit RETR gelesen und die Inhalte verworfen</translation>
    </message>
    <message numerus="yes">
        <source>%n message(s) waiting</source>
        <translation>
            <numerusform>%n Nachricht wartet</numerusform>
            <numerusform>%n Nachrichten warten</numerusform>
        </translation>
    </message>
    <message>
        <source>The server has no UIDL (%1), so it cannot tell new messages from old: each check announces them all</source>
        <translation>Der Server kennt kein UIDL (%1) und kann daher neue Nachrichten nicht von alten unterscheiden: Jeder Abruf meldet alle</translation>
    </message>
    <message>
        <source>The server&apos;s UIDL list misses messages, so it cannot tell new messages from old: each check announces them all</source>
        <translation>In der UIDL-Liste des Servers fehlen Nachrichten; er kann daher neue Nachrichten nicht von alten unterscheiden: Jeder Abruf meldet alle</translation>
    </message>
    <message>
        <source>The server answered QUIT with an error; deletions may not have been made: %1</source>
        <translation>Der Server hat QUIT mit einem Fehler beantwortet; Löschungen wurden möglicherweise nicht ausgeführt: %1</translation>
    </message>
    <message>
        <source>The server refused TOP; headers are read with RETR, bodies dropped</source>
        <translation>Der Server hat TOP abgelehnt; die Köpfe werden mit RETR gelesen und die Inhalte verworfen</translation>
    </message>
    <message>
        <source>The server refused the header of message %1: %2</source>
        <translation>Der Server hat den Kopf von Nachricht %1 verweigert: %2</translation>
    </message>
    <message>
        <source>Deleting message %1</source>
        <translation>Nachricht %1 wird gelöscht</translation>
    </message>
</context>
</TS>
