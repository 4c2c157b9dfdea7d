#include "rollsign/rollsign.h"

#include "core/inputcodes.h"

#include <QDir>

#include <limits>

QChar RollSign::separator()
{
    return QDir::separator();
}

FileList::SetPathResult RollSign::switchFolder()
{
    return m_file1.setPath(m_desiMakuPath);
}

void RollSign::ensureTrailingSeparator()
{
    if (!m_desiMakuPath.endsWith(separator())) {
        m_desiMakuPath += separator();
    }
}

std::optional<QString> RollSign::keyDown(int keyCode)
{
    ensureTrailingSeparator();
    if (keyCode == InputCodes::KeyUp) {
        if (m_desiMakuIndex == 0) {
            return std::nullopt;
        }
        --m_desiMakuIndex;
        return faceAt(m_desiMakuIndex);
    }
    if (keyCode == InputCodes::KeyDown) {
        // Equality only: past the end of a shorter list (after a folder switch) or in an empty
        // folder, Down still moves on and finds no face.
        if (m_desiMakuIndex == m_file1.count() - 1 || m_desiMakuIndex == std::numeric_limits<int>::max()) {
            return std::nullopt;
        }
        ++m_desiMakuIndex;
        return faceAt(m_desiMakuIndex);
    }
    return std::nullopt;
}

std::optional<QString> RollSign::jump(const QString &display)
{
    ensureTrailingSeparator();
    int position = 0;
    if (!display.isEmpty()) {
        bool ok = false;
        position = display.toInt(&ok);
        if (!ok || position < std::numeric_limits<qint16>::min() || position > std::numeric_limits<qint16>::max()) {
            return std::nullopt;
        }
    }
    return faceAt(position);
}

std::optional<QString> RollSign::firstFace() const
{
    if (m_file1.count() == 0) {
        return std::nullopt;
    }
    QString folder = m_desiMakuPath;
    if (!folder.endsWith(separator())) {
        folder += separator();
    }
    return folder + m_file1.name(0);
}

std::optional<QString> RollSign::faceAt(int index) const
{
    if (index < 0 || index >= m_file1.count()) {
        return std::nullopt;
    }
    return m_desiMakuPath + m_file1.name(index);
}
