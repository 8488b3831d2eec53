#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The text of the settings file: "[Section]" lines followed by "Key=value" lines.
//
// Section and key names are matched without regard to case, and keep the spelling they were
// first written with. Values are kept byte for byte; a value that a plain line cannot carry
// (line breaks, control characters, surrounding blanks, a leading quote) is written quoted
// with C-style escapes.
class IniDocument
{
public:
    struct ParseError {
        int line = 0;
        QString reason;
    };

    static std::optional<IniDocument> parse(const QByteArray &text, ParseError *error = nullptr);
    QByteArray serialize() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    // Returns false when the value was already exactly this.
    bool setValue(const QString &section, const QString &key, const QString &value);
    int sectionCount() const { return int(m_sections.size()); }

    static bool isValidName(const QString &name);

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };
    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;

    QList<Section> m_sections;
};
