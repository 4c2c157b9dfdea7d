#include "platform/qtopenfiledialog.h"

#include <QFileDialog>

QString qtNameFilter(const QString &filter)
{
    const QString trimmed = filter.trimmed();
    if (trimmed.endsWith(QLatin1Char(')')) && trimmed.contains(QLatin1Char('('))) {
        return trimmed;
    }
    QStringList patterns = trimmed.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &pattern : patterns) {
        pattern = pattern.trimmed();
    }
    return trimmed + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QString QtOpenFileDialog::getOpenFileName(QWidget *parent, const QStringList &nameFilters)
{
    QStringList filters;
    for (const QString &filter : nameFilters) {
        filters << qtNameFilter(filter);
    }
    // No title and no folder: the dialog shows its own default title and starts where the system
    // starts it. The bracketed patterns are hidden so that a bare list reads as it was given.
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.first());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}
