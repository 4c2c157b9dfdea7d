#pragma once

#include <QString>

class QWidget;

// Modal message boxes with an OK button. Tests replace them, since a real one blocks.
class MessageBoxes
{
public:
    // The title of every message box the program shows; the application's name too.
    static inline const QString DefaultTitle = QStringLiteral("ソラミネ");

    enum class Icon { None, Information, Warning, Critical };

    virtual ~MessageBoxes() = default;

    // Shows the message and returns when the user has closed it.
    virtual void show(QWidget *parent, const QString &title, const QString &text, Icon icon) = 0;
};
