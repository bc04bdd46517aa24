#include "server/ObjectNotation.h"

#include <strings.h>

namespace corvanta::server {

namespace {

bool IsText(pugi::xml_node node)
{
    return (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) && *node.value();
}

}  // namespace

bool EqualsIgnoringCase(const char* a, const char* b)
{
    return strcasecmp(a, b) == 0;
}

pugi::xml_node FindObject(pugi::xml_node parent, const char* className, const char* memberName)
{
    for (pugi::xml_node child : parent.children()) {
        if (child.type() != pugi::node_element || !EqualsIgnoringCase(child.name(), "Object"))
            continue;
        if (className && !EqualsIgnoringCase(child.attribute("Class").value(), className))
            continue;
        if (memberName && !EqualsIgnoringCase(child.attribute("Name").value(), memberName))
            continue;
        return child;
    }
    return {};
}

std::string ObjectText(pugi::xml_node object)
{
    for (pugi::xml_node child : object.children())
        if (IsText(child))
            return child.value();
    return {};
}

void SetObjectText(pugi::xml_node object, const std::string& value)
{
    if (!object)
        return;
    for (pugi::xml_node child : object.children())
        if (IsText(child)) {
            child.set_value(value.c_str());
            return;
        }
    object.prepend_child(pugi::node_pcdata).set_value(value.c_str());
}

bool IsPrivateObject(pugi::xml_node object)
{
    return EqualsIgnoringCase(object.attribute("isPrivateFlag").value(), "true");
}

}  // namespace corvanta::server
