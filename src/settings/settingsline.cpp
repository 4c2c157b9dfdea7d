#include "settings/settingsline.h"

#include <QStringBuilder>

#include <limits>
#include <variant>

namespace {

const QLatin1String TrueFlag("#TRUE#");
const QLatin1String FalseFlag("#FALSE#");

// The fields in line order: where each one lives and what it is called in the reasons for a
// failure. The member's type gives the field's form and, for a number, its limits.
using FieldMember =
    std::variant<std::int32_t AppSettings::*, std::int16_t AppSettings::*, QString AppSettings::*, bool AppSettings::*>;

struct FieldEntry
{
    SettingsField field;
    FieldMember member;
    const char *name;
};

constexpr FieldEntry Fields[SettingsLine::FieldCount] = {
    {SettingsField::FormLeft, &AppSettings::formLeft, "bus window left"},
    {SettingsField::FormTop, &AppSettings::formTop, "bus window top"},
    {SettingsField::PanelLeft, &AppSettings::panelLeft, "settings panel left"},
    {SettingsField::PanelTop, &AppSettings::panelTop, "settings panel top"},
    {SettingsField::DesiMakuPath, &AppSettings::desiMakuPath, "roll-sign folder"},
    {SettingsField::ReservedText, &AppSettings::reservedText, "reserved text"},
    {SettingsField::ReservedNumber1, &AppSettings::reservedNumber1, "reserved number 1"},
    {SettingsField::ReservedNumber2, &AppSettings::reservedNumber2, "reserved number 2"},
    {SettingsField::KanbanPath, &AppSettings::kanbanPath, "signboard picture file"},
    {SettingsField::KanbanLeft, &AppSettings::kanbanLeft, "signboard left"},
    {SettingsField::KanbanTop, &AppSettings::kanbanTop, "signboard top"},
    {SettingsField::KanbanShown, &AppSettings::kanbanShown, "signboard shown"},
    {SettingsField::FrameShown, &AppSettings::frameShown, "frame shown"},
    {SettingsField::FrontSpeed, &AppSettings::frontSpeed, "front-door speed"},
    {SettingsField::MiddleSpeed, &AppSettings::middleSpeed, "middle-door speed"},
    {SettingsField::MiddleDoorMode, &AppSettings::middleDoorMode, "middle-door mode"},
};

// The table lists the fields in the order of their numbers.
constexpr bool fieldsInLineOrder()
{
    for (int index = 0; index < SettingsLine::FieldCount; ++index) {
        if (int(Fields[index].field) != index + 1) {
            return false;
        }
    }
    return true;
}
static_assert(fieldsInLineOrder());

template <class... Ts> struct Overloaded : Ts...
{
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

QString quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') % doubled % QLatin1Char('"');
}

QString flag(bool value)
{
    return value ? QString(TrueFlag) : QString(FalseFlag);
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Walks through the line field by field. Each read* function reads one field, with the blanks
// around it and the delimiter after it, and gives its value or the reason it failed.
class FieldReader
{
public:
    explicit FieldReader(QStringView text)
        : m_text(text)
    {
    }

    // `field` counts from 1; the numbers must lie in [min, max].
    Result<qint64> readNumber(int field, qint64 min, qint64 max)
    {
        if (!startField()) {
            return failure(missing(field));
        }
        const bool negative = peek() == QLatin1Char('-');
        if (negative) {
            ++m_pos;
        }
        const qsizetype digitsStart = m_pos;
        // Digits beyond the point where the value already exceeds every limit are only counted,
        // so a number of any length takes linear time and cannot overflow.
        constexpr qint64 Beyond = qint64(std::numeric_limits<std::int32_t>::max()) + 2;
        qint64 magnitude = 0;
        while (m_pos < m_text.size() && peek() >= QLatin1Char('0') && peek() <= QLatin1Char('9')) {
            magnitude = std::min(Beyond, magnitude * 10 + (peek().unicode() - '0'));
            ++m_pos;
        }
        if (m_pos == digitsStart || !endField(field)) {
            return failure(reason(field, QStringLiteral("not a whole number")));
        }
        const qint64 number = negative ? -magnitude : magnitude;
        if (number < min || number > max) {
            return failure(reason(field, QStringLiteral("the number does not fit its type")));
        }
        return number;
    }

    Result<QString> readText(int field)
    {
        if (!startField()) {
            return failure(missing(field));
        }
        if (peek() != QLatin1Char('"')) {
            return failure(reason(field, QStringLiteral("not a quoted text")));
        }
        ++m_pos;
        QString text;
        for (;;) {
            const qsizetype quote = m_text.indexOf(QLatin1Char('"'), m_pos);
            if (quote < 0) {
                return failure(reason(field, QStringLiteral("the text has no closing quote")));
            }
            text += m_text.mid(m_pos, quote - m_pos);
            m_pos = quote + 1;
            // A doubled quote stands for one quote inside the text.
            if (m_pos < m_text.size() && peek() == QLatin1Char('"')) {
                text += QLatin1Char('"');
                ++m_pos;
                continue;
            }
            break;
        }
        if (!endField(field)) {
            return failure(reason(field, QStringLiteral("text follows the closing quote")));
        }
        return text;
    }

    Result<bool> readFlag(int field)
    {
        if (!startField()) {
            return failure(missing(field));
        }
        const QStringView rest = m_text.mid(m_pos);
        bool flagValue = false;
        if (rest.startsWith(TrueFlag)) {
            flagValue = true;
            m_pos += TrueFlag.size();
        } else if (rest.startsWith(FalseFlag)) {
            m_pos += FalseFlag.size();
        } else {
            return failure(reason(field, QStringLiteral("not #TRUE# or #FALSE#")));
        }
        if (!endField(field)) {
            return failure(reason(field, QStringLiteral("not #TRUE# or #FALSE#")));
        }
        return flagValue;
    }

private:
    QChar peek() const { return m_text.at(m_pos); }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(peek())) {
            ++m_pos;
        }
    }

