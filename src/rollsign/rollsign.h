#pragma once

#include "rollsign/filelist.h"

#include <QString>

#include <optional>

// The roll sign's state and rules, free of widgets: the folder setting `DesiMakuPath`, the
// stepping position `DesiMakuIndex` and the file list `File1`. Its operations decide which face
// file is to be shown; the caller loads it and shows it (or, when loading fails, keeps the face it
// has: every failure after the separator step ends quietly).
//
// The folder and the position are independent: switching the folder keeps the position, and the
// keypad jump shows a face without moving the position.
class RollSign
{
public:
    // The platform's folder separator as the setting uses it: "\" on Windows, "/" elsewhere.
    static QChar separator();

    QString DesiMakuPath() const { return m_desiMakuPath; }
    void setDesiMakuPath(const QString &path) { m_desiMakuPath = path; }
    int DesiMakuIndex() const { return m_desiMakuIndex; }

    FileList &File1() { return m_file1; }
    const FileList &File1() const { return m_file1; }

    // Points `File1` at `DesiMakuPath`. Nothing else changes, whatever the result.
    FileList::SetPathResult switchFolder();

    // Appends the separator to `DesiMakuPath` when it does not end in one (an empty setting
    // becomes the separator alone). Every key in the sign box and the keypad jump do this first.
    void ensureTrailingSeparator();

    // A key pressed in the sign box: the separator step, then Up and Down move the
    // position by one (no wrap-around; Down stops only where the position equals the last one)
    // before the face is looked up. Returns the face file to show, or nothing.
    std::optional<QString> keyDown(int keyCode);

    // The face a folder shows first, once `File1` lists it: the first entry of the list, in
    // `DesiMakuPath` with the separator added where it has none (the setting itself is left as it
    // is). Nothing when the list is empty.
    std::optional<QString> firstFace() const;

    // The keypad jump to the position typed in `display` (digits; empty means 0): the separator
    // step, then the face file at that position, or nothing when the number exceeds 32767 or the
    // list has no such entry. The position is left alone.
    std::optional<QString> jump(const QString &display);

private:
    std::optional<QString> faceAt(int index) const;

    QString m_desiMakuPath;
    int m_desiMakuIndex = 0;
    FileList m_file1;
};
