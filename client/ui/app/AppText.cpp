#include "client/ui/app/AppText.h"

#include "client/resources/StringTable.h"

std::string FormatResourceString(unsigned id, const std::string& argument)
{
    std::string text = LoadResourceString(id);
    if (const auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

QString DisplayText(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.remove(QLatin1Char('\r'));
    return shown;
}