    // Skips the blanks before a field; false where the field holds nothing.
    bool startField()
    {
        skipBlanks();
        return !atFieldEnd();
    }

    // Where a field holds nothing: the comma of the next field, a line break or the end.
    bool atFieldEnd() const { return m_pos >= m_text.size() || peek() == QLatin1Char(',') || isLineBreak(peek()); }

    // Skips the blanks after a field's value and its delimiter. A field before the last one must
    // be followed by a comma; a line break or the end there is found as the next field missing.
    // The last field ends at a comma, a line break or the end.
    bool endField(int field)
    {
        skipBlanks();
        if (field == SettingsLine::FieldCount) {
            return atFieldEnd();
        }
        if (m_pos < m_text.size() && peek() == QLatin1Char(',')) {
            ++m_pos;
            return true;
        }
        return m_pos >= m_text.size() || isLineBreak(peek());
    }

    static QString reason(int field, const QString &what)
    {
        return QStringLiteral("field %1 (%2): %3").arg(field).arg(QLatin1String(Fields[field - 1].name), what);
    }

    static QString missing(int field) { return reason(field, QStringLiteral("missing")); }

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

namespace SettingsLine {

QString encode(const AppSettings &settings)
{
    QString line;
    for (const FieldEntry &field : Fields) {
        if (!line.isEmpty()) {
            line += QLatin1Char(',');
        }
        line += std::visit(
            Overloaded{
                [&settings]<class Number>(Number AppSettings::*member) { return QString::number(settings.*member); },
                [&settings](QString AppSettings::*member) { return quoted(settings.*member); },
                [&settings](bool AppSettings::*member) { return flag(settings.*member); },
            },
            field.member);
    }
    return line + QLatin1String("\r\n");
}

Result<AppSettings, SettingsDecodeError> decode(QStringView text)
{
    AppSettings settings;
    FieldReader reader(text);
    QString error;
    // Gives the value read to `target`, or keeps the reason it could not be read.
    const auto take = [&error]<class Value, class Target>(Result<Value> read, Target &target) {
        if (!read) {
            error = read.error();
            return false;
        }
        target = Target(*std::move(read));
        return true;
    };

    // Each field takes its value only once it has been read whole, so a failure leaves the
    // fields before it as read and the rest at their defaults.
    for (const FieldEntry &entry : Fields) {
        const int field = int(entry.field);
        const bool read =
            std::visit(Overloaded{
                           // Numbers: 32-bit and, for the mode, 16-bit signed integers.
                           [&]<class Number>(Number AppSettings::*member) {
                               using Limits = std::numeric_limits<Number>;
                               return take(reader.readNumber(field, Limits::min(), Limits::max()), settings.*member);
                           },
                           [&](QString AppSettings::*member) { return take(reader.readText(field), settings.*member); },
                           [&](bool AppSettings::*member) { return take(reader.readFlag(field), settings.*member); },
                       },
                entry.member);
        if (!read) {
            return failure(SettingsDecodeError{settings, entry.field, error});
        }
    }
    return settings;
}

} // namespace SettingsLine
