#include "client/ui/app/AppText.h"

QString DisplayText(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.remove(QLatin1Char('\r'));
    return shown;
}
