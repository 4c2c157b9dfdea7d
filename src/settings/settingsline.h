#pragma once

#include "core/result.h"
#include "settings/appsettings.h"

#include <QStringView>

// Why a line could not be read whole, and what was read before that.
struct SettingsDecodeError
{
    // The fields before `field` hold the values read, the others their defaults.
    AppSettings settings;
    // The field that failed.
    SettingsField field = SettingsField::FormLeft;
    // The field's number and name and what was wrong with it: "field 11 (signboard top): ...".
    QString message;

    bool wasRead(SettingsField readField) const { return readField < field; }
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
Result<AppSettings, SettingsDecodeError> decode(QStringView text);

} // namespace SettingsLine
