#include "client/ui/app/AppText.h"

namespace {
const char* InterimString(unsigned id)
{
    switch (id) {
    case AppText::kWelcome:
        return "Welcome to Corvanta BETA version %s.  This is an early BETA of our product.  We're counting on "
               "you to let us know about any problems that you encounter so that we may quickly address "
               "issues.  \n\r\n\rPlease send bug reports and product suggestions to "
               "feedback@corvanta.example.";
    default:
        return "";
    }
}
} // namespace

std::string FormatResourceString(unsigned id, const std::string& argument)
{
    std::string text = InterimString(id);
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
