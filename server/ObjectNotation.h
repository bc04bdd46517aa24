#pragma once
// Reading and editing the object notation of a profile document
// (<Object Class="..." Name="...">text</Object>). Element, class and member
// names compare ignoring case, as the client writes them either way.
#include <pugixml.hpp>

#include <string>

namespace corvanta::server {

// The first <Object> child of parent with that class and member name; a null
// class or name matches any. A null node when there is none.
pugi::xml_node FindObject(pugi::xml_node parent, const char* className, const char* memberName);

// The object's text: its first non-empty text or CDATA child, "" when none.
std::string ObjectText(pugi::xml_node object);

// Replaces the object's text (the child ObjectText reads), or gives it one;
// a null node is left alone.
void SetObjectText(pugi::xml_node object, const std::string& value);

// Whether the object is marked isPrivateFlag="true".
bool IsPrivateObject(pugi::xml_node object);

// a and b equal, ASCII letters ignoring case.
bool EqualsIgnoringCase(const char* a, const char* b);

}  // namespace corvanta::server
