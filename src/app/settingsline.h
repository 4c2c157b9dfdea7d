#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Everything the program keeps between runs, as the one line of its settings file holds it, in the
// order of the line's sixteen fields. Positions are twips: the two windows' outer (frame) places
// in screen coordinates, the signboard's place in the bus window's client area.
struct AppSettings
{
    std::int32_t formLeft = 0; // 1
    std::int32_t formTop = 0; // 2
    std::int32_t panelLeft = 0; // 3
    std::int32_t panelTop = 0; // 4
    QString desiMakuPath; // 5  the roll-sign folder
    QString reservedText; // 6  carried from run to run, used by nothing
    std::int32_t reservedNumber1 = 0; // 7
    std::int32_t reservedNumber2 = 0; // 8
    QString kanbanPath; // 9  the signboard picture file
    std::int32_t kanbanLeft = 0; // 10
    std::int32_t kanbanTop = 0; // 11
    bool kanbanShown = false; // 12
    bool frameShown = false; // 13
    std::int32_t frontSpeed = 0; // 14
    std::int32_t middleSpeed = 0; // 15
    std::int16_t middleDoorMode = 0; // 16

    bool operator==(const AppSettings &) const = default;
};

// What reading a line gave: the fields read in order up to the first one that failed.
struct SettingsDecodeResult
{
    // The fields read before a failure hold their values, the others their defaults.
    AppSettings settings;
    // How many fields were read, 0 to FieldCount. Field n (counted from 1) was read if n <= fieldsRead.
    int fieldsRead = 0;
    // Why the field after the last one read failed; empty when the whole line was read.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// The settings line: one line of sixteen comma-separated fields ended by CR LF. Numbers are
// decimal digits with a leading "-" when negative; texts stand between double quotes, a double
// quote inside a text doubled; flags are "#TRUE#" and "#FALSE#". Pure text in, text out: where
// the file is and how it is encoded is the store's business.
namespace SettingsLine {

constexpr int FieldCount = 16;

// The line for the given settings, CR LF included.
QString encode(const AppSettings &settings);

// Reads the sixteen fields from the start of `text`, strictly: a missing field, a field not of
// its form (number, quoted text or flag) or a number that does not fit its type ends the reading
// there. Spaces and tabs around a field are skipped; a quoted text may span line breaks. The
// sixteenth field ends at a comma, a line break or the end of the text, and nothing after that is
// looked at. Takes any text without crashing, in time linear in its length.
SettingsDecodeResult decode(QStringView text);

} // namespace SettingsLine
