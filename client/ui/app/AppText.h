#pragma once
// Texts of the string table as the application's windows show them.
#include "client/resources/StringTable.h"

#include <QString>

#include <string>

/// A string-table text as a label shows it: the table's "\n\r" line breaks as "\n".
QString DisplayText(const std::string& text);
