// Fuzz target for the settings line reader. For any input:
//  - decoding never crashes or hangs, and a failure names one of the sixteen fields;
//  - a line that decodes whole is written back as a line that decodes to the same settings;
//  - settings built from the bytes (texts with quotes, commas, line breaks, lone surrogates, any
//    numbers) are written as a line that decodes back to exactly those settings.
#include "settings/settingsline.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Takes values from the front of the input, giving zeros once it runs out.
class Bytes
{
public:
    Bytes(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    template <class Integer> Integer integer()
    {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(Integer); ++i) {
            bits = (bits << 8) | byte();
        }
        return Integer(bits);
    }

    // A text of up to 31 UTF-16 units; small unit values stand for the characters that matter to
    // the line's form, so that they turn up often.
    QString text()
    {
        static const char16_t Special[] = {u'"', u',', u'\r', u'\n', u'#', u' ', u'\t', u'\0'};
        QString result;
        const int length = byte() % 32;
        for (int i = 0; i < length; ++i) {
            const auto unit = integer<std::uint16_t>();
            result += QChar(unit < 8 ? Special[unit] : unit);
        }
        return result;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void checkDecode(const QString &text)
{
    const auto result = SettingsLine::decode(text);
    if (!result) {
        const int field = int(result.error().field);
        require(field >= 1 && field <= SettingsLine::FieldCount);
        return;
    }
    const QString line = SettingsLine::encode(*result);
    const auto again = SettingsLine::decode(line);
    require(again.ok() && *again == *result);
    require(SettingsLine::encode(*again) == line);
}

void checkRoundTrip(const std::uint8_t *data, std::size_t size)
{
    Bytes bytes(data, size);
    AppSettings settings;
    settings.formLeft = bytes.integer<std::int32_t>();
    settings.formTop = bytes.integer<std::int32_t>();
    settings.panelLeft = bytes.integer<std::int32_t>();
    settings.panelTop = bytes.integer<std::int32_t>();
    settings.desiMakuPath = bytes.text();
    settings.reservedText = bytes.text();
    settings.reservedNumber1 = bytes.integer<std::int32_t>();
    settings.reservedNumber2 = bytes.integer<std::int32_t>();
    settings.kanbanPath = bytes.text();
    settings.kanbanLeft = bytes.integer<std::int32_t>();
    settings.kanbanTop = bytes.integer<std::int32_t>();
    settings.kanbanShown = bytes.byte() & 1;
    settings.frameShown = bytes.byte() & 1;
    settings.frontSpeed = bytes.integer<std::int32_t>();
    settings.middleSpeed = bytes.integer<std::int32_t>();
    settings.middleDoorMode = bytes.integer<std::int16_t>();

    const auto result = SettingsLine::decode(SettingsLine::encode(settings));
    require(result.ok() && *result == settings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The bytes as the file's text, and as raw UTF-16 (which can hold any unit, lone surrogates
    // included).
    checkDecode(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, (size / 2) * 2);
    checkDecode(units);
    checkRoundTrip(data, size);
    return 0;
}
