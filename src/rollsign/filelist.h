#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

// The roll sign's file list `File1`: one folder and the names (without the folder) of its face
// files, those matching *.bmp, *.wmf, *.emf, *.gif, *.jpg and *.jpeg. Matching ignores case on
// every platform, hidden files are left out, and the names are sorted case-insensitively (ties
// broken by the exact text), so a folder always gives the same positions. Positions count from 0.
//
// The list does no file I/O beyond reading the folder once per setPath(); it loads no pictures.
class FileList
{
public:
    enum class Status {
        NotFound, // no folder of that name: nothing there, or a file
        Failed, // any other reason it could not be listed
    };

    // Why a folder could not be listed.
    struct Failure
    {
        Status status = Status::Failed;
        QString description; // the system's description of the failure
    };

    // The number of names listed, or why the folder could not be listed.
    using SetPathResult = Result<int, Failure>;

    // Points the list at `folder` and reads its names afresh. On failure the list keeps its
    // previous folder and names. An empty folder text lists nothing and succeeds.
    SetPathResult setPath(const QString &folder);

    QString path() const { return m_path; }
    int count() const { return int(m_names.size()); }
    const QStringList &names() const { return m_names; }
    // The name at `index`, or an empty text when 0 <= index < count() does not hold.
    QString name(int index) const;

    // True for the names the list takes: a face file extension, in any case.
    static bool matchesPattern(const QString &fileName);

private:
    QString m_path;
    QStringList m_names;
};
