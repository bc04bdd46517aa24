#pragma once
// Writes a tree back as text: CR LF line ends, one TAB per level, no declaration.
#include <string>

class CXmlNode;

/// The UTF-16 text of node and everything below it (for a document: its
/// children at level 0). Text and attribute values are escaped; an element
/// whose only child is text is written on one line.
std::u16string WriteXmlDocument(const CXmlNode* node);
